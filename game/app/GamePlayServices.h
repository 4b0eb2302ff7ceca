#pragma once
// GamePlayServices: the play screen's services served by the game application. Everything is
// forwarded to GameApp's parts (resource bindings, sound, particle manager, animation cache,
// texts, achievements, widget manager); the one thing kept here is the look of the level being
// played: its asset row (background, cell skin, bacteria kinds) and its players' AI levels,
// which the play state sets when it starts a level. GameApp owns one for its whole life.
#include "game/level/AssetCfg.h"
#include "game/shell/PlayServices.h"

#include <array>
#include <optional>

class GameApp;

class GamePlayServices final : public PlayServices
{
public:
    // Players with an AI level: player 1 (the human) and the two opponents.
    static constexpr int kPlayerCount = 3;

    explicit GamePlayServices(GameApp& app) : mApp(app) {}

    // --- The level being played ----------------------------------------------------------------
    // A campaign level: the number, and its look from the application's asset table. The
    // players' AI levels return to 0 (set them after the level).
    void SetCurrentLevel(int level);
    // A level with a look of its own (a random level, whose number is below 0, or a level the
    // editor changed): the number and the asset row to draw it with, for as long as the
    // application's current level stays that number.
    void SetCurrentLevel(int level, const AssetCfg::Row& assets);
    // The AI level of a player 1..3 (others are ignored); the boss is the player whose AI level
    // is kBossAiLevel.
    void SetPlayerAiLevel(int player, int aiLevel);
    // The asset row the getters answer from.
    [[nodiscard]] const AssetCfg::Row& GetLevelAssets() const;

    // --- SceneServices --------------------------------------------------------------------------
    uint32_t RandomWord() override;
    void LogError(const std::string& line) override;
    void LogWarning(const std::string& line) override;
    [[nodiscard]] Quoll::Image* GetImageById(int id) override;
    [[nodiscard]] int GetResourceIdByName(const std::string& name) override;
    [[nodiscard]] int GetImageResourceId(const Quoll::Image* image) override;
    [[nodiscard]] bool FileExists(const std::string& path) override;
    [[nodiscard]] FrameAnimation* GetFrameAnimation(const Quoll::Image* image) override;
    [[nodiscard]] std::unique_ptr<Quoll::Image> LoadImageFile(const std::string& path) override;
    bool ReadFileToBuffer(const std::string& path, Quoll::Buffer& buffer) override;
    [[nodiscard]] int GetAppWidth() const override;
    [[nodiscard]] int GetAppHeight() const override;
    [[nodiscard]] Quoll::Rect GetScreenRect() const override;
    [[nodiscard]] bool IsDisplay3D() const override;
    [[nodiscard]] float GetFrameTime() const override;
    [[nodiscard]] uint32_t GetUpdateClockMs() const override;

    // --- PlayServices ---------------------------------------------------------------------------
    [[nodiscard]] int GetCurrentLevel() const override;
    [[nodiscard]] int GetPlayerBacteria(int player) const override;
    [[nodiscard]] int GetCellSkin() const override;
    [[nodiscard]] int GetLevelBackground() const override;
    void PlaySound(int soundId, float volume, float pan) override;
    ParticleRef SpawnParticleSystem(int id, float x, float y) override;
    [[nodiscard]] bool IsParticleAlive(const ParticleRef& system) const override;
    void MoveParticleSystem(const ParticleRef& system, float x, float y) override;
    void StopParticleSystem(const ParticleRef& system) override;
    void KillParticleSystem(const ParticleRef& system) override;
    void KillAllParticles() override;
    bool UpdateParticles(float dt) override;
    void DrawParticles(Quoll::Graphics* g) override;
    [[nodiscard]] FrameAnimation* GetEmotionAnimation(int code) override;
    bool LoadResourceGroup(const std::string& group) override;
    void UnloadResourceGroup(const std::string& group) override;
    [[nodiscard]] PointerPosition GetMousePos() const override;
    [[nodiscard]] bool IsKeyDown(int keyCode) const override;
    [[nodiscard]] bool IsMuted() const override;
    void SetMuted(bool muted) override;
    [[nodiscard]] bool HasFocus() const override;
    [[nodiscard]] bool IsActive() const override;
    [[nodiscard]] std::wstring GetText(const std::string& key) override;
    [[nodiscard]] std::string GetLocaleName() const override;
    [[nodiscard]] Quoll::Font* GetFont(const std::string& name) override;
    void OnAchievementEvent(int event) override;
    [[nodiscard]] bool IsAchieved(int achievement, bool* isNew) const override;
    void UpdateAchievementPopup(float dt) override;
    void DrawAchievementPopup(Quoll::Graphics* g) override;
    [[nodiscard]] bool IsAchievementPopupPending() const override;
    [[nodiscard]] bool IsAchievementPopupTextShown() const override;
    void DeleteWidgetLater(Quoll::Widget* widget) override;

private:
    // The live system a handle names; null for an empty or stale handle.
    [[nodiscard]] ParticleSystem* LiveSystem(const ParticleRef& system) const;

    GameApp& mApp;
    struct OwnAssets
    {
        int level;
        AssetCfg::Row row;
    };

    // The row of a level with a look of its own; empty: the asset table's row of the level.
    std::optional<OwnAssets> mOwnAssets;
    std::array<int, kPlayerCount> mAiLevels{};
};
