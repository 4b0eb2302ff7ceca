#pragma once
// A recording fake of the main menu's application services, and the menu's pictures, sounds and
// texts on the screens harness.
#include "ScreenTestDoubles.h"
#include "game/scene/VisualNode.h"
#include "game/screens/MainMenuServices.h"

#include <memory>
#include <string>
#include <vector>

namespace ScreenTest
{
class FakeMenuServices : public MainMenuServices
{
public:
    struct Spawn
    {
        int id;
        float x, y;
    };

    std::string GetProfileName() override { return profileName; }
    int GetArtLanguage() override { return artLanguage; }
    int GetCurrentSong() override { return currentSong; }
    bool GetCustomCursors() override { return customCursors; }
    void SetCustomCursors(bool enabled) override { customCursors = enabled; }
    void OnAchievementEvent(int eventId) override { events.push_back(eventId); }
    void SpawnParticleSystem(int systemId, float x, float y) override { spawns.push_back({systemId, x, y}); }
    void UpdateParticles(float) override { ++particleUpdates; }
    void DrawParticles(Quoll::Graphics*) override { ++overlayDraws; }
    void KillAllParticles() override { ++particleKills; }
    void UpdateAchievementPopup(float) override {}
    void DrawAchievementPopup(Quoll::Graphics*) override {}
    std::unique_ptr<VisualNode> LoadMeshNode(const std::string& path, float gridScale) override
    {
        meshes.push_back(path + " " + std::to_string(gridScale));
        return withLogo ? std::make_unique<VisualNode>() : nullptr;
    }

    std::string profileName = "Zoë";
    int artLanguage = 0;
    int currentSong = -1;
    bool customCursors = false;
    bool withLogo = true;
    std::vector<int> events;
    std::vector<Spawn> spawns;
    std::vector<std::string> meshes;
    int particleUpdates = 0;
    int overlayDraws = 0;
    int particleKills = 0;
};

// The menu's pictures, sounds (and every sound id up to the last random salute sound) and texts.
inline void AddMenuResources(ScreenHarness& harness)
{
    harness.ui.AddImage("IMAGE_MAIN_MENU_BACKGROUND", 1024, 768, 0xFF14324A);
    harness.ui.AddImage("IMAGE_PIPETKA", 60, 90, 0xFFB0E0F0);
    harness.ui.AddImage("IMAGE_STRELKA_PROFILE", 64, 24, 0xFFFFD000);
    for (const char* sound : {"SOUND_PROFILE_OVER", "SOUND_SALUT"})
        harness.ui.Register(sound);
    const std::pair<const char*, const wchar_t*> texts[] = {
        {"UI_PLAY_GAME", L"Play"},        {"UI_SETTINGS", L"Settings"}, {"UI_HIGH_SCORE", L"High scores"},
        {"UI_CREDITS", L"Credits"},       {"UI_QUIT", L"Quit"},
        {"UI_PROFILEHINT", L"Click here to change the player"},
        {"HINT_CURSOR_SWITCH", L"Switch between the game's pointer and the system's"},
    };
    for (const auto& [key, text] : texts)
        harness.ui.texts[key] = text;
}
} // namespace ScreenTest
