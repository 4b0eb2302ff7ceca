#include "WidgetTestSupport.h"
#include "tests/app/TestApp.h"

#include "framework/platform/window/WindowMessages.h"
#include "framework/widgets/EditWidget.h"

#include <gtest/gtest.h>

using namespace QuollTest;
using Quoll::EditWidget;
namespace VK = Quoll::Platform;

namespace
{
// Refuses digits, and any text that starts with a space; logs Enter.
struct Listener : Quoll::EditListener
{
    void EditWidgetText(int id, const std::wstring& text) override { entered.push_back(std::to_wstring(id) + L":" + text); }
    bool AllowChar(int, wchar_t c) override { return c < L'0' || c > L'9'; }
    bool AllowText(int, const std::wstring& text) override { return text.empty() || text[0] != L' '; }
    bool AllowKey(int, int key) override { return key != VK::VK_HOME; }
    std::vector<std::wstring> entered;
};

struct EditFixture : ManagerFixture
{
    EditFixture() : edit(Add(new EditWidget(2, &listener)))
    {
        edit->Resize(0, 0, 80, 20);
        edit->SetFont(&font);
        manager.SetFocus(edit);
    }
    void Type(const std::wstring& text)
    {
        for (wchar_t c : text)
            manager.KeyChar(c);
    }
    FakeFont font;
    Listener listener;
    EditWidget* edit;
};
} // namespace

TEST(EditWidget, TypingStopsAtTheMaximumAndRefusedCharactersAreLeftOut)
{
    EditFixture f;
    f.edit->mMaxChars = 5;
    f.Type(L"ab1c");
    EXPECT_EQ(f.edit->mString, L"abc");
    f.Type(L"defg");
    EXPECT_EQ(f.edit->mString, L"abcde");
    EXPECT_EQ(f.edit->mCursorPos, 5);
    f.Type(L"\t\x1b"); // control characters are not text
    EXPECT_EQ(f.edit->mString, L"abcde");

    f.edit->SetText(L"far too long");
    EXPECT_EQ(f.edit->mString, L"far t");
    // A new text the listener refuses changes nothing.
    f.manager.KeyDown(VK::VK_END);
    f.Type(L"\b\b\b\b\b ");
    EXPECT_EQ(f.edit->mString, L"");
}

TEST(EditWidget, EnterGivesTheTextAndEditingKeysMoveAndSelect)
{
    EditFixture f;
    f.Type(L"hello");
    f.manager.KeyDown(VK::VK_LEFT);
    f.manager.KeyDown(VK::VK_LEFT);
    f.Type(L"X");
    EXPECT_EQ(f.edit->mString, L"helXlo");
    f.Type(L"\b");
    EXPECT_EQ(f.edit->mString, L"hello");
    f.manager.KeyDown(VK::VK_DELETE);
    EXPECT_EQ(f.edit->mString, L"helo");
    f.manager.KeyDown(VK::VK_SHIFT);
    f.manager.KeyDown(VK::VK_RIGHT);
    f.manager.KeyDown(VK::VK_RIGHT);
    f.manager.KeyUp(VK::VK_SHIFT);
    EXPECT_TRUE(f.edit->HasSelection());
    f.Type(L"p!");
    EXPECT_EQ(f.edit->mString, L"help!");
    f.manager.KeyDown(VK::VK_HOME); // refused by the listener
    EXPECT_EQ(f.edit->mCursorPos, 5);
    f.Type(L"\r");
    EXPECT_EQ(f.listener.entered, std::vector<std::wstring>{L"2:help!"});

    f.edit->mPasswordChar = L'*';
    EXPECT_EQ(f.edit->GetDisplayString(), L"*****");
}

TEST(EditWidget, ClipboardGoesThroughTheApplication)
{
    TestApp app;
    Quoll::WidgetManager manager(&app);
    Listener listener;
    FakeFont font;
    EditWidget edit(2, &listener);
    edit.SetFont(&font);
    edit.Resize(0, 0, 80, 20);
    edit.mMaxChars = 8;
    manager.AddWidget(&edit);
    manager.SetFocus(&edit);

    app.Headless().SetClipboardText("ab7cdefghij\nsecond line");
    manager.KeyChar(L'[');
    manager.KeyChar(22); // Ctrl+V: the first line, without refused characters, up to the maximum
    EXPECT_EQ(edit.mString, L"[abcdefg");

    manager.KeyChar(1);  // Ctrl+A
    manager.KeyChar(24); // Ctrl+X
    EXPECT_EQ(edit.mString, L"");
    EXPECT_EQ(app.Headless().GetClipboardText(), "[abcdefg");

    edit.SetText(L"secret");
    edit.mPasswordChar = L'*';
    manager.KeyChar(1);
    manager.KeyChar(3); // a password is never copied
    EXPECT_EQ(app.Headless().GetClipboardText(), "[abcdefg");
    manager.RemoveWidget(&edit);
}

TEST(EditWidget, TheCaretBlinksOnlyWithFocusAndClicksPlaceTheCursor)
{
    EditFixture f;
    f.Type(L"abcdef");
    for (int i = 0; i < EditWidget::kBlinkUpdates; ++i)
        f.manager.UpdateFrame();
    EXPECT_FALSE(f.edit->mBlinkVal);
    // Characters start 4 pixels in, 6 apart: x = 17 is nearest to the boundary after two.
    f.manager.MouseDown(17, 10, 1);
    f.manager.MouseUp(17, 10, 1);
    EXPECT_EQ(f.edit->mCursorPos, 2);
    EXPECT_TRUE(f.edit->mBlinkVal);
    f.manager.SetFocus(nullptr);
    for (int i = 0; i < 2 * EditWidget::kBlinkUpdates; ++i)
        f.manager.UpdateFrame();
    EXPECT_TRUE(f.edit->mBlinkVal);

    // A long text scrolls so that the cursor stays in view.
    f.manager.SetFocus(f.edit);
    f.edit->SetText(std::wstring(30, L'w'));
    EXPECT_GT(f.edit->mLeftPos, 0);
    EXPECT_LE(6 * (f.edit->mCursorPos - f.edit->mLeftPos), 80 - 8);
}
