// Stresses threads and text conversion helpers of the platform: a thread joins when its
// owner goes, priorities are best effort, and UTF-8 text survives the trip through wide
// text while malformed bytes become U+FFFD instead of being lost silently.
// Rerun one case: test_platform --gtest_filter='Thread.*:Utf8.*'
#include "framework/platform/system/Thread.h"
#include "framework/platform/system/Utf8.h"

#include <atomic>
#include <gtest/gtest.h>
#include <random>

namespace Quoll::Platform
{
static_assert(!std::is_copy_constructible_v<Thread>);
static_assert(std::is_move_constructible_v<Thread>);

TEST(Thread, JoinsWhenItsOwnerGoesAndHasItsOwnId)
{
    std::atomic<uint32_t> childId{0};
    std::atomic<bool> ran{false};
    {
        Thread thread([&] {
            childId = CurrentThreadId();
            ran = true;
        });
        Thread moved = std::move(thread);
        EXPECT_FALSE(thread.Joinable());
    }
    EXPECT_TRUE(ran.load());
    EXPECT_NE(childId.load(), 0u);
    EXPECT_NE(childId.load(), CurrentThreadId());
}

TEST(Thread, PriorityChangesAreBestEffort)
{
    Thread([] {
        bool raised = SetCurrentThreadPriority(ThreadPriority::AboveNormal);
        // Without the privilege the thread carries on at the priority it had.
        EXPECT_EQ(CurrentThreadPriority(), raised ? ThreadPriority::AboveNormal : ThreadPriority::Normal);
        EXPECT_TRUE(SetCurrentThreadPriority(ThreadPriority::Normal) || !raised);
    }).Join();
}

TEST(Utf8, RoundTripsThroughWideText)
{
    std::string text = "Grüße, € and 🦠";
    std::wstring wide = Utf8ToWide(text);
    EXPECT_EQ(wide.size(), 14u);
    EXPECT_EQ(wide[2], L'\u00FC');
    EXPECT_EQ(wide.back(), wchar_t(0x1F9A0));
    EXPECT_EQ(WideToUtf8(wide), text);
}

TEST(Utf8, MalformedBytesBecomeReplacementCharacters)
{
    EXPECT_EQ(Utf8CodePoints("a\xFF" "b"), (std::vector<char32_t>{'a', 0xFFFD, 'b'}));
    EXPECT_EQ(Utf8CodePoints("\xC3"), (std::vector<char32_t>{0xFFFD})); // cut short
    EXPECT_EQ(Utf8CodePoints("\xC0\xAF"), (std::vector<char32_t>{0xFFFD, 0xFFFD})); // overlong
    EXPECT_EQ(Utf8CodePoints("\xED\xA0\x80").front(), char32_t(0xFFFD)); // a surrogate
    EXPECT_EQ(WideToUtf8(std::wstring(1, wchar_t(0xD800))), "\xEF\xBF\xBD");

    // Random bytes never read past their end and always give valid code points.
    uint32_t seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    for (int round = 0; round < 200; ++round)
    {
        std::string bytes(random() % 16, '\0');
        for (char& c : bytes)
            c = char(random() % 3 == 0 ? 0x80 | (random() & 0x3F) : random() & 0xFF);
        for (char32_t c : Utf8CodePoints(bytes))
            ASSERT_TRUE(c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF));
        std::string again = WideToUtf8(Utf8ToWide(bytes));
        EXPECT_EQ(WideToUtf8(Utf8ToWide(again)), again);
    }
}
} // namespace Quoll::Platform
