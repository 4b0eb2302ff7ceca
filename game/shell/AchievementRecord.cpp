#include "game/shell/AchievementRecord.h"

#include "game/shell/PlayerFileFormat.h"

#include <algorithm>

using AchievementRules::IsAchievementNumber;
using AchievementRules::IsEventId;
using AchievementRules::kAchievementCount;
using AchievementRules::kLastEvent;

bool AchievementRecord::IsAchieved(int number) const
{
    return IsAchievementNumber(number) && mAchieved[static_cast<size_t>(number - 1)];
}

bool AchievementRecord::IsNew(int number) const { return std::find(mNew.begin(), mNew.end(), number) != mNew.end(); }

bool AchievementRecord::Achieve(int number)
{
    if (!IsAchievementNumber(number) || IsAchieved(number))
        return false;
    mAchieved[static_cast<size_t>(number - 1)] = true;
    mNew.push_back(number);
    return true;
}

int32_t AchievementRecord::GetCounter(int event) const
{
    return IsEventId(event) ? mCounters[static_cast<size_t>(event - 1)] : 0;
}

int32_t AchievementRecord::CountEvent(int event)
{
    if (!IsEventId(event))
        return 0;
    int32_t& counter = mCounters[static_cast<size_t>(event - 1)];
    if (counter < kMaxCounter)
        ++counter;
    return counter;
}

int64_t AchievementRecord::CountFor(const AchievementRule& rule) const
{
    int64_t total = 0;
    for (int event = rule.firstEvent; event <= rule.lastEvent; ++event)
        total += GetCounter(event);
    return total;
}

void AchievementRecord::Write(Quoll::Buffer& buffer) const
{
    buffer.WriteInt32(kAchievementCount);
    for (const bool achieved : mAchieved)
        buffer.WriteByte(achieved ? 1 : 0);
    buffer.WriteInt32(static_cast<int32_t>(mNew.size()));
    for (const int number : mNew)
        buffer.WriteInt32(number);
    buffer.WriteInt32(kLastEvent);
    for (const int32_t counter : mCounters)
        buffer.WriteInt32(counter);
}

bool AchievementRecord::Read(RecordReader& reader)
{
    AchievementRecord read;
    int32_t count = 0;
    if (!reader.ReadInt(count, kAchievementCount, kAchievementCount))
        return false;
    for (bool& achieved : read.mAchieved)
        if (!reader.ReadFlag(achieved))
            return false;

    if (!reader.ReadInt(count, 0, kAchievementCount))
        return false;
    for (int i = 0; i < count; ++i)
    {
        int32_t number = 0;
        // A new achievement is an earned one, listed once.
        if (!reader.ReadInt(number, 1, kAchievementCount) || !read.IsAchieved(number) || read.IsNew(number))
            return false;
        read.mNew.push_back(number);
    }

    if (!reader.ReadInt(count, kLastEvent, kLastEvent))
        return false;
    for (int32_t& counter : read.mCounters)
        if (!reader.ReadInt(counter, 0, kMaxCounter))
            return false;
    *this = std::move(read);
    return true;
}
