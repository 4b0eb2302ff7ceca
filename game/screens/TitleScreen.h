#pragma once
// TitleScreen: the title picture with the logo of the art language, shown while the start-up
// resources load. Once the start-load state tells it that loading is done it shows the localised
// prompt to click and continue. Any key or mouse press sends command 1, prompt or not: the
// state decides whether it is time to move on.
#include "game/ui/QuollWidget.h"

#include <string>

namespace Quoll
{
class Image;
}

namespace Quoll
{
class TitleScreen final : public QuollWidget
{
public:
    static constexpr int kCommandContinue = 1;
    // The profile badge's place on the title picture.
    static constexpr int kBadgeX = 425;
    static constexpr int kBadgeY = 177;
    static constexpr int kLogoY = 1;
    // The prompt's baseline lies this far above the bottom of the widget.
    static constexpr int kPromptOffsetFromBottom = 50;
    static constexpr int kShadowOffset = 2;

    // artLanguage 0 shows the first language's logo, any other the alternative one.
    explicit TitleScreen(int artLanguage);

    // Drawn once the start-up loading has finished; false at construction.
    bool showPrompt = false;

    void Attach(WidgetLink* link) override;

    using Quoll::Widget::MouseDown;
    void Update() override { MarkDirty(); }
    void KeyDown(int keyCode) override;
    void MouseDown(int x, int y, int button, int clickCount) override;
    void Draw(Quoll::Graphics* g) override;

    [[nodiscard]] Quoll::Image* GetLogoImage() const { return mLogoImage; }

private:
    int mArtLanguage;
    Quoll::Image* mBackgroundImage = nullptr;
    Quoll::Image* mLogoImage = nullptr;
    std::wstring mPrompt;
};
} // namespace Quoll
