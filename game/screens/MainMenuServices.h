#pragma once
// MainMenuServices: what the main menu asks of the application beyond the widgets' services:
// the current profile's name, the art language, the image-cursor switch, achievement events,
// the particle systems and the achievement popup drawn above the menu, and the logo node.
// GameApp serves them; tests use a recording fake.
#include <memory>
#include <string>

namespace Quoll
{
class Graphics;
}
class VisualNode;

class MainMenuServices
{
public:
    virtual ~MainMenuServices() = default;

    // The current profile's name (UTF-8); empty without one.
    [[nodiscard]] virtual std::string GetProfileName() = 0;
    // 0 for the first language's art, anything else for the alternative art.
    [[nodiscard]] virtual int GetArtLanguage() = 0;
    // The song playing now; -1 for none.
    [[nodiscard]] virtual int GetCurrentSong() = 0;
    [[nodiscard]] virtual bool GetCustomCursors() = 0;
    // Switches image cursors on or off and refreshes the cursor.
    virtual void SetCustomCursors(bool enabled) = 0;
    virtual void OnAchievementEvent(int eventId) = 0;

    virtual void SpawnParticleSystem(int systemId, float x, float y) = 0;
    virtual void UpdateParticles(float dt) = 0;
    virtual void DrawParticles(Quoll::Graphics* g) = 0;
    virtual void KillAllParticles() = 0;
    virtual void UpdateAchievementPopup(float dt) = 0;
    virtual void DrawAchievementPopup(Quoll::Graphics* g) = 0;

    // The first node of a mesh description file with its grid scaled; null when the file is
    // missing or makes no node.
    [[nodiscard]] virtual std::unique_ptr<VisualNode> LoadMeshNode(const std::string& path, float gridScale) = 0;
};
