#pragma once
// GameUiServices: the game widgets' services served by the game application: texts, sounds,
// groups, fonts and images by resource name, the cursor, the widget manager and the dialogs by
// id. GameApp owns one and installs it as the widgets' services while it runs.
#include "game/ui/UiServices.h"

class GameApp;

class GameUiServices final : public UiServices
{
public:
    explicit GameUiServices(GameApp& app) : mApp(app) {}

    // --- SceneServices ---
    uint32_t RandomWord() override;
    void LogError(const std::string& line) override;
    void LogWarning(const std::string& line) override;
    Quoll::Image* GetImageById(int id) override;
    int GetResourceIdByName(const std::string& name) override;
    int GetImageResourceId(const Quoll::Image* image) override;
    bool FileExists(const std::string& path) override;
    FrameAnimation* GetFrameAnimation(const Quoll::Image* image) override;
    std::unique_ptr<Quoll::Image> LoadImageFile(const std::string& path) override;
    bool ReadFileToBuffer(const std::string& path, Quoll::Buffer& buffer) override;
    [[nodiscard]] bool IsDisplay3D() const override;
    [[nodiscard]] int GetAppWidth() const override;
    [[nodiscard]] int GetAppHeight() const override;
    [[nodiscard]] Quoll::Rect GetScreenRect() const override;
    [[nodiscard]] float GetFrameTime() const override;
    [[nodiscard]] uint32_t GetUpdateClockMs() const override;

    // --- UiServices ---
    std::wstring GetText(const std::string& key) override;
    void PlaySound(int soundId, float volume, float pan) override;
    bool LoadResourceGroup(const std::string& group) override;
    void UnloadResourceGroup(const std::string& group) override;
    Quoll::Font* GetFontNamed(const std::string& name) override;
    void SetCursor(int cursor) override;
    void AddWidget(Quoll::Widget* widget) override;
    void RemoveWidget(Quoll::Widget* widget) override;
    void SetFocus(Quoll::Widget* widget) override;
    void DeleteWidgetLater(Quoll::Widget* widget) override;
    Quoll::AppDialog* GetDialog(int id) override;
    void AddDialogObject(Quoll::AppDialog* dialog) override;
    void KillDialog(int id, bool deleteWidget) override;

private:
    GameApp& mApp;
};
