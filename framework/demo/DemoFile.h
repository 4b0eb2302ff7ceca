#pragma once
// The demo file (".dmo", integers little-endian):
//   magic 0x42BEEF78, version (2 when written; 0 and 1 have no marker block), random seed,
//   16-bit length and bytes of the program version text, [marker block size and block:
//   count, then name and update count per marker], the update count when it was written,
//   and the record stream's bytes to the end of the file.
// Numbered demos are "<prefix>N.dmo"; a recording takes the next number and may delete the
// oldest.
#include "framework/demo/DemoStream.h"

#include <cstdint>
#include <string>

namespace Quoll
{
constexpr uint32_t kDemoFileMagic = 0x42BEEF78;
constexpr int32_t kDemoFileVersion = 2;

// Writes the whole file through a temporary file renamed over the target; false when it
// cannot be written (an older file stays as it was).
bool WriteDemoFile(const std::string& path, uint32_t seed, const std::string& productVersion, int updateCount,
                   const DemoStream& stream);

// Reads the file into the stream (records, markers, length; read position at the start) and
// the seed. False with the error text for a missing file ("Demo file not found: "), another
// program version ("This demo file appears to be for '...'") or anything malformed
// ("Invalid demo file."); the stream is then left empty.
bool ReadDemoFile(const std::string& path, const std::string& productVersion, DemoStream& stream, uint32_t& seed,
                  std::string& error);

// prefix + N + ".dmo".
std::string NumberedDemoName(const std::string& prefix, int number);

// The highest N of the files prefix + N + ".dmo" (0 when there is none). With deleteOldest
// and at least keepCount of them, the one with the lowest N is deleted.
int FindHighestDemoNumber(const std::string& prefix, int keepCount, bool deleteOldest);
} // namespace Quoll
