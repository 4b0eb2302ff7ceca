#pragma once
// Doubles of the end-of-level dialog, the comics viewer and the editor panel: their art on the
// harness's services and a recording fake of the dialog's game services.
#include "ScreenTestDoubles.h"
#include "game/screens/EndLevelDlg.h"

#include <string>
#include <vector>

namespace ScreenTest
{
// The panel, medals, avatars, cross, comic pages and medal icons as framed pictures on the
// harness (kept while the art lives), and the score lines' texts with their numbers.
class EndScreensArt
{
public:
    explicit EndScreensArt(ScreenHarness& harness);

private:
    std::vector<std::unique_ptr<Quoll::MemoryImage>> mImages;
};

inline EndScreensArt::EndScreensArt(ScreenHarness& harness)
{
    UiTest::FakeUiServices& ui = harness.ui;
    auto add =
        [this, &ui](const std::string& name, int width, int height, uint32_t fill, uint32_t frame)
    {
        mImages.push_back(MakeFramedImage(width, height, fill, frame));
        ui.Register(name, mImages.back().get());
    };
    add("IMAGE_PANEL_ENDLEVEL", 560, 460, 0xFF1E2A44, 0xFF5A7AB8);
    add("IMAGE_MEDAL1", 96, 96, 0xFFC08040, 0xFFF0C8A0);
    add("IMAGE_MEDAL2", 96, 96, 0xFFC0C8D0, 0xFFFFFFFF);
    add("IMAGE_MEDAL3", 96, 96, 0xFFF0C020, 0xFFFFF0A0);
    add("IMAGE_BIGBODY_1", 200, 180, 0xFF30B050, 0xFF90F0A0);
    for (int kind = 2; kind <= 8; ++kind)
        add("IMAGE_BIGBODY_" + std::to_string(kind) + "E", 200, 180, 0xFFB03030 + 0x1000 * kind,
            0xFFF09090);
    add("IMAGE_KREST", 24, 24, 0xFFD03030, 0xFFFFFFFF);
    for (int page = 1; page <= 7; ++page)
        add("IMAGE_COMIC" + std::to_string(page), 640, 480, 0xFF203040 + 0x100000 * page,
            0xFFC0D0E0);
    add("IMAGE_FCOMIC1", 640, 480, 0xFF402030, 0xFFE0C0D0);
    add("IMAGE_FCOMIC2", 640, 480, 0xFF403020, 0xFFE0D0C0);
    add("IMAGE_ICON_MEDAL1", 32, 32, 0xFFF0C020, 0xFFFFF0A0);
    add("IMAGE_ICON_MEDAL2", 32, 32, 0xFFC0C8D0, 0xFFFFFFFF);
    add("IMAGE_ICON_MEDAL3", 32, 32, 0xFFC08040, 0xFFF0C8A0);
    for (const char* sound :
         {"SOUND_LEVEL_LOOSE", "SOUND_LEVEL_WIN", "SOUND_GAME_WIN", "SOUND_SCORE_CALC",
          "SOUND_SCORE_CALC_FIN", "SOUND_MEDAL_SHOW", "SOUND_SALUT", "SOUND_COMICS_NEXT"})
        ui.Register(sound);
    ui.texts["UI_LEVEL_WIN"] = L"Well done, %s!";
    ui.texts["UI_LEVEL_FAIL"] = L"%s, the colony was lost in round %d";
    ui.texts["UI_FINISH_SCORE_CAPTURE"] = L"Capture points: %u";
    ui.texts["UI_FINISH_SCORE_FAST_GAME"] = L"Quick win bonus: %u";
    ui.texts["UI_FINISH_SCORE_SQUARE"] = L"Dish covered: %u";
    ui.texts["UI_FINISH_SCORE_TOTAL"] = L"Total score: %u";
    ui.texts["UI_FINISH_LEVEL_HISCORE_HIT"] = L"A new best score!";
    ui.texts["UI_OK"] = L"OK";
    ui.texts["UI_RESTART"] = L"Restart";
    ui.texts["UI_NEXT"] = L"Next";
    ui.texts["UI_CONTINUE"] = L"Continue";
    ui.texts["HINT_SKIP_COMICS"] = L"Skip the story";
}

class FakeEndLevelServices : public EndLevelServices
{
public:
    struct Spawn
    {
        int id;
        float x, y;
    };

    std::wstring GetProfileName() override { return L"Ada"; }
    int GetCurrentLevel() override { return level; }
    int GetPlayerBacteria(int player) override { return player == 1 ? 1 : opponentKind; }
    float GetFrameTime() override { return frameTime; }
    void OnAchievementEvent(int event) override { events.push_back(event); }
    void SpawnParticleSystem(int id, float x, float y) override { spawns.push_back({id, x, y}); }
    void KillAllParticles() override { ++kills; }
    void DrawParticles(Quoll::Graphics*) override { ++particleDraws; }

    [[nodiscard]] int CountSpawns(int id) const
    {
        int count = 0;
        for (const Spawn& spawn : spawns)
            count += spawn.id == id ? 1 : 0;
        return count;
    }

    int level = 5;
    int opponentKind = 3;
    float frameTime = 0.01f;
    std::vector<int> events;
    std::vector<Spawn> spawns;
    int kills = 0;
    int particleDraws = 0;
};
} // namespace ScreenTest
