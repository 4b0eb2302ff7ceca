#pragma once
// CheckedReader: reads a Quoll::Buffer from its read position and fails, instead of yielding
// zeros, when the data ends early, and looks ahead for a magic string without consuming it.
// Every board and level-logic reader goes through it.
#include "framework/core/Buffer.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class CheckedReader
{
public:
    explicit CheckedReader(Quoll::Buffer& buffer) : mBuffer(buffer) {}

    // Bytes left between the read position and the end of the data.
    [[nodiscard]] size_t BytesLeft() const;

    [[nodiscard]] bool ReadBytes(void* data, size_t count);
    [[nodiscard]] bool ReadInt32(int32_t& value);
    // A string with its 16-bit length; false when the length is negative or the bytes are missing.
    [[nodiscard]] bool ReadString(std::string& text);
    // Consumes the string magic when it is next in the data; otherwise reads nothing.
    [[nodiscard]] bool SkipMagic(std::string_view magic);
    // True when the magic is next in the data; reads nothing.
    [[nodiscard]] bool PeekMagic(std::string_view magic) const;

private:
    // Only for offsets below BytesLeft().
    [[nodiscard]] uint8_t PeekByte(size_t offset) const;

    Quoll::Buffer& mBuffer;
};
