#include "game/play/BacteriaEmoTarget.h"

#include "game/scene/AnimSprite.h"
#include "game/shell/PlayServices.h"

#include <array>
#include <string>

namespace
{
// Emotion animation codes, as the application loads them at start-up.
constexpr int kNBlink1 = 457;
constexpr int kUStart1 = 458;
constexpr int kUEnd1 = 459;
constexpr int kUBlink1 = 460;
constexpr int kYStart1 = 461;
constexpr int kYEnd1 = 462;
constexpr int kNBlink2 = 463;
constexpr int kYStart2 = 467;
constexpr int kYEnd2 = 468;
constexpr int kNBlink8 = 469;

// Frame codes by expression (normal, second, rage) and step (enter, hold, leave, gesture).
using FaceTable = std::array<std::array<int, 4>, 3>;
constexpr FaceTable kHeroFace{{
    {0, 0, 0, kNBlink1},
    {kUStart1, 4, kUEnd1, kUBlink1},
    {kYStart1, 10, kYEnd1, 10},
}};
constexpr FaceTable kEnemyFace{{
    {0, 0, 0, kNBlink2},
    {0, 0, 0, 0},
    {kYStart2, 5, kYEnd2, 5},
}};
constexpr FaceTable kBossFace{{
    {0, 0, 0, kNBlink8},
    {0, 0, 0, 0},
    {2, 2, 2, 0},
}};
} // namespace

int BacteriaEmoTarget::FrameCode(int kind, const EmotionEntry& entry)
{
    if (kind < 1 || kind > 8 || entry.value < 0 || entry.value > 2 || entry.type < 0 || entry.type > 3)
        return 0;
    const FaceTable& table = kind == 1 ? kHeroFace : kind == 8 ? kBossFace : kEnemyFace;
    return table[static_cast<size_t>(entry.value)][static_cast<size_t>(entry.type)];
}

bool BacteriaEmoTarget::IsReady()
{
    return mSprite != nullptr && !mSprite->mClock.IsPlaying();
}

void BacteriaEmoTarget::ShowEmotion(const EmotionEntry& entry)
{
    if (mSprite == nullptr)
        return;
    const bool known = mKind >= 1 && mKind <= 8;
    mSprite->mImage =
        known ? mServices.GetImageById(mServices.GetResourceIdByName("IMAGE_EMO" + std::to_string(mKind))) : nullptr;
    const int code = FrameCode(mKind, entry);
    if (code > kLastStillCel)
    {
        mSprite->mClock.SetAnimation(mServices.GetEmotionAnimation(code));
        mSprite->mClock.Play(1);
        return;
    }
    mSprite->mClock.SetAnimation(nullptr);
    mSprite->mClock.mStaticFrame = code;
}
