#include "game/screens/TitleScreen.h"

#include "framework/display/Font.h"
#include "framework/display/Graphics.h"
#include "framework/display/Image.h"
#include "game/ui/UiServices.h"

namespace Quoll
{

TitleScreen::TitleScreen(int artLanguage) : mArtLanguage(artLanguage), mPrompt(Ui().GetText("UI_CLICK_CONTINUE")) {}

void TitleScreen::Attach(WidgetLink* link)
{
    UiServices& ui = Ui();
    Resize(0, 0, ui.GetAppWidth(), ui.GetAppHeight());
    mBackgroundImage = ui.GetImageNamed("IMAGE_SPLASH");
    mLogoImage = ui.GetImageNamed(mArtLanguage == 0 ? "IMAGE_LOGO_EN" : "IMAGE_LOGO_ALT");
    QuollWidget::Attach(link);
}

void TitleScreen::KeyDown(int)
{
    SendToLink(kCommandContinue, 0);
}

void TitleScreen::MouseDown(int, int, int, int)
{
    SendToLink(kCommandContinue, 0);
}

void TitleScreen::Draw(Quoll::Graphics* g)
{
    UiServices& ui = Ui();
    g->SetColor(Quoll::Color::White);
    if (mBackgroundImage != nullptr)
        g->DrawImage(mBackgroundImage, 0, 0, mWidth, mHeight);
    if (mLogoImage != nullptr)
        g->DrawImage(mLogoImage, (mWidth - mLogoImage->mWidth) / 2, kLogoY);
    if (Quoll::Image* badge = ui.GetImageNamed("IMAGE_PROFHEAD"))
        g->DrawImage(badge, kBadgeX, kBadgeY);
    Quoll::Font* font = ui.GetFontNamed("FONT_FNT1");
    if (!showPrompt || font == nullptr)
        return;
    g->SetFont(font);
    g->SetImageTint(true);
    const int x = (mWidth - font->StringWidth(mPrompt)) / 2;
    const int y = mHeight - kPromptOffsetFromBottom;
    g->SetColor(Quoll::Color(0, 0, 0, 255));
    g->DrawString(mPrompt, x + kShadowOffset, y + kShadowOffset);
    g->SetColor(Quoll::Color(42, 189, 52));
    g->DrawString(mPrompt, x, y);
    g->SetImageTint(false);
}
} // namespace Quoll
