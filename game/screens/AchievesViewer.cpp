#include "game/screens/AchievesViewer.h"

#include "framework/display/Font.h"
#include "framework/display/Graphics.h"
#include "game/ui/AchieveIcon.h"
#include "game/ui/UiServices.h"

const std::array<int, 40> AchievementDisplayOrder = {
    1,  2,  7,  3,  5,  18, 4,  21, //
    24, 29, 19, 26, 9,  6,  15, 25, //
    22, 10, 11, 12, 13, 14, 16, 30, //
    23, 20, 27, 28, 36, 17, 31, 32, //
    33, 34, 8,  35, 37, 38, 39, 40,
};

namespace Quoll
{
namespace
{
constexpr float kSweepSeconds = 0.4f;
constexpr float kArrivalSeconds = 0.6f;
constexpr float kGridWidth = 840.0f;
constexpr float kGridStep = 120.0f;
constexpr float kFlyInDelay = 0.4f;
constexpr float kIconStagger = 0.01f;
constexpr float kFlyInSeconds = 0.2f;
constexpr float kExitSeconds = 0.5f;
constexpr int kDimAlpha = 220;
const Color kTitleShadow{0x000000, 120};
} // namespace

AchievesViewer::AchievesViewer(AchievesViewerServices& services) : mServices(services) {}

AchievesViewer::~AchievesViewer() = default;

void AchievesViewer::Attach(WidgetLink* link)
{
    UiServices& ui = Ui();
    Resize(0, 0, ui.GetAppWidth(), ui.GetAppHeight());
    QuollWidget::Attach(link);
    mTitle = ui.GetText("HINT_ACHIEVEMENTS");
    Font* font = ui.GetFontNamed("FONT_FNT2");
    const int width = font != nullptr ? font->StringWidth(mTitle) : 0;
    mTitleX = (ui.GetAppWidth() - width) / 2;
    mTitleY = 40;
    mSweepMatrix.LoadIdentity();
    mSweepMatrix.Scale(4.0f, 100.0f);
    mSweepMatrix.RotateDeg(30.0f);
    BuildIcons();
}

void AchievesViewer::BuildIcons()
{
    mIconRoot.DeleteChildren();
    const float left = (static_cast<float>(Ui().GetAppWidth()) - kGridWidth) * 0.5f;
    AchievesViewerServices& services = mServices;
    for (int i = 0; i < kIconCount; ++i)
    {
        const int number = AchievementDisplayOrder.at(static_cast<size_t>(i));
        auto* icon = new AchieveIcon(Ui(), number, [&services] { return services.GetPointer(); });
        icon->SetState(false, true);
        bool isNew = false;
        icon->mAchieved = mServices.IsAchieved(number, isNew);
        icon->mNew = isNew;
        icon->SetPosition({left + kGridStep * static_cast<float>(i % kColumns),
                           kGridStep + kGridStep * static_cast<float>(i / kColumns)});
        icon->SetTarget(true, kCornerX, kCornerY, kFlyInSeconds,
                        kFlyInDelay + kIconStagger * static_cast<float>(i));
        mIconRoot.AddChild(icon);
    }
}

void AchievesViewer::Close()
{
    if (mViewerState != kShown) return;
    mViewerState = kLeaving;
    mStateTime = 0;
    const auto& icons = mIconRoot.GetChildren();
    const float duration = kExitSeconds - kIconStagger * static_cast<float>(icons.size());
    UiServices& ui = Ui();
    for (size_t i = 0; i < icons.size(); ++i)
    {
        if (auto* icon = dynamic_cast<AchieveIcon*>(icons[i]))
            icon->SetTarget(false, kCornerX, kCornerY, duration,
                            kIconStagger * static_cast<float>(i));
        ui.PlaySoundNamed("SOUND_GAMEMENU_SHOW");
    }
}

void AchievesViewer::KeyDown(int keyCode)
{
    if (keyCode != kKeyD) Close();
}

void AchievesViewer::MouseDown(int /*x*/, int /*y*/, int /*button*/, int /*clickCount*/)
{
    Close();
}

void AchievesViewer::Update()
{
    MarkAllDirty();
    const float dt = mServices.GetFrameTime();
    mIconRoot.Update(dt);
    switch (mViewerState)
    {
    case kSweeping:
        if (mSweepTime > 0)
        {
            mSweepTime -= dt;
            mDim = 1.0f - mSweepTime / kSweepSeconds;
        }
        if (mSweepTime <= 0)
        {
            mDim = 1.0f;
            mViewerState = kArriving;
        }
        break;
    case kArriving:
        mStateTime += dt;
        if (mStateTime / kArrivalSeconds > 1.0f)
        {
            mViewerState = kShown;
            mStateTime = 0;
        }
        break;
    case kLeaving:
    {
        mStateTime += dt;
        float t = 2.0f * mStateTime;
        if (t > 1.0f)
        {
            SendToLink(kCommandDone, 0);
            t = 1.0f;
        }
        mDim = 1.0f - t;
        break;
    }
    default:
        break;
    }
}

// Each icon within its own grid cell, so that the glows of neighbouring new icons never run into
// one another; the hints, which stand apart from the grid, afterwards and unclipped.
void AchievesViewer::DrawIcons(Graphics* g)
{
    const int half = static_cast<int>(kGridStep) / 2;
    for (VisualNode* child : mIconRoot.GetChildren())
    {
        const FloatPoint at = child->GetWorldPosition();
        g->PushState();
        g->ClipRect(static_cast<int>(at.x) - half, static_cast<int>(at.y) - half, 2 * half, 2 * half);
        child->Draw(g);
        g->PopState();
    }
    for (VisualNode* child : mIconRoot.GetChildren())
        if (const auto* icon = dynamic_cast<const AchieveIcon*>(child))
            icon->GetHint().Draw(g);
}

void AchievesViewer::Draw(Graphics* g)
{
    UiServices& ui = Ui();
    g->SetColor(Color(0x000000, static_cast<int>(mDim * kDimAlpha)));
    g->FillRect(0, 0, ui.GetAppWidth(), ui.GetAppHeight());
    DrawIcons(g);
    if (mViewerState == kShown)
    {
        g->SetFont(ui.GetFontNamed("FONT_FNT2"));
        g->SetColor(kTitleShadow);
        g->DrawString(mTitle, mTitleX + 3, mTitleY + 2);
        g->SetColor(Color::White);
        g->DrawString(mTitle, mTitleX, mTitleY);
    }
    if (mViewerState == kSweeping && mSweepTime > 0)
    {
        g->SetColor(Color::White);
        g->SetDrawMode(DrawMode::Additive);
        g->DrawImageMatrix(ui.GetImageNamed("IMAGE_BONUSH"), mSweepMatrix,
                           mSweepTime / kSweepSeconds * 1500.0f - 300.0f, 300.0f);
        g->SetDrawMode(DrawMode::Normal);
    }
}
} // namespace Quoll
