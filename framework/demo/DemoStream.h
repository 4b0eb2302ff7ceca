#pragma once
// The demo stream: every input that does not follow from the program itself (window input,
// focus, the loader's completion, the refresh rate, registry and file outcomes, clipboard
// text, HTTP results, the display test's result) as bit-packed records stamped with the
// update count at which they acted. Recording appends records; playback reads them back at
// the same update counts.
//
// A record is a 4-bit gap (updates since the previous record; longer gaps are bridged by
// filler records of 15), a form bit (1 compact with a 1-bit kind, 0 full with a 5-bit kind)
// and the kind's fields. Playback checks the kind and the update of every record it reads:
// a record that does not match what the program asks for stops playback with an error that
// names the update count and the record index, instead of feeding the program wrong values.
#include "framework/core/Buffer.h"

#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <utility>

namespace Quoll
{
// Kinds of the full form.
enum class DemoKind : uint8_t
{
    MouseMoveTo = 0,     // x 12 bits, y 12 bits
    Activate = 1,        // active 1 bit
    Minimise = 2,        // minimised, WriteBool
    KeyDown = 3,         // key code 8 bits
    KeyUp = 4,           // key code 8 bits
    Char = 5,            // wide flag 1 bit, character 16 bits (8 without the flag)
    Close = 6,           // the main or invisible window was closed
    MouseEnter = 7,      // the pointer entered the client area
    MouseLeave = 8,      // the pointer left the client area
    LoadingFinished = 9, // the loading thread's completion was picked up
    RegistryRead = 11,
    RegistryWrite = 12,
    FileExists = 14,
    FileRead = 15,
    FileWrite = 16,
    HttpResult = 17,
    SyncBuffer = 18, // byte count (Int32), then the bytes
    MouseWheel = 21, // steps 8 bits, signed
    DisplayMode = 23, // windowed (WriteBool), refresh rate (WriteByte)
    FolderList = 24,  // file count (Int32), then per file its name (WriteString), size and
                      // modification time (each two Int32, low half first)
    FileRename = 25,  // renamed 1 bit
    FileSize = 26,    // found 1 bit; when found, the size (two Int32, low half first)
    Filler = 31,     // no fields; bridges gaps, and closes a crash's recording
};

// Kinds of the compact form.
enum class DemoCompactKind : uint8_t
{
    MouseDelta = 0,  // dx 6 bits, dy 6 bits, signed
    MouseButton = 1, // down 1 bit, click count 3 bits signed
};

// One input record decoded for playback; the fields used depend on the type.
struct DemoInput
{
    enum class Type : uint8_t
    {
        MouseMove,  // x, y
        MouseDown,  // x, y, value = click count (1, 2, -1, -2, 3)
        MouseUp,    // x, y, value = click count
        Activate,   // flag = active
        Minimise,   // flag = minimised
        KeyDown,    // value = key code
        KeyUp,      // value = key code
        Char,       // value = character
        Close,
        MouseEnter,
        MouseLeave,
        LoadingFinished,
        Wheel,       // value = steps
        DisplayMode, // flag = windowed, value = refresh rate
    };
    Type type = Type::MouseMove;
    int x = 0, y = 0;
    int value = 0;
    bool flag = false;
};

class DemoStream
{
public:
    static constexpr int kMaxGap = 15;
    // Pointer records hold application coordinates in 12 bits.
    static constexpr int kMaxPointerCoordinate = 4095;
    // A move smaller than this in both directions is recorded as a compact delta.
    static constexpr int kCompactMoveLimit = 32;

    // The coordinate the widgets receive and the recording stores.
    [[nodiscard]] static int ClampPointer(int coordinate);

    // --- Recording --------------------------------------------------------------------------
    // The 4-bit gap to the update count, after fillers of 15 while the gap is longer.
    void WriteHeader(int updateCount);
    // Header (with fillers) for the update count, form bit and kind; the kind's fields follow
    // in Data().
    void WriteRecord(DemoKind kind, int updateCount);
    void WriteCompactRecord(DemoCompactKind kind, int updateCount);
    // The pointer at (x, y), clamped: a compact delta, or a full position after a move of 32
    // or more. Every mouse message gives one, even without movement (a delta of 0, 0), because
    // the widgets see a move for every mouse message and the replay must call them alike.
    void WriteMouseMove(int x, int y, int updateCount);
    // A button at (x, y): the pointer's move record, then the button.
    void WriteMouseButton(int x, int y, bool down, int clickCount, int updateCount);
    // A character beyond 16 bits is written as two records of its UTF-16 halves.
    void WriteChar(char32_t character, int updateCount);
    void WriteKey(DemoKind kind, int keyCode, int updateCount);
    void WriteWheel(int steps, int updateCount);
    void WriteDisplayMode(bool windowed, int refreshRate, int updateCount);
    void WriteSyncBuffer(const Buffer& value, int updateCount);

    // --- Playback ------------------------------------------------------------------------------
    // Reads the next header when none is pending (fillers only move the next update on) and
    // tells whether that record is due at the update count. False when the stream has ended
    // or playback failed.
    bool ReadHeader(int updateCount);
    // Whether the playback must not start another update at this update count: a record is
    // due, the demo ended here, or playback failed.
    bool HoldsUpdate(int updateCount);
    // For an operation that reads its own record: the next record must be due now, in the
    // full form and of this kind. Its fields follow in Data(); EndRecord when read. On a
    // mismatch, or when the demo has no more records, playback fails and this is false.
    bool ExpectRecord(DemoKind kind, int updateCount);
    void EndRecord() { mNeedsHeader = true; }
    // For records that several readers poll for (HTTP results): whether the record due now is
    // a full one of this kind, without failing playback when it is not.
    bool PeekRecord(DemoKind kind, int updateCount);
    // The next 32-bit field of the record, left unread (0 past the end).
    [[nodiscard]] int32_t PeekInt32() const;
    // The next input record when one is due; a record that only an operation may read, or a
    // malformed one, fails playback.
    std::optional<DemoInput> ReadInput(int updateCount);
    // A recorded buffer replaces `value`; false (value untouched) when playback failed.
    bool ReadSyncBuffer(Buffer& value, int updateCount);
    // A recorded byte count, limited to the bytes left in the stream (0 when negative).
    [[nodiscard]] size_t ClampToRemainder(int32_t count) const;

    // Stops playback with an error that names the update and the record.
    void Fail(const std::string& why, int updateCount);
    [[nodiscard]] bool Failed() const { return !mError.empty(); }
    [[nodiscard]] const std::string& Error() const { return mError; }
    // No record is pending and none follows (trailing padding bits do not count).
    [[nodiscard]] bool Ended() const;

    // --- State ----------------------------------------------------------------------------------
    Buffer& Data() { return mData; }
    [[nodiscard]] const Buffer& Data() const { return mData; }
    // Empties the stream and forgets every position (markers and length stay).
    void Reset();
    [[nodiscard]] int RecordIndex() const { return mRecordIndex; }
    [[nodiscard]] int NextRecordUpdate() const { return mNextRecordUpdate; }
    [[nodiscard]] int LastMouseX() const { return mLastMouseX; }
    [[nodiscard]] int LastMouseY() const { return mLastMouseY; }

    // The update count at which the played demo was saved.
    int mLength = 0;
    std::list<std::pair<std::string, int>> mMarkers;

private:
    // Reads one header; false at the end of the data.
    bool ReadOneHeader();
    [[nodiscard]] std::string DescribeRecord() const;
    std::optional<DemoInput> DecodeCompact();
    std::optional<DemoInput> DecodeFull(int updateCount);
    std::optional<DemoInput> DecodeChar(int updateCount);

    Buffer mData;
    int mLastRecordUpdate = 0; // recording: update of the last record written
    int mNextRecordUpdate = 0; // playback: update of the record whose header was read last
    bool mNeedsHeader = true;
    bool mRecordCompact = false;
    int mRecordKind = 0;
    int mRecordIndex = -1;
    int mLastMouseX = 0, mLastMouseY = 0;
    std::string mError;
};
} // namespace Quoll
