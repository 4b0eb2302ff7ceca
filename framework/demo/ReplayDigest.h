#pragma once
// Evidence of a run for the replay check (ReplayTest.cmake): with QUOLL_REPLAY_DIGESTS naming
// a folder, "digests.txt" there gets "digest <update> <hash>" every QUOLL_REPLAY_EVERY updates
// (100 by default) and "screen <update> <hash> <png>" at each update listed in
// QUOLL_REPLAY_CHECKPOINTS ("200,400"), with the screen written as that PNG. A program under
// the check calls Update once per logic update with a hash of its state and its screen.
// Without the variable nothing is written.
#include <cstdint>
#include <fstream>
#include <set>
#include <string>

namespace QuollReplay
{
// FNV-1a over bytes, continued from `hash`.
uint64_t HashBytes(const void* data, size_t size, uint64_t hash = 14695981039346656037ull);

class ReplayDigest
{
public:
    ReplayDigest();

    [[nodiscard]] bool Enabled() const { return mOut.is_open(); }
    [[nodiscard]] const std::set<int>& GetCheckpoints() const { return mCheckpoints; }
    // pixels: width * height ARGB words, or null when the program has no screen.
    void Update(int updateCount, uint64_t stateHash, const uint32_t* pixels, int width, int height);
    // The last line, at the end of the run.
    void Finish(int updateCount, uint64_t stateHash);

private:
    std::string mFolder;
    std::ofstream mOut;
    int mEvery = 100;
    std::set<int> mCheckpoints;
};
} // namespace QuollReplay
