#pragma once
// The fast menu's test set-up: the play services with its art (plain coloured stand-ins at their
// ids), the widgets' services its buttons use, a screen widget that records the commands its
// buttons send (the sound command toggles the mute, as the play state does) and draws what a
// test gives it, and a level whose medal rule the test sets.
#include "../ui/UiTestDoubles.h"
#include "PlayTestFixture.h"
#include "game/level/Level.h"
#include "game/level/NullLevelServices.h"
#include "game/level/NullLevelView.h"
#include "game/play/FastMenu.h"
#include "game/ui/Button.h"
#include "game/ui/GameColors.h"
#include "game/ui/QuollWidget.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class RecordingScene : public QuollWidget
{
public:
    explicit RecordingScene(FakePlayServices& services) : mServices(services) {}
    void SendToLink(int command, int argument) override
    {
        std::string line = std::to_string(command) + " " + std::to_string(argument);
        if (menu != nullptr && command == Quoll::FastMenu::kMainMenu)
            line += " state " + std::to_string(menu->GetMenuState());
        commands.push_back(line);
        if (command == Quoll::FastMenu::kSound)
            mServices.SetMuted(!mServices.IsMuted());
    }

    void Draw(Quoll::Graphics* g) override
    {
        if (draw)
            draw(g);
    }

    std::vector<std::string> commands;
    const Quoll::FastMenu* menu = nullptr;
    // What the screen draws; nothing when empty.
    std::function<void(Quoll::Graphics*)> draw;

private:
    FakePlayServices& mServices;
};

class FastMenuTest : public ::testing::Test
{
protected:
    FastMenuTest()
    {
        ResetPlayGlobalsForTests();
        int id = 3000;
        const auto add = [this, &id](const std::string& name, int w, int h, uint32_t argb, int atId = 0) {
            mArt.push_back(UiTest::MakeImage(w, h, argb));
            mArt.back()->mFilePath = name;
            services.Register(atId != 0 ? atId : id++, name, mArt.back().get());
        };
        add("IMAGE_FASTMENU_BG", 600, 130, 0xFF2A4A7Au);
        add("IMAGE_BTN1", 160, 48, 0xFF3A6AB0u);
        add("IMAGE_BTN1_OVER", 160, 48, 0xFF5A8AD0u);
        add("IMAGE_BTN2", 160, 48, 0xFF3AB06Au);
        add("IMAGE_BTN2_OVER", 160, 48, 0xFF5AD08Au);
        add("IMAGE_SOUND_ON", 48, 48, 0xFFE0E0E0u);
        add("IMAGE_SOUND_OFF", 48, 48, 0xFF808080u);
        add("IMAGE_BACKSTEP_FONE", 72, 72, 0xFF4FC7F8u);
        add("IMAGE_ICON_FONE", 32, 32, 0xFF1E3050u);
        add("IMAGE_ICON_CELL", 32, 32, 0xFF60C060u);
        add("IMAGE_ICON_ROUND", 32, 32, 0xFFC0C060u);
        for (int n = 1; n <= 3; ++n)
            add("IMAGE_BACKSTEP_X" + std::to_string(n), 32, 32, 0xFFF0C020u, 197 + n);
        const uint32_t medals[3] = {0xFFD59E65u, 0xFFDCDCDCu, 0xFFF1C321u};
        for (int n = 1; n <= 3; ++n)
            add("IMAGE_ICON_MEDAL" + std::to_string(n), 32, 32, medals[n - 1], 202 + n);
        int sound = 400;
        for (const char* name : {"SOUND_MEDAL_GOTFLYFX", "SOUND_MEDAL_GOTFX", "SOUND_MEDAL_LOOSEFX"})
            services.RegisterSound(sound++, name);
        for (int particle : {9, 10, 11, 97})
            services.registeredParticles.insert(particle);
        services.texts["UI_RANDOMLEVEL"] = L"Random dish";
        services.texts["UI_HINT_MEDALMODE_CELLS"] = L"Hold as many cells as you can";
        services.texts["UI_HINT_MEDALMODE_ROUND"] = L"Win in as few rounds as you can";
        ui.texts["HINT_ENABLE_SOUND"] = L"Turn the sound on";
        ui.texts["HINT_DISABLE_SOUND"] = L"Turn the sound off";
        Remake();
    }
    ~FastMenuTest() override
    {
        scene.menu = nullptr;
        menu.reset();
        ResetPlayGlobalsForTests();
    }

    // A new menu (buttons of an earlier one stay on the scene, hidden).
    void Remake()
    {
        if (menu)
            menu->Detach();
        menu = std::make_unique<Quoll::FastMenu>(services);
        menu->Init(&scene, &level);
        scene.menu = menu.get();
    }
    void SetRule(MedalMode mode, int first, int second)
    {
        if (level.GetMedalRule().mode != static_cast<int32_t>(mode))
            level.EditToggleMedalMode();
        level.EditSetMedalThresholds(first, second);
    }
    void Step(int count = 1)
    {
        for (int i = 0; i < count; ++i)
            menu->Update(0.01f);
    }
    // Opens the shown menu under the pointer.
    void OpenFully()
    {
        Step(20);
        menu->MouseMove(500, 10);
        Step(20);
        ASSERT_EQ(menu->GetMenuState(), Quoll::FastMenu::kOpen);
    }
    // Steps until the medal animation ends; the number of steps it took.
    int StepsUntilLanded()
    {
        int steps = 0;
        while (menu->GetMovingMedalIcon() != nullptr && steps < 100)
        {
            Step();
            ++steps;
        }
        return steps;
    }
    [[nodiscard]] bool ButtonsVisible() const
    {
        return menu->GetButton(Quoll::FastMenu::kMainMenu)->mVisible &&
               menu->GetButton(Quoll::FastMenu::kRestart)->mVisible && menu->GetButton(Quoll::FastMenu::kSound)->mVisible;
    }
    Quoll::Image* Image(const std::string& name) { return services.GetImageById(services.GetResourceIdByName(name)); }
    Quoll::Image* Medal(int grade) { return services.GetImageById(203 + grade); }
    static LevelParams Cells(int humanCells)
    {
        LevelParams p;
        p.Init(61, 2);
        p.playerCells[0] = humanCells;
        return p;
    }
    static LevelParams Rounds(int round)
    {
        LevelParams p;
        p.Init(61, 2);
        p.round = round;
        return p;
    }

    std::vector<std::unique_ptr<Quoll::MemoryImage>> mArt;
    UiTest::FakeUiServices ui;
    FakePlayServices services{11};
    NullLevelView levelView;
    NullLevelServices levelServices;
    Level level{levelView, levelServices};
    RecordingScene scene{services};
    std::unique_ptr<Quoll::FastMenu> menu;
};
