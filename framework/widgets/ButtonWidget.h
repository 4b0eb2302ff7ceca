#pragma once
// A push button: a label in a font of its own (a copy), optional normal, over, down and disabled
// images, and a colour table. A press and release over the button gives its listener one
// ButtonRelease with the button's id; the over image fades in and out when speeds are set.
#include "framework/app/ButtonListener.h"
#include "framework/display/Font.h"
#include "framework/widgets/Widget.h"

#include <memory>
#include <string>

namespace Quoll
{
class Image;

class ButtonWidget : public Widget
{
public:
    enum ColorIndex
    {
        kColorLabel = 0,
        kColorLabelOver = 1,
        kColorDarkOutline = 2,
        kColorLightOutline = 3,
        kColorMediumOutline = 4,
        kColorBackground = 5,
    };

    ButtonWidget(int id, ButtonListener* listener);

    // Keeps a copy of the font; null removes it.
    void SetFont(const Font* font);
    [[nodiscard]] Font* GetFont() const { return mFont.get(); }
    void SetLabel(const std::wstring& label);
    // Whether a state is drawn with an image.
    [[nodiscard]] bool HasImages() const { return mButtonImage != nullptr || mOverImage != nullptr; }

    void SetDisabled(bool disabled) override;
    void Draw(Graphics* g) override;
    void Update() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseMove(int x, int y) override;
    using Widget::MouseDown;
    using Widget::MouseUp;
    void MouseDown(int x, int y, int button, int clickCount) override;
    void MouseUp(int x, int y, int button, int clickCount) override;
    // Draws one state image; buttons that stretch or cut their images override it.
    virtual void DrawButtonImage(Graphics* g, Image* image, const Rect& sourceRect, int x, int y);

    int mId;
    ButtonListener* mListener;
    std::wstring mLabel;
    // Images are not owned; the source rectangles default to the whole image.
    Image* mButtonImage = nullptr;
    Image* mOverImage = nullptr;
    Image* mDownImage = nullptr;
    Image* mDisabledImage = nullptr;
    Rect mNormalRect, mOverRect, mDownRect, mDisabledRect;
    // Nothing of the button's look is drawn (an invisible hot area).
    bool mNoDraw = false;
    // Without images the button is its label alone, with no bevelled frame.
    bool mDrawnWithoutImages = false;
    // The over image's opacity (0 to 1) and its change per update; 0 switches at once.
    double mOverAlpha = 0;
    double mOverAlphaFadeInSpeed = 0;
    double mOverAlphaFadeOutSpeed = 0;
    // Label offset from the centre, and the shift of label and frame while held down.
    int mLabelOffsetX = 0;
    int mLabelOffsetY = 0;

protected:
    [[nodiscard]] bool IsPressed() const { return mIsDown && mIsOver && !mDisabled; }
    void DrawLabel(Graphics* g, int shiftX, int shiftY);
    void DrawFrame(Graphics* g);
    void DrawStateImage(Graphics* g, Image* image, const Rect& sourceRect, int x, int y);

private:
    std::unique_ptr<Font> mFont;
};
} // namespace Quoll
