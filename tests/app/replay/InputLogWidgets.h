#pragma once
// A widget manager for replay checks: every input call becomes a line ("KeyDown 65",
// "MouseDown 2" with the position given apart) handed to the application's note function, and
// each key press also to its key function; the null manager keeps the key table and the mouse
// mapping so that the application's own bookkeeping behaves as with real widgets.
#include "framework/app/AppWidgetManager.h"

#include <functional>
#include <string>
#include <utility>

namespace QuollReplay
{
class InputLogWidgets final : public Quoll::AppWidgetManager
{
public:
    // x and y are -1 for input without a position.
    using NoteFunction = std::function<void(const std::string& what, int x, int y)>;
    using KeyFunction = std::function<void(int keyCode)>;

    InputLogWidgets(NoteFunction note, KeyFunction keyAction)
        : mNote(std::move(note)), mKeyAction(std::move(keyAction))
    {
    }

    void KeyDown(int keyCode) override
    {
        mNull.KeyDown(keyCode);
        Note("KeyDown " + std::to_string(keyCode));
        mKeyAction(keyCode);
    }
    void KeyUp(int keyCode) override
    {
        mNull.KeyUp(keyCode);
        Note("KeyUp " + std::to_string(keyCode));
    }
    void KeyChar(wchar_t character) override { Note("KeyChar " + std::to_string(int(character))); }
    void MouseMove(int x, int y) override { mNote("MouseMove", x, y); }
    void MouseDown(int x, int y, int count) override { mNote("MouseDown " + std::to_string(count), x, y); }
    void MouseUp(int x, int y, int count) override { mNote("MouseUp " + std::to_string(count), x, y); }
    void MouseWheel(int steps) override { Note("MouseWheel " + std::to_string(steps)); }
    void MouseExit() override { Note("MouseExit"); }
    void SetMouseRects(const Quoll::MouseRect& source, const Quoll::MouseRect& destination) override
    {
        mNull.SetMouseRects(source, destination);
    }
    void RemapMouse(int& x, int& y) const override { mNull.RemapMouse(x, y); }
    void GotFocus() override { Note("GotFocus"); }
    void LostFocus() override
    {
        mNull.LostFocus();
        Note("LostFocus");
    }
    void ReleaseDownButtons() override {}
    [[nodiscard]] bool IsKeyDown(int keyCode) const override { return mNull.IsKeyDown(keyCode); }
    void ClearKeysDown() override { mNull.ClearKeysDown(); }
    bool UpdateFrame() override { return false; }
    bool UpdateFrameSmooth(float) override { return false; }
    bool DrawScreen() override { return false; }
    void SetScreenImage(Quoll::Image* screen) override { mNull.SetScreenImage(screen); }
    void MarkAllDirty() override {}
    void SystemColoursChangedAll() override {}
    void AddWidget(Quoll::Widget*) override {}
    void RemoveWidget(Quoll::Widget*) override {}

private:
    void Note(const std::string& what) { mNote(what, -1, -1); }

    NoteFunction mNote;
    KeyFunction mKeyAction;
    Quoll::NullWidgetManager mNull;
};
} // namespace QuollReplay
