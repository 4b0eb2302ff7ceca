#include "game/screens/MainMenu.h"

#include "framework/display/Font.h"
#include "framework/display/Graphics.h"
#include "framework/display/Image.h"
#include "framework/platform/system/Utf8.h"
#include "game/scene/VisualNode.h"
#include "game/screens/MainMenuServices.h"
#include "game/ui/Button.h"
#include "game/ui/GameColors.h"
#include "game/ui/UiServices.h"

#include <algorithm>

namespace Quoll
{

namespace
{
const Quoll::Color kProfileColour0(191, 246, 198);
const Quoll::Color kProfileColour1(112, 232, 255);
const Quoll::Color kCursorSwitchOnColour(160, 160, 255, 120);
constexpr const char* kInterfaceArtPath = "data/art/textures/interface/";

// The buttons' places, top to bottom; the quit button stands apart from the others.
constexpr std::array<int, 5> kButtonY = {195, 237, 279, 321, 413};
constexpr std::array<int, 5> kButtonIds = {MainMenu::kPlay, MainMenu::kSettings, MainMenu::kHighScores,
                                           MainMenu::kCredits, MainMenu::kQuit};
constexpr std::array<const char*, 5> kButtonKeys = {"UI_PLAY_GAME", "UI_SETTINGS", "UI_HIGH_SCORE", "UI_CREDITS",
                                                    "UI_QUIT"};
} // namespace

int MainMenu::sCursorSwitchClicks = 0;

MainMenu::MainMenu(MainMenuServices& services)
    : mServices(services), mCursorSwitchGlow(services.GetCustomCursors() ? 0.0f : 1.0f)
{
}

MainMenu::~MainMenu() = default;

Quoll::Rect MainMenu::ProfileHintRect(int screenWidth)
{
    const Quoll::Rect place(750, 210, 276, 100);
    return Quoll::Rect(place.x, place.y, std::clamp(screenWidth - place.x, 0, place.width), place.height);
}

Quoll::Button* MainMenu::MakeButton(int id, const std::string& labelKey, const Quoll::Color& colour0,
                                    const Quoll::Color& colour1)
{
    auto* button = new Quoll::Button(id, labelKey, this, nullptr, nullptr, Ui().GetFontNamed("FONT_FNT1"));
    button->SetColor(0, colour0);
    button->SetColor(1, colour1);
    AddWidget(button);
    return button;
}

void MainMenu::Attach(WidgetLink* link)
{
    UiServices& ui = Ui();
    if (!ui.LoadResourceGroup(kGroup))
        return;
    for (size_t i = 0; i < mMenuButtons.size(); ++i)
        mMenuButtons[i] = MakeButton(kButtonIds[i], kButtonKeys[i], ColorMenuA, ColorMenuB);
    mProfileButton = MakeButton(kProfile, "", kProfileColour0, kProfileColour1);
    UpdateProfileName();
    Resize(0, 0, ui.GetAppWidth(), ui.GetAppHeight());
    QuollWidget::Attach(link);
    Quoll::Image* pipette = ui.GetImageNamed("IMAGE_PIPETKA");
    mCursorSwitchRect = Quoll::Rect(386, 546, pipette != nullptr ? pipette->mWidth : 0,
                                    pipette != nullptr ? pipette->mHeight : 0);
    mProfileArrow.Setup(ui.GetImageNamed("IMAGE_STRELKA_PROFILE"), 790.0f, 117.0f, 898.0f, 190.0f, 30.0f);
}

void MainMenu::Detach()
{
    mServices.KillAllParticles();
    QuollWidget::Detach();
    mMenuButtons.fill(nullptr);
    mProfileButton = nullptr;
    mLogoNode.reset();
    Ui().UnloadResourceGroup(kGroup);
}

Quoll::Button* MainMenu::GetButton(int command) const
{
    if (command == kProfile)
        return mProfileButton;
    for (size_t i = 0; i < kButtonIds.size(); ++i)
        if (kButtonIds[i] == command)
            return mMenuButtons[i];
    return nullptr;
}

void MainMenu::UpdateProfileName()
{
    if (mProfileButton != nullptr)
        mProfileButton->SetLabel(Quoll::Platform::Utf8ToWide(mServices.GetProfileName()));
}

void MainMenu::RefreshLabels()
{
    UpdateProfileName();
    for (Quoll::Widget* child : GetWidgets())
        if (auto* button = dynamic_cast<Quoll::Button*>(child))
            button->UpdateLabel();
    Resize(0, 0, Ui().GetAppWidth(), Ui().GetAppHeight());
}

void MainMenu::Resize(int x, int y, int width, int height)
{
    QuollWidget::Resize(x, y, width, height);
    if (mMenuButtons[0] == nullptr)
        return;
    const int buttonHeight = mMenuButtons[0]->GetNaturalHeight() + 4;
    for (size_t i = 0; i < mMenuButtons.size(); ++i)
        mMenuButtons[i]->Resize(kButtonX, kButtonY[i], kButtonWidth, buttonHeight);
    mProfileButton->Resize(760, 170, 268, mProfileButton->GetNaturalHeight());
    LoadLogo();
    mProfileHintAlpha = 0.2f;
    mProfileHovered = true;
}

void MainMenu::LoadLogo()
{
    mLogoNode.reset();
    const bool first = mServices.GetArtLanguage() == 0;
    const std::string path = std::string(kInterfaceArtPath) + "logo_" + (first ? "en" : "alt") + ".mesh";
    mLogoNode = mServices.LoadMeshNode(path, kLogoScale);
    if (mLogoNode)
        mLogoNode->SetPosition(FloatPoint{first ? 240.0f : 250.0f, 0.0f});
}

void MainMenu::Update()
{
    MarkDirty();
    const float dt = Ui().GetFrameTime();
    if (mLogoNode)
        mLogoNode->Update(dt);
    mServices.UpdateParticles(dt);

    const bool over = mProfileButton != nullptr && mProfileButton->mIsOver;
    if (over != mProfileHovered)
    {
        if (over)
        {
            mProfileHintAlpha = std::max(mProfileHintAlpha, 0.5f);
            Ui().PlaySoundNamed("SOUND_PROFILE_OVER");
        }
        mProfileHovered = over;
    }
    if (mProfileHintAlpha > 0.0f)
    {
        if (mProfileHovered)
            mProfileHintAlpha = std::min(mProfileHintAlpha + dt, 1.0f);
        else
        {
            mProfileHintAlpha -= dt / 3.0f;
            // The last of the hint goes faster.
            if (mProfileHintAlpha < 0.3f)
                mProfileHintAlpha -= dt * 0.5f;
            mProfileHintAlpha = std::max(mProfileHintAlpha, 0.0f);
        }
    }
    mProfileArrow.SetAlpha(static_cast<int>(mProfileHintAlpha * 255.0f));
    mProfileArrow.Update(dt);
    mCursorSwitchGlow = std::max(mCursorSwitchGlow - dt, 0.0f);
    mServices.UpdateAchievementPopup(dt);
}

void MainMenu::Draw(Quoll::Graphics* g)
{
    UiServices& ui = Ui();
    g->SetColor(Quoll::Color::White);
    if (Quoll::Image* background = ui.GetImageNamed("IMAGE_MAIN_MENU_BACKGROUND"))
        g->DrawImage(background, 0, 0, mWidth, mHeight);
    if (mLogoNode)
        mLogoNode->Draw(g);
    Quoll::Font* font = ui.GetFontNamed("FONT_FNT1");
    if (mProfileHintAlpha > 0.0f && font != nullptr)
    {
        g->SetColor(Quoll::Color(255, 221, 0, static_cast<int>(mProfileHintAlpha * 255.0f)));
        g->SetFont(font);
        g->DrawWordWrapped(ProfileHintRect(mWidth), ui.GetText("UI_PROFILEHINT"), font->GetLineSpacing(), 0);
    }
    DrawCursorSwitch(g);
    mProfileArrow.Draw(g);
    DeferOverlay(kOverlayPriority);
}

void MainMenu::DrawOverlay(Quoll::Graphics* g)
{
    mServices.DrawParticles(g);
    mServices.DrawAchievementPopup(g);
}

void MainMenu::DrawCursorSwitch(Quoll::Graphics* g)
{
    Quoll::Image* pipette = Ui().GetImageNamed("IMAGE_PIPETKA");
    const Quoll::Rect& r = mCursorSwitchRect;
    const bool custom = mServices.GetCustomCursors();
    if (pipette != nullptr)
    {
        g->SetImageTint(true);
        // The plain (nearest-pixel) stretch; both stretches honour the tint, and the 2D path's
        // draw the glow below without the additive mode.
        g->SetFastStretch(true);
        g->SetColor(custom ? kCursorSwitchOnColour : Quoll::Color::White);
        // Under the pointer the picture grows with system cursors and shrinks with image cursors.
        const int d = mCursorSwitchHover ? (custom ? -10 : 10) : 0;
        const int e = d / 3;
        g->DrawImage(pipette, r.x - d, r.y - e, r.width + 2 * d, r.height + 2 * e);
        if (mCursorSwitchGlow > 0.0f)
        {
            // The glow swells to 30 pixels wider on each side while it fades.
            g->SetDrawMode(Quoll::DrawMode::Additive);
            const int a = static_cast<int>(mCursorSwitchGlow * 255.0f);
            g->SetColor(Quoll::Color(a, a, a, a / 2));
            const int dg = static_cast<int>((1.0f - mCursorSwitchGlow) * 30.0f);
            const int eg = dg / 3;
            g->DrawImage(pipette, r.x - dg, r.y - eg, r.width + 2 * dg, r.height + 2 * eg);
            g->SetDrawMode(Quoll::DrawMode::Normal);
        }
        g->SetFastStretch(false);
        g->SetImageTint(false);
    }
    Quoll::Font* font = Ui().GetFontNamed("FONT_FNT1");
    if (!mCursorSwitchHover || font == nullptr)
        return;
    const std::wstring hint = Ui().GetText("HINT_CURSOR_SWITCH");
    g->SetFont(font);
    g->SetColor(Quoll::Color(0, 0, 0, 120));
    g->DrawStringWordWrapped(hint, 241, 697, 500, 0);
    g->SetColor(ColorHint);
    g->DrawStringWordWrapped(hint, 240, 695, 500, 0);
}

void MainMenu::GotFocus()
{
    mProfileHintAlpha = 1.0f;
    mProfileHovered = true;
    mCursorSwitchGlow = mServices.GetCustomCursors() ? 0.0f : 1.0f;
}

void MainMenu::LostFocus()
{
    mProfileHintAlpha = 0.0f;
    // A dialog over the menu takes the pointer's moves: the cursor switch's hint must not stay.
    mCursorSwitchHover = false;
}

void MainMenu::MouseLeave()
{
    mCursorSwitchHover = false;
}

void MainMenu::KeyDown(int keyCode)
{
    if (keyCode == kKeyEnter)
        SendToLink(kPlay, 0);
    else if (keyCode == kKeyEscape)
        SendToLink(kQuit, 0);
}

bool MainMenu::InCursorSwitch(int x, int y) const
{
    const Quoll::Rect& r = mCursorSwitchRect;
    return x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
}

void MainMenu::MouseMove(int x, int y)
{
    mCursorSwitchHover = InCursorSwitch(x, y);
}

void MainMenu::MouseDown(int x, int y, int, int)
{
    if (!mCursorSwitchHover || !InCursorSwitch(x, y))
        return;
    mServices.OnAchievementEvent(kAchievementCursorSwitch);
    mServices.SetCustomCursors(!mServices.GetCustomCursors());
    Ui().PlaySoundNamed("SOUND_BUTTON_SELECT");
    mCursorSwitchGlow = 1.0f;
    if (++sCursorSwitchClicks >= kSaluteClicks)
        Salute();
}

void MainMenu::Salute()
{
    UiServices& ui = Ui();
    ui.PlaySoundNamed("SOUND_SALUT");
    ui.PlaySound(kFirstRandomSound + ui.RandInt(kRandomSoundCount), 1.0f, 0.0f);
    sCursorSwitchClicks = 0;
    for (int i = 0; i < kFireworksBursts; ++i)
    {
        const int x = ui.RandInt(ui.GetAppWidth());
        const int y = ui.RandInt(ui.GetAppHeight());
        mServices.SpawnParticleSystem(kFireworksSystem, static_cast<float>(x), static_cast<float>(y));
    }
}

void MainMenu::ButtonRelease(int id)
{
    mProfileHintAlpha = 0.0f;
    SendToLink(id, 0);
}
} // namespace Quoll
