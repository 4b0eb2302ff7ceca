// The lines of a message box's text: breaks at spaces, paths broken after a separator, the text's
// own line breaks kept, and nothing but spaces lost.
// Rerun: test_shell --gtest_filter='MessageBoxText.*'.
#include "game/shell/MessageBoxText.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
std::wstring Without(std::wstring text, std::wstring_view characters)
{
    std::erase_if(text, [&](wchar_t c) { return characters.find(c) != std::wstring_view::npos; });
    return text;
}

TEST(MessageBoxText, LinesBreakAtTheLastSpaceThatFitsAndKeepTheirOwnBreaks)
{
    EXPECT_EQ(BreakIntoLines(L"one two three four", 9), L"one two\nthree\nfour");
    EXPECT_EQ(BreakIntoLines(L"one two\nthree four", 20), L"one two\nthree four");
    EXPECT_EQ(BreakIntoLines(L"fits exactly", 12), L"fits exactly");
    EXPECT_EQ(BreakIntoLines(L"a\n\nb", 5), L"a\n\nb");
    EXPECT_EQ(BreakIntoLines(L"", 5), L"");
    // A line of 0 characters is read as 1: the text still ends.
    EXPECT_EQ(BreakIntoLines(L"ab", 0), L"a\nb");
}

TEST(MessageBoxText, AWordLongerThanALineBreaksAfterAPathSeparatorOrAtTheLength)
{
    EXPECT_EQ(BreakIntoLines(L"in /home/someone/.local/share/game.", 12),
              L"in\n/home/\nsomeone/\n.local/\nshare/game.");
    EXPECT_EQ(BreakIntoLines(L"C:\\Users\\someone", 10), L"C:\\Users\\\nsomeone");
    EXPECT_EQ(BreakIntoLines(L"abcdefghij klm", 4), L"abcd\nefgh\nij\nklm");
    EXPECT_EQ(BreakIntoLines(L"/abcdefgh", 4), L"/abc\ndefg\nh");

    const std::wstring text = L"The file x could not be saved in the folder\n/home/" + std::wstring(80, L'u') +
                              L"/.local/share/Nordwick/PetriGlowSaga\nThe game tries again.";
    for (size_t length : {1u, 7u, 20u, 60u})
    {
        const std::wstring lines = BreakIntoLines(text, length);
        for (size_t start = 0, end = 0; end != std::wstring::npos; start = end + 1)
        {
            end = lines.find(L'\n', start);
            EXPECT_LE((end == std::wstring::npos ? lines.size() : end) - start, length) << length;
        }
        EXPECT_EQ(Without(lines, L"\n "), Without(text, L"\n ")) << length;
    }
}
} // namespace
