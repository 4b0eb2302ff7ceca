// Stresses the translation of input into window messages with their wParam/lParam
// packing, through the headless back end (the SDL back end feeds the same translation):
// keys, system keys, typed and translated characters, mouse buttons and double clicks,
// the wheel, focus, minimising, and a termination signal arriving as a close.
// Rerun one case: test_platform --gtest_filter='EventTranslation.*'
#include "HeadlessFixture.h"

#include "framework/platform/window/KeyMap.h"

#include <csignal>

namespace Quoll::Platform
{
using EventTranslation = Testing::HeadlessFixture;

TEST_F(EventTranslation, ALetterKeyGivesItsVirtualKeyAndTypedCharacter)
{
    auto taken = Script("key down A\ntext a\nkey up A\n");
    ASSERT_EQ(taken.size(), 3u);
    EXPECT_EQ(taken[0].message, WM_KEYDOWN);
    EXPECT_EQ(taken[0].wParam, WParam('A'));
    EXPECT_EQ(LoWord(uintptr_t(taken[0].lParam)), 1); // repeat count
    EXPECT_EQ(uint32_t(taken[0].lParam) >> 30, 0u); // was up, pressed
    EXPECT_EQ(taken[0].window, mMain);
    EXPECT_EQ(taken[1].message, WM_CHAR);
    EXPECT_EQ(taken[1].wParam, WParam('a'));
    EXPECT_EQ(taken[2].message, WM_KEYUP);
    EXPECT_EQ(uint32_t(taken[2].lParam) >> 30, 3u); // was down, released
    // GetKeyState follows the messages taken.
    EXPECT_EQ(mSystem.GetKeyState('A'), 0);
}

TEST_F(EventTranslation, AltEnterIsASystemKeyWithASystemCharacter)
{
    auto taken = Script("key down Alt\nkey down Return\nkey up Return\nkey up Alt\n");
    auto keys = Only(taken, {WM_SYSKEYDOWN, WM_SYSKEYUP, WM_KEYDOWN, WM_KEYUP, WM_SYSCHAR, WM_CHAR});
    ASSERT_EQ(keys.size(), 5u);
    EXPECT_EQ(keys[0].message, WM_SYSKEYDOWN);
    EXPECT_EQ(keys[0].wParam, WParam(VK_MENU));
    EXPECT_EQ(keys[1].message, WM_SYSKEYDOWN);
    EXPECT_EQ(keys[1].wParam, WParam(VK_RETURN));
    EXPECT_NE(uint32_t(keys[1].lParam) & (1u << 29), 0u); // Alt held
    EXPECT_EQ(keys[2].message, WM_SYSCHAR);
    EXPECT_EQ(keys[2].wParam, WParam(13));
    EXPECT_EQ(keys[3].message, WM_SYSKEYUP);
    EXPECT_EQ(keys[4].message, WM_SYSKEYUP);
    EXPECT_EQ(keys[4].wParam, WParam(VK_MENU));
}

TEST_F(EventTranslation, AltF4ClosesThroughTheDefaultProcedure)
{
    Script("key down Alt\nkey down F4\n");
    auto closes = Only(sReceived, {WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY});
    ASSERT_EQ(closes.size(), 3u);
    EXPECT_EQ(closes[0].wParam, SC_CLOSE);
    EXPECT_EQ(closes[1].message, WM_CLOSE);
    EXPECT_EQ(closes[2].message, WM_DESTROY);
    EXPECT_FALSE(mSystem.IsWindow(mMain));
}

TEST_F(EventTranslation, F10IsASystemKeyEvenWithoutAlt)
{
    auto taken = Script("key F10\n");
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0].message, WM_SYSKEYDOWN);
    EXPECT_EQ(taken[0].wParam, WParam(VK_F10));
    EXPECT_EQ(uint32_t(taken[0].lParam) & (1u << 29), 0u);
    EXPECT_EQ(taken[1].message, WM_SYSKEYUP);
}

TEST_F(EventTranslation, TypedAccentedCharactersArriveWhole)
{
    auto taken = Script("text é€\n");
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0].message, WM_CHAR);
    EXPECT_EQ(taken[0].wParam, WParam(0xE9));
    EXPECT_EQ(taken[1].wParam, WParam(0x20AC));
}

TEST_F(EventTranslation, TranslatedCharactersForEnterBackspaceEscapeAndCtrlLetters)
{
    auto taken = Script("key Return\nkey Backspace\nkey Escape\nkey Tab\nkey down Ctrl\nkey C\nkey up Ctrl\n");
    auto chars = Only(taken, {WM_CHAR});
    ASSERT_EQ(chars.size(), 5u);
    EXPECT_EQ(chars[0].wParam, WParam(13));
    EXPECT_EQ(chars[1].wParam, WParam(8));
    EXPECT_EQ(chars[2].wParam, WParam(27));
    EXPECT_EQ(chars[3].wParam, WParam(9));
    EXPECT_EQ(chars[4].wParam, WParam(3));
    // Each character follows its key-down at once.
    EXPECT_EQ(taken[0].message, WM_KEYDOWN);
    EXPECT_EQ(taken[1].message, WM_CHAR);
}

TEST_F(EventTranslation, RightDoubleClickNeedsTheClassStyle)
{
    auto taken = Script("mouse down right 100 200\nmouse up right 100 200\nmouse down right 100 200 clicks 2\n"
                        "mouse up right 100 200\nmouse down right 100 200 clicks 3\n");
    auto buttons = Only(taken, {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK});
    ASSERT_EQ(buttons.size(), 5u);
    EXPECT_EQ(buttons[0].message, WM_RBUTTONDOWN);
    EXPECT_EQ(buttons[0].wParam, MK_RBUTTON);
    EXPECT_EQ(SignedLoWord(uintptr_t(buttons[0].lParam)), 100);
    EXPECT_EQ(SignedHiWord(uintptr_t(buttons[0].lParam)), 200);
    EXPECT_EQ(buttons[1].wParam, 0u);
    EXPECT_EQ(buttons[2].message, WM_RBUTTONDBLCLK);
    EXPECT_EQ(buttons[4].message, WM_RBUTTONDOWN); // a third click starts a new pair

    WindowCreateInfo info;
    info.className = "PlainWindow";
    info.width = 100;
    info.height = 100;
    info.style = WS_VISIBLE;
    WindowId plain = mSystem.CreateWindowEx(info);
    InputEvent click;
    click.kind = InputKind::MouseDown;
    click.window = plain;
    click.button = MouseButton::Right;
    click.clicks = 2;
    mSystem.Feed(click);
    auto plainButtons = Only(Pump(), {WM_RBUTTONDOWN, WM_RBUTTONDBLCLK});
    ASSERT_EQ(plainButtons.size(), 1u);
    EXPECT_EQ(plainButtons[0].message, WM_RBUTTONDOWN);
}

TEST_F(EventTranslation, NegativeCoordinatesAndModifiersArePacked)
{
    mSystem.SetCapture(mMain);
    auto taken = Script("key down Shift\nmouse down left -5 -7\n");
    auto down = Only(taken, {WM_LBUTTONDOWN});
    ASSERT_EQ(down.size(), 1u);
    EXPECT_EQ(SignedLoWord(uintptr_t(down[0].lParam)), -5);
    EXPECT_EQ(SignedHiWord(uintptr_t(down[0].lParam)), -7);
    EXPECT_EQ(down[0].wParam, MK_LBUTTON | MK_SHIFT);
    EXPECT_NE(mSystem.GetKeyState(VK_LBUTTON), 0);
}

TEST_F(EventTranslation, TheWheelCountsOneHundredTwentyPerNotch)
{
    auto taken = Script("wheel 1 10 20\nwheel -2\n");
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0].message, WM_MOUSEWHEEL);
    EXPECT_EQ(WheelDelta(taken[0].wParam), 120);
    EXPECT_EQ(SignedLoWord(uintptr_t(taken[0].lParam)), 64 + 10); // screen coordinates
    EXPECT_EQ(WheelDelta(taken[1].wParam), -240);
}

TEST_F(EventTranslation, FocusLossDeactivatesAndForgetsHeldKeys)
{
    Script("key down Shift\n");
    EXPECT_NE(mSystem.GetAsyncKeyState(VK_SHIFT), 0);
    auto taken = Script("focus lost\n");
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0].message, WM_KILLFOCUS);
    EXPECT_EQ(taken[1].message, WM_ACTIVATEAPP);
    EXPECT_EQ(taken[1].wParam, 0u);
    EXPECT_EQ(mSystem.GetActiveWindow(), WindowId::None);
    EXPECT_EQ(mSystem.GetAsyncKeyState(VK_SHIFT), 0);
    auto back = Script("focus gained\n");
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].message, WM_ACTIVATEAPP);
    EXPECT_EQ(back[0].wParam, 1u);
    EXPECT_EQ(mSystem.GetActiveWindow(), mMain);
}

TEST_F(EventTranslation, MinimisingAndRestoringGiveSizeMessages)
{
    EXPECT_TRUE(mSystem.ShowWindow(mMain, SW_MINIMIZE));
    auto taken = Pump();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].message, WM_SIZE);
    EXPECT_EQ(taken[0].wParam, SIZE_MINIMIZED);
    EXPECT_TRUE(mSystem.IsIconic(mMain));
    WindowPlacement placement;
    ASSERT_TRUE(mSystem.GetWindowPlacement(mMain, placement));
    EXPECT_EQ(placement.showCmd, SW_SHOWMINIMIZED);

    auto restored = Only(Script("restore\n"), {WM_SIZE});
    ASSERT_EQ(restored.size(), 1u);
    EXPECT_EQ(restored[0].wParam, SIZE_RESTORED);
    EXPECT_EQ(LoWord(uintptr_t(restored[0].lParam)), 1024);
    EXPECT_EQ(HiWord(uintptr_t(restored[0].lParam)), 768);
    EXPECT_FALSE(mSystem.IsIconic(mMain));
}

TEST_F(EventTranslation, ExposureAndDisplayChangesReachTheWindows)
{
    auto taken = Script("expose\nexpose\ndisplaychange\n");
    ASSERT_EQ(taken.size(), 2u); // two exposures waiting make one WM_PAINT
    EXPECT_EQ(taken[0].message, WM_PAINT);
    EXPECT_EQ(taken[1].message, WM_DISPLAYCHANGE);
    EXPECT_EQ(taken[1].wParam, 32u);
    EXPECT_EQ(LoWord(uintptr_t(taken[1].lParam)), 1920);
}

TEST_F(EventTranslation, ATerminationSignalArrivesAsAClose)
{
    std::raise(SIGTERM);
    auto taken = Only(Pump(), {WM_CLOSE});
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].window, mMain);
    std::raise(SIGINT);
    EXPECT_EQ(Only(Pump(), {WM_CLOSE}).size(), 0u); // the window is gone: nobody to close
}

TEST(KeyMap, LettersFollowTheLayoutAndOtherKeysThePosition)
{
    EXPECT_EQ(VirtualKeyFromKey('q', 4), 'Q'); // the key at A's place types 'q' on a French layout
    EXPECT_EQ(VirtualKeyFromKey('&', 30), '1'); // French digit row: still '1'
    EXPECT_EQ(VirtualKeyFromKey(0, 58), VK_F1);
    EXPECT_EQ(VirtualKeyFromKey(0, 115), VK_F13 + 11);
    EXPECT_EQ(VirtualKeyFromKey(0, 226), VK_MENU);
    EXPECT_EQ(VirtualKeyFromKey(0, 230), VK_MENU);
    EXPECT_EQ(VirtualKeyFromKey(0, 98), VK_NUMPAD0);
    EXPECT_EQ(VirtualKeyFromKey(0, 0x3FF), 0);
    EXPECT_EQ(KeyFromName("return").usage, 40);
    EXPECT_EQ(KeyFromName("f24").usage, 115);
    EXPECT_EQ(KeyFromName("F25").usage, 0);
}
} // namespace Quoll::Platform
