#pragma once
// LevelFileLayout: which parts a level file held when it was read. Files of older versions end
// earlier or keep the board in the oldest word form; they still load, with defaults standing in
// for what they lack, and the tools name the layout so that a file cut exactly where an older
// one ends is not taken for a current one.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// The level-logic section's form.
enum class LevelSectionForm
{
    OldestWords,      // no magics; numbers in the high byte of each word; no generator state
    WithoutGenerator, // marked; the level's generator keeps the default seed
    WithGenerator,    // marked, with the generator state
};

// Where the body ends after the section.
enum class LevelFileEnd
{
    AfterSection,    // the level fills its parameters afresh; the default medal rule
    AfterParameters, // parameters and selection; the default medal rule
    AfterMedalRule,  // parameters, selection and the marked medal rule
};

struct LevelFileLayout
{
    LevelSectionForm section = LevelSectionForm::WithGenerator;
    LevelFileEnd end = LevelFileEnd::AfterMedalRule;

    // The layout of a level file whose section bytes and tail were found undamaged.
    [[nodiscard]] static LevelFileLayout Of(std::span<const uint8_t> section, size_t tailBytes);

    [[nodiscard]] bool IsCurrent() const
    {
        return section == LevelSectionForm::WithGenerator && end == LevelFileEnd::AfterMedalRule;
    }
    // One line: "current layout (...)" or "older layout: " and what each missing part becomes.
    [[nodiscard]] std::string Describe() const;

    bool operator==(const LevelFileLayout&) const = default;
};
