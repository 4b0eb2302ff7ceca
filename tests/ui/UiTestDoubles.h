#pragma once
// Test doubles of the game's widgets, shared with the screens suite: FakeUiServices (texts from
// a map, images and sounds registered by name, recorded sounds, cursors, groups and log lines in
// call order, a real widget manager over a screen image, a dialog registry by id and a deferred
// deletion run by the test) and a fixed-metrics font that draws every character as a block.
#include "framework/display/Font.h"
#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "framework/widgets/WidgetManager.h"
#include "game/ui/UiServices.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace UiTest
{
// Characters 6 pixels apart, each a 5 x 8 block above the baseline (none for a space).
class BlockFont final : public Quoll::Font
{
public:
    static constexpr int kAdvance = 6;

    int GetHeight() const override { return 10; }
    int GetAscent() const override { return 8; }
    int GetAscentPadding() const override { return 0; }
    int GetLineSpacing() const override { return 10; }
    int StringWidth(const std::wstring& text) override { return kAdvance * static_cast<int>(text.size()); }
    int CharWidthKern(wchar_t, wchar_t) override { return kAdvance; }
    void DrawString(Quoll::Graphics* g, int x, int y, const std::wstring& text, const Quoll::Color& color,
                    const Quoll::Rect& clip) override;
    std::unique_ptr<Quoll::Font> Duplicate() const override { return std::make_unique<BlockFont>(*this); }
};

// A plain image of one colour; cels as given.
std::unique_ptr<Quoll::MemoryImage> MakeImage(int width, int height, uint32_t argb, int columns = 1, int rows = 1);

class FakeUiServices : public UiServices
{
public:
    // Sets itself as the program-wide services; clears them when destroyed.
    FakeUiServices();
    ~FakeUiServices() override;
    FakeUiServices(const FakeUiServices&) = delete;
    FakeUiServices& operator=(const FakeUiServices&) = delete;

    // --- SceneServices ---
    uint32_t RandomWord() override { return mRandom = mRandom * 1103515245u + 12345u, mRandom >> 1; }
    void LogError(const std::string& line) override { log.push_back("ERROR: " + line); }
    void LogWarning(const std::string& line) override { log.push_back("WARNING: " + line); }
    Quoll::Image* GetImageById(int id) override;
    int GetResourceIdByName(const std::string& name) override;
    int GetImageResourceId(const Quoll::Image* image) override;
    bool FileExists(const std::string& path) override;
    FrameAnimation* GetFrameAnimation(const Quoll::Image*) override { return nullptr; }
    [[nodiscard]] int GetAppWidth() const override { return appWidth; }
    [[nodiscard]] int GetAppHeight() const override { return appHeight; }
    [[nodiscard]] Quoll::Rect GetScreenRect() const override { return {0, 0, appWidth, appHeight}; }
    [[nodiscard]] float GetFrameTime() const override { return 0.01f; }
    [[nodiscard]] uint32_t GetUpdateClockMs() const override { return 0; }

    // --- UiServices ---
    std::wstring GetText(const std::string& key) override;
    void PlaySound(int soundId, float volume, float pan) override;
    bool LoadResourceGroup(const std::string& group) override;
    void UnloadResourceGroup(const std::string& group) override;
    Quoll::Font* GetFontNamed(const std::string& name) override;
    void SetCursor(int cursor) override { cursors.push_back(cursor); }
    void AddWidget(Quoll::Widget* widget) override;
    void RemoveWidget(Quoll::Widget* widget) override;
    void SetFocus(Quoll::Widget* widget) override { manager.SetFocus(widget); }
    void DeleteWidgetLater(Quoll::Widget* widget) override;
    Quoll::AppDialog* GetDialog(int id) override;
    void AddDialogObject(Quoll::AppDialog* dialog) override;
    void KillDialog(int id, bool deleteWidget) override;

    // --- Set-up and checks ---
    // Binds a name to a new id, with an image or without (sounds).
    int Register(const std::string& name, Quoll::Image* image = nullptr);
    // A plain image of one colour bound to the name; owned by the fake.
    Quoll::MemoryImage* AddImage(const std::string& name, int width, int height, uint32_t argb, int columns = 1,
                                 int rows = 1);
    // Deletes the widgets handed to the deferred deletion (what the application does after an update).
    void RunDeferredDeletes();
    // One update and one whole frame of the manager on a black screen, then the deferred deletions.
    void Step();
    // The sounds played, by name.
    [[nodiscard]] std::vector<std::string> SoundNames() const;
    [[nodiscard]] int CountLog(const std::string& prefix) const;
    [[nodiscard]] uint32_t Pixel(int x, int y);

    std::map<std::string, std::wstring> texts;
    std::map<std::string, Quoll::Font*> fonts; // not owned
    std::set<std::string> failingGroups;
    std::vector<std::string> groupCalls; // "load X" / "unload X"
    std::vector<int> sounds;
    std::vector<int> cursors;
    std::vector<std::string> log;
    std::vector<const Quoll::Widget*> deleted;
    int appWidth = 1024;
    int appHeight = 768;
    Quoll::MemoryImage screen;
    Quoll::WidgetManager manager;

private:
    uint32_t mRandom = 1;
    std::map<int, Quoll::Image*> mImages;
    std::map<std::string, int> mIds;
    std::vector<std::unique_ptr<Quoll::MemoryImage>> mOwnedImages;
    std::map<int, Quoll::AppDialog*> mDialogs;
    std::vector<Quoll::Widget*> mPendingDeletes;
};
} // namespace UiTest
