#pragma once
// The check shared by the player-data fuzz targets: a record reader given any bytes either
// refuses them and leaves its object as it was, or accepts them, and then writing the object
// gives back exactly the bytes read (the formats have one spelling) and reads back equal.
#include "framework/core/Buffer.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

template <typename Record, typename Same>
void CheckPlayerRecord(const char* target, const uint8_t* data, size_t size, const Record& start, Same same)
{
    const auto fail = [target](const char* what) {
        std::fprintf(stderr, "%s: %s\n", target, what);
        std::abort();
    };
    Quoll::Buffer input;
    input.SetData(data, size);
    Record record = start;
    if (!record.Read(input))
    {
        if (!same(record, start))
            fail("a refused record changed the object");
        return;
    }
    Quoll::Buffer written;
    record.Write(written);
    if (written.GetDataSize() != size || (size > 0 && std::memcmp(written.GetDataPtr(), data, size) != 0))
        fail("an accepted record does not write back to the same bytes");
    Record again = start;
    if (!again.Read(written) || !same(again, record))
        fail("an accepted record does not read back equal");
}
