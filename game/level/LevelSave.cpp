// Level: the saved body. After the level-logic section come the 23 parameter words, the
// selected cell, the marker 365 and the medal rule (first threshold, second threshold, mode),
// all 32-bit little-endian. Bodies written before the medal rule existed end after the
// selected cell.
#include "game/level/Level.h"

#include "game/board/CheckedReader.h"
#include "game/level/LevelFileCheck.h"

#include <array>
#include <span>
#include <string>
#include <utility>

namespace
{
// Bytes of the parameters and the selected cell.
constexpr size_t kParamsAndSelectionBytes = LevelParams::kWordCount * 4 + 4;
// The marker and the medal rule.
constexpr size_t kMarkedMedalRuleBytes = 16;

// The parameter fields in their saved order.
template <typename Params>
auto Fields(Params& p)
{
    return std::array{&p.cellCount,      &p.playerCount,       &p.playerCells[0],    &p.playerCells[1],
                      &p.playerCells[2], &p.playerAiLevels[0], &p.playerAiLevels[1], &p.playerAiLevels[2],
                      &p.capturedCells[0], &p.capturedCells[1], &p.capturedCells[2], &p.round,
                      &p.score,          &p.roundBonus,        &p.cellBonus,         &p.captureScore,
                      &p.inventory[0],   &p.inventory[1],      &p.inventory[2],      &p.armedSlot,
                      &p.bossHitPoints,  &p.bossCountdown,     &p.stepBacksLeft};
}
static_assert(std::tuple_size_v<decltype(Fields(std::declval<LevelParams&>()))> == LevelParams::kWordCount);

bool IsInventoryCode(int32_t code) { return code == 0 || code == BONUS_MINE || code == BONUS_TELEPORT || code == BONUS_BOMB; }
} // namespace

bool Level::Save(Quoll::Buffer& buffer, bool reset) const
{
    mLogic.Write(buffer);
    LevelParams params = mParams;
    int32_t selected = mSelectedCell;
    if (reset)
    {
        // Fresh parameters with the current board.
        params.Reset();
        params.Init(mParams.cellCount, mParams.playerCount);
        selected = -1;
    }
    for (const int32_t* field : Fields(params))
        buffer.WriteInt32(*field);
    buffer.WriteInt32(selected);
    buffer.WriteInt32(kMedalRuleMarker);
    buffer.WriteInt32(mMedalRule.firstThreshold);
    buffer.WriteInt32(mMedalRule.secondThreshold);
    buffer.WriteInt32(mMedalRule.mode);
    return true;
}

bool Level::Load(Quoll::Buffer& buffer, LevelBodyKind kind)
{
    mLoadError.clear();
    mFileLayout.reset();
    const size_t sectionStartBit = buffer.GetReadBitPos();
    // 1. The logic section; nothing after a broken one is read.
    if (!mLogic.Read(buffer))
    {
        mServices.LogError("Error read Level");
        return RefuseLoad("its level-logic section does not read");
    }
    // 2. A level file is whole and undamaged around the parameters.
    if (kind == LevelBodyKind::LevelFile)
    {
        const size_t sectionEndBit = buffer.GetReadBitPos();
        if (sectionStartBit % 8 != 0)
            return RefuseLoad("it does not start on a byte");
        const std::span<const uint8_t> data(buffer.GetDataPtr(), buffer.GetDataSize());
        const size_t start = sectionStartBit / 8;
        const size_t end = sectionEndBit / 8;
        std::string fault = LevelFileCheck::FindGeneratorFault(data.subspan(start, end - start));
        if (fault.empty())
            fault = LevelFileCheck::FindTailFault(data.subspan(end));
        if (!fault.empty())
            return RefuseLoad(fault);
        if (data.size() - end != LevelFileCheck::kTailWithMedalRule)
            mServices.LogError("Level file without a medal rule: the default rule grades it");
        mFileLayout = LevelFileLayout::Of(data.subspan(start, end - start), data.size() - end);
    }
    // 3. Parameters and selection, the medal rule when present, then ordered for its mode.
    if (!ReadParams(buffer))
        return false;
    RepairLoadedParams();
    ReadMedalRule(buffer);
    OrderMedalThresholds(mMedalRule);
    // 4. The boss and the tutorial steps the level needs.
    const bool bossLevel = [this] {
        for (int player = 1; player <= mLogic.GetPlayerCount(); ++player)
            if (mLogic.GetPlayerAiLevel(player) == kBossLevel)
                return true;
        return false;
    }();
    if (bossLevel)
    {
        // A view without a boss of its own (tools, tests) leaves the level to play by the rules.
        mBoss = mView->CreateBossLevel(*this);
        if (!mBoss)
        {
            auto rules = std::make_unique<BossRules>(*this);
            mOwnBoss = rules.get();
            mBoss = std::move(rules);
        }
    }
    mServices.GetTutorial().LoadSteps();
    return true;
}

bool Level::RefuseLoad(std::string reason)
{
    mLoadError = std::move(reason);
    mFileLayout.reset();
    return false;
}

bool Level::ReadParams(Quoll::Buffer& buffer)
{
    // A body that ends inside the parameters gets unfilled ones, which Start fills afresh,
    // rather than a mix of read and zero words.
    const size_t left = CheckedReader(buffer).BytesLeft();
    if (left < kParamsAndSelectionBytes)
    {
        if (left > 0)
            mServices.LogError("Level body truncated in its parameters");
        mParams.Reset();
        mSelectedCell = -1;
        return true;
    }
    for (int32_t* field : Fields(mParams))
        *field = buffer.ReadInt32();
    mSelectedCell = buffer.ReadInt32();
    // Counters beyond what a game reaches come from a damaged or forged body: the score and
    // round arithmetic must never start from them.
    const std::string fault = mParams.FindOutOfRangeCounter();
    if (fault.empty())
        return true;
    mServices.LogError("Level parameter " + fault);
    return RefuseLoad("its parameter " + fault);
}

void Level::RepairLoadedParams()
{
    // Values that would break the round are put right: step-backs 0..3, a cell or none as the
    // selection, an armed slot that exists, inventory codes of bonuses that can be armed, and
    // the logic's player count.
    if (mParams.stepBacksLeft < 0 || mParams.stepBacksLeft > 3)
        mParams.stepBacksLeft = 3;
    if (mSelectedCell < -1 || mSelectedCell >= kCellCount)
        mSelectedCell = -1;
    if (mParams.armedSlot < -1 || mParams.armedSlot > 2)
        mParams.armedSlot = -1;
    for (int32_t& code : mParams.inventory)
        if (!IsInventoryCode(code))
            code = 0;
    if (mParams.playerCount != 0 && mParams.playerCount != mLogic.GetPlayerCount())
        mParams.playerCount = mLogic.GetPlayerCount();
}

void Level::ReadMedalRule(Quoll::Buffer& buffer)
{
    // The marker is looked at on a copy, so that a body without it keeps its read position.
    if (CheckedReader(buffer).BytesLeft() < kMarkedMedalRuleBytes)
        return;
    Quoll::Buffer probe = buffer;
    if (probe.ReadInt32() != kMedalRuleMarker)
        return;
    buffer.ReadInt32();
    mMedalRule.firstThreshold = buffer.ReadInt32();
    mMedalRule.secondThreshold = buffer.ReadInt32();
    mMedalRule.mode = buffer.ReadInt32();
}
