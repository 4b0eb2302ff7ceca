#pragma once
// ComicsViewer: a picture story shown page by page, each picture centred on black with its
// caption under it. Any key (held keys and modifiers aside), a click or the next button fades
// the page out in a third of a second and shows the next; the last page's next button reads
// "continue" and one more request ends the comic. Escape and the skip button end it at once.
// The end is command 0 to the owning state.
#include "framework/app/ButtonListener.h"
#include "game/screens/ComicPage.h"
#include "game/ui/QuollWidget.h"

namespace Quoll
{
class Button;
class ComicsViewer : public QuollWidget, public ButtonListener
{
public:
    static constexpr int kCommandDone = 0;
    static constexpr int kSkipButtonId = 0;
    static constexpr int kNextButtonId = 1;
    // The page states.
    static constexpr int kShowing = 0;
    static constexpr int kFading = 1;
    static constexpr int kLastPage = 2;
    // The key code of a mouse click.
    static constexpr int kClickKey = 1;

    // false: the opening comic; true: the final one.
    explicit ComicsViewer(bool finalComic);

    void Attach(WidgetLink* link) override;
    void Detach() override;
    void Resize(int x, int y, int width, int height) override;
    void Update() override;
    void Draw(Graphics* g) override;
    void KeyDown(int keyCode) override;
    void KeyUp(int keyCode) override;
    using QuollWidget::MouseDown;
    void MouseDown(int x, int y, int button, int clickCount) override;
    void ButtonPress(int /*id*/) override {}
    void ButtonRelease(int id) override;

    [[nodiscard]] const ComicPage* GetCurrentPage() const { return mCurrentPage; }
    [[nodiscard]] int GetPageState() const { return mPageState; }
    [[nodiscard]] float GetPageFade() const { return mPageFade; }
    [[nodiscard]] Button* GetSkipButton() const { return mSkipButton; }
    [[nodiscard]] Button* GetNextButton() const { return mNextButton; }

private:
    void TurnPage();

    Button* mSkipButton = nullptr;
    Button* mNextButton = nullptr;
    int mHeldKey = 0;
    int mPageState = kShowing;
    float mPageFade = 0;
    bool mAdvanceRequested = false;
    const ComicPage* mCurrentPage;
};
} // namespace Quoll
