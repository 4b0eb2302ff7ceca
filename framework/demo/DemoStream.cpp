#include "framework/demo/DemoStream.h"

#include "framework/core/Common.h"

#include <algorithm>
#include <cstdlib>

namespace Quoll
{
namespace
{
constexpr int kGapBits = 4;
constexpr int kFullKindBits = 5;
constexpr int kCoordinateBits = 12;
constexpr int kDeltaBits = 6;
constexpr int kClickCountBits = 3;
constexpr char32_t kHighSurrogateFirst = 0xD800;
constexpr char32_t kLowSurrogateFirst = 0xDC00;
constexpr char32_t kSurrogateEnd = 0xE000;
constexpr char32_t kFirstBeyond16Bits = 0x10000;

// True when every bit from the position to the end of the data is 0.
bool PaddingFrom(const Buffer& data, size_t position)
{
    const uint8_t* bytes = data.GetDataPtr();
    for (size_t bit = position; bit < data.GetDataBitCount(); ++bit)
        if ((bytes[bit / 8] >> (bit % 8)) & 1)
            return false;
    return true;
}

bool IsHighSurrogate(char32_t c)
{
    return c >= kHighSurrogateFirst && c < kLowSurrogateFirst;
}

bool IsLowSurrogate(char32_t c)
{
    return c >= kLowSurrogateFirst && c < kSurrogateEnd;
}
} // namespace

int DemoStream::ClampPointer(int coordinate)
{
    return std::clamp(coordinate, 0, kMaxPointerCoordinate);
}

// --- Recording ----------------------------------------------------------------------------------

void DemoStream::WriteHeader(int updateCount)
{
    int gap = std::max(0, updateCount - mLastRecordUpdate);
    while (gap > kMaxGap)
    {
        mData.WriteBits(kMaxGap, kGapBits);
        mData.WriteBits(0, 1);
        mData.WriteBits(uint32_t(DemoKind::Filler), kFullKindBits);
        ++mRecordIndex;
        gap -= kMaxGap;
    }
    mData.WriteBits(uint32_t(gap), kGapBits);
    mLastRecordUpdate = updateCount;
    ++mRecordIndex;
}

void DemoStream::WriteRecord(DemoKind kind, int updateCount)
{
    WriteHeader(updateCount);
    mData.WriteBits(0, 1);
    mData.WriteBits(uint32_t(kind), kFullKindBits);
}

void DemoStream::WriteCompactRecord(DemoCompactKind kind, int updateCount)
{
    WriteHeader(updateCount);
    mData.WriteBits(1, 1);
    mData.WriteBits(uint32_t(kind), 1);
}

void DemoStream::WriteMouseMove(int x, int y, int updateCount)
{
    x = ClampPointer(x);
    y = ClampPointer(y);
    const int dx = x - mLastMouseX;
    const int dy = y - mLastMouseY;
    if (std::abs(dx) < kCompactMoveLimit && std::abs(dy) < kCompactMoveLimit)
    {
        WriteCompactRecord(DemoCompactKind::MouseDelta, updateCount);
        mData.WriteBits(uint32_t(dx), kDeltaBits);
        mData.WriteBits(uint32_t(dy), kDeltaBits);
    }
    else
    {
        WriteRecord(DemoKind::MouseMoveTo, updateCount);
        mData.WriteBits(uint32_t(x), kCoordinateBits);
        mData.WriteBits(uint32_t(y), kCoordinateBits);
    }
    mLastMouseX = x;
    mLastMouseY = y;
}

void DemoStream::WriteMouseButton(int x, int y, bool down, int clickCount, int updateCount)
{
    WriteMouseMove(x, y, updateCount);
    WriteCompactRecord(DemoCompactKind::MouseButton, updateCount);
    mData.WriteBits(down ? 1 : 0, 1);
    mData.WriteBits(uint32_t(clickCount), kClickCountBits);
}

void DemoStream::WriteChar(char32_t character, int updateCount)
{
    if (character >= kFirstBeyond16Bits)
    {
        const char32_t offset = character - kFirstBeyond16Bits;
        WriteChar(kHighSurrogateFirst + (offset >> 10), updateCount);
        WriteChar(kLowSurrogateFirst + (offset & 0x3FF), updateCount);
        return;
    }
    WriteRecord(DemoKind::Char, updateCount);
    mData.WriteBits(1, 1);
    mData.WriteBits(uint32_t(character), 16);
}

void DemoStream::WriteKey(DemoKind kind, int keyCode, int updateCount)
{
    WriteRecord(kind, updateCount);
    mData.WriteBits(uint32_t(keyCode), 8);
}

void DemoStream::WriteWheel(int steps, int updateCount)
{
    WriteRecord(DemoKind::MouseWheel, updateCount);
    mData.WriteBits(uint32_t(std::clamp(steps, -128, 127)), 8);
}

void DemoStream::WriteDisplayMode(bool windowed, int refreshRate, int updateCount)
{
    WriteRecord(DemoKind::DisplayMode, updateCount);
    mData.WriteBool(windowed);
    mData.WriteByte(uint8_t(std::clamp(refreshRate, 0, 255)));
}

void DemoStream::WriteSyncBuffer(const Buffer& value, int updateCount)
{
    WriteRecord(DemoKind::SyncBuffer, updateCount);
    mData.WriteInt32(int32_t(value.GetDataSize()));
    mData.WriteBytes(value.GetDataPtr(), value.GetDataSize());
}

// --- Playback -------------------------------------------------------------------------------------

// The stream is stored in whole bytes: fewer than 8 zero bits at its end are padding, not
// the start of another record.
bool DemoStream::ReadOneHeader()
{
    const size_t remaining = mData.GetBitsLeft();
    if (remaining == 0)
        return false;
    if (remaining < 8 && PaddingFrom(mData, mData.GetReadBitPos()))
    {
        mData.ReadBits(static_cast<int>(remaining), false);
        return false;
    }
    mNextRecordUpdate += mData.ReadBits(kGapBits, false);
    mRecordCompact = mData.ReadBits(1, false) != 0;
    mRecordKind = mData.ReadBits(mRecordCompact ? 1 : kFullKindBits, false);
    ++mRecordIndex;
    return true;
}

bool DemoStream::ReadHeader(int updateCount)
{
    if (Failed())
        return false;
    while (mNeedsHeader)
    {
        if (!ReadOneHeader())
            return false;
        mNeedsHeader = !mRecordCompact && mRecordKind == int(DemoKind::Filler);
    }
    return updateCount == mNextRecordUpdate;
}

bool DemoStream::HoldsUpdate(int updateCount)
{
    return ReadHeader(updateCount) || Failed() || (Ended() && updateCount >= mNextRecordUpdate);
}

std::string DemoStream::DescribeRecord() const
{
    return FormatString("%s kind %d due at update %d", mRecordCompact ? "compact" : "full", mRecordKind,
                        mNextRecordUpdate);
}

void DemoStream::Fail(const std::string& why, int updateCount)
{
    if (Failed())
        return;
    mError = FormatString("Demo playback stopped at update %d, record %d: %s", updateCount, mRecordIndex,
                          why.c_str());
}

bool DemoStream::ExpectRecord(DemoKind kind, int updateCount)
{
    if (Failed())
        return false;
    const bool due = ReadHeader(updateCount);
    if (mNeedsHeader)
    {
        Fail(FormatString("expected kind %d, but the demo has no more records", int(kind)), updateCount);
        return false;
    }
    if (!due || mRecordCompact || mRecordKind != int(kind))
    {
        Fail(FormatString("expected full kind %d, found %s", int(kind), DescribeRecord().c_str()), updateCount);
        return false;
    }
    return true;
}

bool DemoStream::PeekRecord(DemoKind kind, int updateCount)
{
    return ReadHeader(updateCount) && !mRecordCompact && mRecordKind == int(kind);
}

int32_t DemoStream::PeekInt32() const
{
    const uint8_t* bytes = mData.GetDataPtr();
    const size_t position = mData.GetReadBitPos();
    uint32_t value = 0;
    for (size_t bit = 0; bit < 32 && position + bit < mData.GetDataBitCount(); ++bit)
        value |= uint32_t((bytes[(position + bit) / 8] >> ((position + bit) % 8)) & 1) << bit;
    return int32_t(value);
}

size_t DemoStream::ClampToRemainder(int32_t count) const
{
    if (count <= 0)
        return 0;
    return std::min(static_cast<size_t>(count), mData.GetBitsLeft() / 8);
}

bool DemoStream::ReadSyncBuffer(Buffer& value, int updateCount)
{
    if (!ExpectRecord(DemoKind::SyncBuffer, updateCount))
        return false;
    const int32_t recorded = mData.ReadInt32();
    const size_t count = ClampToRemainder(recorded);
    if (count != size_t(std::max(recorded, 0)))
    {
        Fail(FormatString("a buffer of %d bytes runs past the end of the demo", recorded), updateCount);
        return false;
    }
    value.Clear();
    for (size_t i = 0; i < count; ++i)
        value.WriteByte(mData.ReadByte());
    EndRecord();
    return true;
}

std::optional<DemoInput> DemoStream::ReadInput(int updateCount)
{
    if (!ReadHeader(updateCount))
        return std::nullopt;
    EndRecord();
    std::optional<DemoInput> input = mRecordCompact ? DecodeCompact() : DecodeFull(updateCount);
    if (!input)
        Fail("found " + DescribeRecord() + ", which is no input", updateCount);
    return input;
}

std::optional<DemoInput> DemoStream::DecodeCompact()
{
    DemoInput input;
    if (mRecordKind == int(DemoCompactKind::MouseDelta))
    {
        mLastMouseX += mData.ReadBits(kDeltaBits, true);
        mLastMouseY += mData.ReadBits(kDeltaBits, true);
        input.type = DemoInput::Type::MouseMove;
    }
    else
    {
        const bool down = mData.ReadBits(1, false) != 0;
        input.type = down ? DemoInput::Type::MouseDown : DemoInput::Type::MouseUp;
        input.value = mData.ReadBits(kClickCountBits, true);
    }
    input.x = mLastMouseX;
    input.y = mLastMouseY;
    return input;
}

std::optional<DemoInput> DemoStream::DecodeFull(int updateCount)
{
    using Type = DemoInput::Type;
    DemoInput input;
    switch (DemoKind(mRecordKind))
    {
    case DemoKind::MouseMoveTo:
        mLastMouseX = mData.ReadBits(kCoordinateBits, false);
        mLastMouseY = mData.ReadBits(kCoordinateBits, false);
        input.type = Type::MouseMove;
        input.x = mLastMouseX;
        input.y = mLastMouseY;
        return input;
    case DemoKind::Activate:
        input.type = Type::Activate;
        input.flag = mData.ReadBits(1, false) != 0;
        return input;
    case DemoKind::Minimise:
        input.type = Type::Minimise;
        input.flag = mData.ReadBool();
        return input;
    case DemoKind::KeyDown:
    case DemoKind::KeyUp:
        input.type = DemoKind(mRecordKind) == DemoKind::KeyDown ? Type::KeyDown : Type::KeyUp;
        input.value = mData.ReadBits(8, false);
        return input;
    case DemoKind::Char: return DecodeChar(updateCount);
    case DemoKind::Close: input.type = Type::Close; return input;
    case DemoKind::MouseEnter: input.type = Type::MouseEnter; return input;
    case DemoKind::MouseLeave: input.type = Type::MouseLeave; return input;
    case DemoKind::LoadingFinished: input.type = Type::LoadingFinished; return input;
    case DemoKind::MouseWheel:
        input.type = Type::Wheel;
        input.value = mData.ReadBits(8, true);
        return input;
    case DemoKind::DisplayMode:
        input.type = Type::DisplayMode;
        input.flag = mData.ReadBool();
        input.value = mData.ReadByte();
        return input;
    default: return std::nullopt;
    }
}

// A high surrogate must be followed at once by the record of its low half.
std::optional<DemoInput> DemoStream::DecodeChar(int updateCount)
{
    const auto readCharacter = [this] {
        const bool wide = mData.ReadBits(1, false) != 0;
        return char32_t(mData.ReadBits(wide ? 16 : 8, false));
    };
    DemoInput input;
    input.type = DemoInput::Type::Char;
    char32_t character = readCharacter();
    if (IsHighSurrogate(character))
    {
        if (!ExpectRecord(DemoKind::Char, updateCount))
            return std::nullopt;
        EndRecord();
        const char32_t low = readCharacter();
        if (!IsLowSurrogate(low))
            return std::nullopt;
        character = kFirstBeyond16Bits + ((character - kHighSurrogateFirst) << 10) + (low - kLowSurrogateFirst);
    }
    input.value = int(character);
    return input;
}

bool DemoStream::Ended() const
{
    const size_t remaining = mData.GetBitsLeft();
    return mNeedsHeader && (remaining == 0 || (remaining < 8 && PaddingFrom(mData, mData.GetReadBitPos())));
}

void DemoStream::Reset()
{
    mData.Clear();
    mLastRecordUpdate = 0;
    mNextRecordUpdate = 0;
    mNeedsHeader = true;
    mRecordCompact = false;
    mRecordKind = 0;
    mRecordIndex = -1;
    mLastMouseX = mLastMouseY = 0;
    mError.clear();
}
} // namespace Quoll
