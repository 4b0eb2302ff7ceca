#include "game/screens/RandomStatsPanel.h"

#include "framework/display/Font.h"
#include "framework/display/Graphics.h"
#include "game/level/LevelList.h"
#include "game/shell/BaseWidget.h"
#include "game/shell/PlayServices.h"
#include "game/shell/Profile.h"
#include "game/ui/FormatLocalised.h"

#include <algorithm>

namespace
{
// The particle system of a bubbling tube.
constexpr int kBubbleParticles = 91;
constexpr int kCaptionY = 630;
constexpr const char* kCaptionKey = "UI_RANDOMSTATS";
} // namespace

RandomStatsPanel::RandomStatsPanel(PlayServices& services, const LevelList& levels, const Profile* profile)
    : mServices(services), mLevels(levels), mProfile(profile)
{
}

int RandomStatsPanel::FillPercent(int episode) const
{
    int first = 0, second = 0;
    if (mProfile != nullptr)
        mProfile->GetRandomStats(episode, first, second);
    return first > 0 ? second * 100 / 5 : 0;
}

void RandomStatsPanel::Setup(BaseWidget* map, int group)
{
    mMap = map;
    const int count = mLevels.GetGroupCount();
    const int firstOpen = mLevels.GetFirstOpenGroup();
    if (group == -1)
        group = firstOpen;
    // Tubes stand for the episodes before the first open group's; with everything complete, all.
    const int passed = firstOpen <= count ? mLevels.GetGroupEpisode(firstOpen) - 1 : kTubeCount;
    const int fresh = group >= 1 && group <= count ? mLevels.GetGroupEpisode(group) - 1 : kTubeCount;
    mTubes = {};
    mHoveredTube = -1;
    // Only a tube that stands may be the new one: a celebrated group in the middle of an episode
    // passes nothing.
    for (int i = 0; i < std::clamp(passed, 0, kTubeCount); ++i)
        SetupIcon(i, i == fresh);
    mBubbleTimer = mServices.RandFloat(3.0f) + 3.0f;
}

void RandomStatsPanel::SetupIcon(int index, bool isNew)
{
    Quoll::Image* tube = mServices.GetImageById(mServices.GetResourceIdByName("IMAGE_RND_PROBIRKA"));
    Quoll::Image* fill = mServices.GetImageById(
        mServices.GetResourceIdByName("IMAGE_RND_PROBIRKA_FILL" + std::to_string(index + 1)));
    const float delay = isNew ? 0.0f : mServices.RandFloat(0.2f);
    mTubes[static_cast<size_t>(index)].Setup(index, tube, fill, FillPercent(index + 1), isNew, delay);
}

int RandomStatsPanel::CountPresent() const
{
    return static_cast<int>(std::count_if(mTubes.begin(), mTubes.end(), [](const auto& t) { return t.IsPresent(); }));
}

void RandomStatsPanel::Update(float dt)
{
    mCaptionAlpha = std::clamp(mCaptionAlpha + (mHoveredTube >= 0 ? 3.0f * dt : -5.0f * dt), 0.0f, 1.0f);
    for (RandomStatsIcon& tube : mTubes)
        tube.Update(dt, mServices);
    UpdateBubbles(dt);
}

void RandomStatsPanel::UpdateBubbles(float dt)
{
    const int present = CountPresent();
    if (mHoveredTube >= 0 || present == 0)
        return;
    mBubbleTimer -= dt;
    if (mBubbleTimer >= 0.0f)
        return;
    mBubbleTimer = mServices.RandFloat(4.0f) + 3.0f;
    if (mLevels.IsAllComplete())
        mBubbleTimer /= 3.0f;
    int k = mServices.RandInt(present);
    for (RandomStatsIcon& tube : mTubes)
    {
        if (!tube.IsPresent() || k-- > 0)
            continue;
        mServices.SpawnParticleSystem(kBubbleParticles, static_cast<float>(tube.GetX() + tube.GetWidth() / 2),
                                      static_cast<float>(tube.GetY() + 43));
        tube.Spring();
        mServices.PlaySoundNamed("SOUND_PROBIRKA_BULB");
        break;
    }
}

void RandomStatsPanel::Draw(Quoll::Graphics* g)
{
    g->SetImageTint(false);
    for (const RandomStatsIcon& tube : mTubes)
        tube.Draw(g);
    Quoll::Font* font = mServices.GetFont("FONT_FNT1");
    if (mCaptionAlpha <= 0.0f || mHoveredTube < 0 || font == nullptr)
        return;
    const int alpha = static_cast<int>(mCaptionAlpha * 255.0f);
    g->SetFont(font);
    g->SetColor(Quoll::Color(0, 0, 0, alpha));
    g->DrawString(mCaption, mCaptionX + 1, mCaptionY + 1);
    g->SetColor(Quoll::Color(0x90, 0xFF, 0x90, alpha));
    g->DrawString(mCaption, mCaptionX, mCaptionY);
}

void RandomStatsPanel::MouseMove(int x, int y)
{
    int hovered = -1;
    for (int i = 0; i < kTubeCount; ++i)
    {
        RandomStatsIcon& tube = mTubes[static_cast<size_t>(i)];
        if (!tube.IsPresent())
            continue;
        tube.mHovered = tube.Contains(x, y);
        if (tube.mHovered)
            hovered = i;
    }
    const int before = mHoveredTube;
    mHoveredTube = hovered;
    if (hovered >= 0 && hovered != before)
        ShowCaption(hovered);
}

void RandomStatsPanel::ShowCaption(int index)
{
    int first = 0, second = 0;
    if (mProfile != nullptr)
        mProfile->GetRandomStats(index + 1, first, second);
    mCaption = FormatLocalised(kCaptionKey, mServices.GetText(kCaptionKey), {second, first, FillPercent(index + 1)});
    const RandomStatsIcon& tube = mTubes[static_cast<size_t>(index)];
    Quoll::Font* font = mServices.GetFont("FONT_FNT1");
    const int width = font != nullptr ? font->StringWidth(mCaption) : 0;
    mCaptionX = tube.GetX() + tube.GetWidth() / 2 - width / 2;
    mCaptionY = kCaptionY;
    mServices.PlaySoundNamed("SOUND_PROBIRKA_OVER" + std::to_string(index + 1));
}

void RandomStatsPanel::MouseDown(int x, int y)
{
    for (int i = 0; i < kTubeCount; ++i)
    {
        RandomStatsIcon& tube = mTubes[static_cast<size_t>(i)];
        if (!tube.IsPresent() || !tube.Contains(x, y))
            continue;
        if (mMap != nullptr)
            mMap->SendToLink(kRandomLevelCommand, i + 1);
        tube.mLift = 1.0f;
        mCaptionAlpha = 1.0f;
    }
}

FloatPoint RandomStatsPanel::GetIconCentre(int episode) const
{
    const RandomStatsIcon& tube = mTubes[static_cast<size_t>(std::clamp(episode - 1, 0, kTubeCount - 1))];
    return {static_cast<float>(tube.GetX() + tube.GetWidth() / 2), static_cast<float>(tube.GetY()) + 20.0f};
}
