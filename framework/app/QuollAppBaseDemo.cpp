// The demo stream's record header and the small readers and writers that other operations
// use to pass their outcomes through the stream. Recording to a file and playback of a file
// come with the demo itself.
#include "framework/app/QuollAppBase.h"
#include "framework/platform/Path.h"

#include <algorithm>

namespace Quoll
{
namespace
{
constexpr int kMaxRecordGap = 15;
constexpr int kFillerKind = 31;
} // namespace

// A gap of more than 15 updates is bridged by filler records of 15.
void QuollAppBase::WriteDemoRecordHeader()
{
    int gap = mUpdateCount - mLastDemoRecordUpdate;
    while (gap > kMaxRecordGap)
    {
        mDemoBuffer.WriteBits(kMaxRecordGap, 4);
        mDemoBuffer.WriteBits(0, 1);
        mDemoBuffer.WriteBits(kFillerKind, 5);
        ++mRecordIndex;
        gap -= kMaxRecordGap;
    }
    mDemoBuffer.WriteBits(uint32_t(gap), 4);
    mLastDemoRecordUpdate = mUpdateCount;
    ++mRecordIndex;
}

void QuollAppBase::WriteDemoRecordKind(int kind)
{
    WriteDemoRecordHeader();
    mDemoBuffer.WriteBits(0, 1);
    mDemoBuffer.WriteBits(uint32_t(kind), 5);
}

// An exhausted stream reads no header, so the next record stays due "later" for ever.
bool QuollAppBase::ReadDemoRecordHeader()
{
    if (mDemoNeedsHeader)
    {
        if (mDemoBuffer.AtEnd())
            return false;
        mNextDemoRecordUpdate += mDemoBuffer.ReadBits(4, false);
        mRecordCompact = mDemoBuffer.ReadBits(1, false) != 0;
        mRecordKind = mDemoBuffer.ReadBits(mRecordCompact ? 1 : 5, false);
        ++mRecordIndex;
        mDemoNeedsHeader = false;
    }
    return mUpdateCount == mNextDemoRecordUpdate;
}

bool QuollAppBase::ReadDemoOutcome(bool closedResult)
{
    if (mDemoClosedByWindow)
        return closedResult;
    ReadDemoRecordHeader();
    const bool outcome = mDemoBuffer.ReadBits(1, false) != 0;
    mDemoNeedsHeader = true;
    return outcome;
}

size_t QuollAppBase::ClampToDemoRemainder(int32_t count) const
{
    if (count <= 0)
        return 0;
    const int32_t remainingBytes = (mDemoBuffer.GetDataBitCount() - mDemoBuffer.GetReadBitPos()) / 8;
    return size_t(std::min(count, std::max(remainingBytes, 0)));
}

// Minimal until demo playback exists: reports a missing file, refuses any other.
bool QuollAppBase::ReadDemoFile(std::string& error)
{
    if (!Platform::PathExists(mDemoFileName))
    {
        error = "Demo file not found: " + mDemoFileName;
        return false;
    }
    error = "Invalid demo file.";
    return false;
}
} // namespace Quoll
