#include "game/level/LevelFileLayout.h"

#include "game/level/LevelFileCheck.h"

#include <algorithm>
#include <string_view>

namespace
{
// A magic string as written: its 16-bit length, then its letters.
bool StartsWithMagic(std::span<const uint8_t> bytes, std::string_view magic)
{
    return bytes.size() >= 2 + magic.size() && bytes[0] == magic.size() && bytes[1] == 0 &&
           std::equal(magic.begin(), magic.end(), bytes.begin() + 2);
}

bool EndsWithMagic(std::span<const uint8_t> bytes, std::string_view magic)
{
    const size_t length = 2 + magic.size();
    return bytes.size() >= length && StartsWithMagic(bytes.subspan(bytes.size() - length), magic);
}
} // namespace

LevelFileLayout LevelFileLayout::Of(std::span<const uint8_t> section, size_t tailBytes)
{
    LevelFileLayout layout;
    if (!StartsWithMagic(section, "qklgc"))
        layout.section = LevelSectionForm::OldestWords;
    else if (!EndsWithMagic(section, "qkrnd"))
        layout.section = LevelSectionForm::WithoutGenerator;
    if (tailBytes == 0)
        layout.end = LevelFileEnd::AfterSection;
    else if (tailBytes == LevelFileCheck::kTailWithoutMedalRule)
        layout.end = LevelFileEnd::AfterParameters;
    return layout;
}

std::string LevelFileLayout::Describe() const
{
    if (IsCurrent())
        return "current layout (level-logic section with its generator state, parameters, medal rule)";
    std::string text = "older layout:";
    if (section == LevelSectionForm::OldestWords)
        text += " board words of the oldest form;";
    if (section != LevelSectionForm::WithGenerator)
        text += " no generator state (the default seed);";
    if (end == LevelFileEnd::AfterSection)
        text += " no parameters (filled afresh);";
    if (end != LevelFileEnd::AfterMedalRule)
        text += " no medal rule (the default rule);";
    text.pop_back();
    return text;
}
