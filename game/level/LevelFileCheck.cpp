#include "game/level/LevelFileCheck.h"

#include "game/board/HexGeometry.h"

#include "framework/core/MersenneTwister.h"

#include <algorithm>
#include <string_view>

namespace
{
using Quoll::MersenneTwister;

constexpr std::string_view kRandomMagic = "qkrnd";
// A magic string as written: its 16-bit length, then its letters.
constexpr size_t kMagicBytes = 2 + kRandomMagic.size();
constexpr size_t kStateLengthBytes = 2;
constexpr size_t kMarkerOffset = LevelFileCheck::kTailWithoutMedalRule;

uint32_t WordAt(std::span<const uint8_t> bytes, size_t offset)
{
    return static_cast<uint32_t>(bytes[offset]) | static_cast<uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<uint32_t>(bytes[offset + 2]) << 16 | static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

bool IsMagicAt(std::span<const uint8_t> bytes, size_t offset)
{
    if (offset + kMagicBytes > bytes.size() || bytes[offset] != kRandomMagic.size() || bytes[offset + 1] != 0)
        return false;
    return std::equal(kRandomMagic.begin(), kRandomMagic.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset + 2));
}

// Words of the state that do not follow from the word before them by the seeding rule. A
// state seeded afresh has none; a state the generator has drawn from has nearly all.
int CountUnseededWords(std::span<const uint8_t> state)
{
    int count = 0;
    uint32_t previous = WordAt(state, 0);
    for (int i = 1; i < MersenneTwister::kWords; ++i)
    {
        const uint32_t word = WordAt(state, static_cast<size_t>(i) * 4);
        count += word != 1812433253u * (previous ^ (previous >> 30)) + static_cast<uint32_t>(i);
        previous = word;
    }
    return count;
}
} // namespace

namespace LevelFileCheck
{
std::string FindGeneratorFault(std::span<const uint8_t> section)
{
    // The generator part closes the section: "qkrnd", the state string, "qkrnd". A section
    // without one ends in its own closing magic and keeps the generator it had.
    const size_t size = section.size();
    if (size < kMagicBytes || !IsMagicAt(section, size - kMagicBytes))
        return {};
    const size_t stateBytes = MersenneTwister::kStateBytes;
    const size_t partBytes = 2 * kMagicBytes + kStateLengthBytes + stateBytes;
    const size_t stateAt = size - kMagicBytes - stateBytes;
    const bool fullState = size >= partBytes && IsMagicAt(section, size - partBytes) &&
                           section[stateAt - 2] == (stateBytes & 0xFF) && section[stateAt - 1] == (stateBytes >> 8);
    if (!fullState)
        return "its generator state is not " + std::to_string(stateBytes) + " bytes";
    const std::span<const uint8_t> state = section.subspan(stateAt, stateBytes);
    const uint32_t index = WordAt(state, stateBytes - 4);
    if (index > static_cast<uint32_t>(MersenneTwister::kWords))
        return "its generator state's index " + std::to_string(static_cast<int32_t>(index)) + " is outside 0.." +
               std::to_string(MersenneTwister::kWords);
    // Damage to a state seeded afresh breaks the seeding rule at one or two words (one word
    // changes two links of the chain); a state that was drawn from breaks it nearly everywhere.
    constexpr int kDamagedLinks = 64;
    const int unseeded = CountUnseededWords(state);
    if (unseeded > 0 && unseeded <= kDamagedLinks)
        return "its generator state is damaged (" + std::to_string(unseeded) + " words do not follow from its seed)";
    if (unseeded == 0 && index != static_cast<uint32_t>(MersenneTwister::kWords))
        return "its generator state is damaged (a fresh seed with the index " + std::to_string(index) + ")";
    return {};
}

std::string FindTailFault(std::span<const uint8_t> tail)
{
    if (tail.empty() || tail.size() == kTailWithoutMedalRule)
        return {};
    if (tail.size() != kTailWithMedalRule)
        return std::to_string(tail.size()) + " bytes follow the level-logic section; a level file has 0, " +
               std::to_string(kTailWithoutMedalRule) + " or " + std::to_string(kTailWithMedalRule);
    const auto marker = static_cast<int32_t>(WordAt(tail, kMarkerOffset));
    if (marker != 365)
        return "its medal-rule marker is " + std::to_string(marker) + ", not 365";
    MedalRule rule;
    rule.firstThreshold = static_cast<int32_t>(WordAt(tail, kMarkerOffset + 4));
    rule.secondThreshold = static_cast<int32_t>(WordAt(tail, kMarkerOffset + 8));
    rule.mode = static_cast<int32_t>(WordAt(tail, kMarkerOffset + 12));
    return FindMedalRuleFault(rule);
}

std::string FindMedalRuleFault(const MedalRule& rule)
{
    const bool cells = rule.mode == static_cast<int32_t>(MedalMode::Cells);
    if (!cells && rule.mode != static_cast<int32_t>(MedalMode::Rounds))
        return "its medal mode " + std::to_string(rule.mode) + " is neither 0 (cells) nor 1 (rounds)";
    const int32_t high = cells ? kCellCount : kMaxRound;
    for (const int32_t threshold : {rule.firstThreshold, rule.secondThreshold})
        if (threshold < 0 || threshold > high)
            return "its medal threshold " + std::to_string(threshold) + " is outside 0.." + std::to_string(high) +
                   (cells ? " cells" : " rounds");
    return {};
}
} // namespace LevelFileCheck
