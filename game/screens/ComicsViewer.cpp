#include "game/screens/ComicsViewer.h"

#include "framework/display/Font.h"
#include "framework/display/Graphics.h"
#include "game/shell/SharedFonts.h"
#include "game/ui/Button.h"
#include "game/ui/GameColors.h"
#include "game/ui/UiServices.h"

namespace Quoll
{
namespace
{
constexpr int kKeyEscape = 27;
constexpr int kKeyShift = 16;
constexpr int kKeyControl = 17;
constexpr int kKeyAlt = 18;
constexpr float kFadeSpeed = 3.0f; // a third of a second

Button* MakeButton(int id, const std::string& key, ButtonListener* listener,
                   const std::string& image)
{
    UiServices& ui = Ui();
    auto* button = new Button(id, key, listener, ui.GetImageNamed(image),
                              ui.GetImageNamed(image + "_OVER"), ButtonFont);
    button->SetColor(ButtonWidget::kColorLabel, ColorLabel);
    button->SetColor(ButtonWidget::kColorLabelOver, ColorLabelOver);
    return button;
}
} // namespace

ComicsViewer::ComicsViewer(bool finalComic)
    : mCurrentPage(finalComic ? FinalComicPages : OpeningComicPages)
{
}

void ComicsViewer::Attach(WidgetLink* link)
{
    UiServices& ui = Ui();
    if (!ui.LoadResourceGroup("Comics")) return;
    mNextButton = MakeButton(kNextButtonId, "UI_NEXT", this, "IMAGE_BTN2");
    AddWidget(mNextButton);
    mSkipButton = MakeButton(kSkipButtonId, "", this, "IMAGE_BTN1");
    mSkipButton->mIcon = ui.GetImageNamed("IMAGE_KREST");
    mSkipButton->mIconX = 10;
    mSkipButton->mIconY = 10;
    AddWidget(mSkipButton);
    mSkipButton->SetHint("HINT_SKIP_COMICS", 0, 1);
    mSkipButton->mHintOffsetX = -5;
    mSkipButton->mHintOffsetY = 20;
    mSkipButton->mHintJustification = 1;
    mSkipButton->mHintColor = ColorHint;
    Resize(0, 0, ui.GetAppWidth(), ui.GetAppHeight());
    QuollWidget::Attach(link);
    mSkipButton->SetVisible(true);
}

void ComicsViewer::Detach()
{
    const bool attached = mSkipButton != nullptr;
    QuollWidget::Detach();
    mSkipButton = nullptr;
    mNextButton = nullptr;
    if (attached) Ui().UnloadResourceGroup("Comics");
}

void ComicsViewer::Resize(int x, int y, int width, int height)
{
    Widget::Resize(x, y, width, height);
    if (mSkipButton == nullptr) return;
    mSkipButton->Resize(960, 20, 40, 40);
    mNextButton->Resize(780, 710, 240, mNextButton->GetNaturalHeight() - 10);
}

void ComicsViewer::ButtonRelease(int id)
{
    if (id == kSkipButtonId)
        SendToLink(kCommandDone, 0);
    else if (id == kNextButtonId)
        mAdvanceRequested = true;
}

void ComicsViewer::KeyDown(int keyCode)
{
    if (keyCode == kKeyEscape)
    {
        Ui().PlaySoundNamed("SOUND_COMICS_NEXT");
        SendToLink(kCommandDone, 0);
        return;
    }
    if (keyCode == kKeyShift || keyCode == kKeyControl || keyCode == kKeyAlt) return;
    // A held key repeats without turning pages; clicks always turn.
    if (keyCode == mHeldKey && keyCode != kClickKey) return;
    mHeldKey = keyCode;
    mAdvanceRequested = true;
}

void ComicsViewer::KeyUp(int keyCode)
{
    if (keyCode == mHeldKey) mHeldKey = 0;
}

void ComicsViewer::MouseDown(int /*x*/, int /*y*/, int /*button*/, int /*clickCount*/)
{
    KeyDown(kClickKey);
}

void ComicsViewer::Update()
{
    MarkAllDirty();
    const bool requested = mAdvanceRequested;
    mAdvanceRequested = false;
    switch (mPageState)
    {
    case kShowing:
        if (requested)
        {
            mPageFade = 1.0f;
            mPageState = kFading;
            Ui().PlaySoundNamed("SOUND_COMICS_NEXT");
        }
        break;
    case kFading:
        MarkDirty();
        mPageFade -= Ui().GetFrameTime() * kFadeSpeed;
        if (mPageFade < 0) TurnPage();
        break;
    default:
        if (requested) SendToLink(kCommandDone, 0);
        break;
    }
}

void ComicsViewer::TurnPage()
{
    mPageState = kShowing;
    ++mCurrentPage;
    MarkDirty();
    if (mCurrentPage[1].picture != 0) return;
    mPageState = kLastPage;
    if (mNextButton != nullptr)
    {
        mNextButton->SetVisible(true);
        mNextButton->mLabel = Ui().GetText("UI_CONTINUE");
        mNextButton->MarkDirty();
    }
}

void ComicsViewer::Draw(Graphics* g)
{
    UiServices& ui = Ui();
    const int width = ui.GetAppWidth();
    g->SetColor(Color::Black);
    g->FillRect(0, 0, width, ui.GetAppHeight());
    if (mCurrentPage == nullptr || mCurrentPage->picture == 0) return;
    Color color = Color::White;
    if (mPageState == kFading) color.a = static_cast<int>(mPageFade * 255);
    g->SetImageTint(true);
    g->SetColor(color);
    int textWidth = width / 2;
    int textX = 0;
    int textY = 0;
    const std::string name = ComicPictureName(mCurrentPage->picture);
    Image* picture = name.empty() ? nullptr : ui.GetImageNamed(name);
    if (picture != nullptr)
    {
        textWidth = picture->mWidth;
        const int x = (width - picture->mWidth) / 2;
        const int top = x / 3;
        g->DrawImage(picture, x, top);
        textX = x;
        textY = picture->mHeight + 2 * top;
    }
    Font* font = ui.GetFontNamed("FONT_FNT1");
    g->SetFont(font);
    // Without its picture the caption starts at the top, its first line inside the screen.
    if (picture == nullptr && font != nullptr) textY = font->GetAscent();
    g->DrawStringWordWrapped(ui.GetText(mCurrentPage->textKey), textX, textY, textWidth, 0);
    g->SetImageTint(false);
}
} // namespace Quoll
