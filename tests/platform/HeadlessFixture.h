#pragma once
// A headless window system with one window class that records every message its
// procedure receives, and a main window created from it.
#include "framework/platform/window/headless/HeadlessWindowSystem.h"

#include <gtest/gtest.h>
#include <vector>

namespace Quoll::Platform::Testing
{
class HeadlessFixture : public ::testing::Test
{
protected:
    static inline std::vector<Message> sReceived;
    static inline HeadlessWindowSystem* sSystem = nullptr;

    static LResult Record(WindowId window, uint32_t message, WParam wParam, LParam lParam)
    {
        sReceived.push_back({window, message, wParam, lParam, 0});
        return sSystem->DefWindowProc(window, message, wParam, lParam);
    }

    void SetUp() override
    {
        sReceived.clear();
        sSystem = &mSystem;
        ASSERT_TRUE(mSystem.RegisterClass({"MainWindow", CS_DBLCLKS, &Record}));
        ASSERT_TRUE(mSystem.RegisterClass({"PlainWindow", 0, &Record}));
        WindowCreateInfo info;
        info.className = "MainWindow";
        info.title = L"Test";
        info.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE;
        info.x = 64;
        info.y = 64;
        info.width = 1024;
        info.height = 768;
        mMain = mSystem.CreateWindowEx(info);
        ASSERT_NE(mMain, WindowId::None);
        Pump();
        sReceived.clear();
    }

    void TearDown() override { sSystem = nullptr; }

    // Takes every queued message, translating and dispatching it as a message loop does.
    std::vector<Message> Pump()
    {
        std::vector<Message> taken;
        Message message;
        while (mSystem.PeekMessage(message))
        {
            taken.push_back(message);
            mSystem.TranslateMessage(message);
            mSystem.DispatchMessage(message);
        }
        return taken;
    }

    // The messages of the given kinds among those taken.
    static std::vector<Message> Only(const std::vector<Message>& messages, std::initializer_list<uint32_t> kinds)
    {
        std::vector<Message> out;
        for (const Message& message : messages)
            if (std::find(kinds.begin(), kinds.end(), message.message) != kinds.end())
                out.push_back(message);
        return out;
    }

    std::vector<Message> Script(std::string_view text)
    {
        std::string error;
        EXPECT_TRUE(mSystem.LoadScript(text, &error)) << error;
        return Pump();
    }

    HeadlessWindowSystem mSystem;
    WindowId mMain = WindowId::None;
};
} // namespace Quoll::Platform::Testing
