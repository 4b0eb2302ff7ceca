#include "SceneTestFixture.h"

#include "game/level/LevelText.h"
#include "game/play/PlayGlobals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

namespace
{
// A dim blue-green wash with soft lighter clouds, the size of the screen.
std::unique_ptr<Quoll::MemoryImage> MakeBackground(int width, int height)
{
    auto image = std::make_unique<Quoll::MemoryImage>();
    std::vector<uint32_t> bits(static_cast<size_t>(width * height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const double fy = static_cast<double>(y) / height;
            const double glow = std::exp(-(std::pow(x - 300.0, 2) + std::pow(y - 250.0, 2)) / 60000.0) +
                                0.7 * std::exp(-(std::pow(x - 780.0, 2) + std::pow(y - 560.0, 2)) / 40000.0);
            const int r = static_cast<int>(14 + 20 * glow);
            const int g = static_cast<int>(34 + 26 * fy + 40 * glow);
            const int b = static_cast<int>(48 + 30 * (1 - fy) + 44 * glow);
            bits[static_cast<size_t>(y * width + x)] =
                0xFF000000u | static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 | static_cast<uint32_t>(b);
        }
    image->SetBits(bits.data(), width, height);
    image->mFilePath = "IMAGE_PLAYFONE";
    return image;
}
} // namespace

void SceneLink::OnCommand(int command, int argument)
{
    commands.emplace_back(command, argument);
    if (session == nullptr || !session->HasLevel())
        return;
    if (command == GameScene::kCommandClick)
        session->GetLevel().OnMouseDown(lastPress);
    else
        session->OnLevelCommand(command, argument);
}

SceneHarness::SceneHarness(uint32_t seed, SceneHooks hooks)
    : services(seed),
      host(FlowLog([](const std::string&) {}, [this](const std::string& line) { warnings.push_back(line); }))
{
    ResetPlayGlobalsForTests();
    services.RegisterArt();
    mBackground = MakeBackground(kWidth, kHeight);
    services.Register(4000, "IMAGE_PLAYFONE", mBackground.get());
    scene = new GameScene(services, std::move(hooks));
    link = std::make_unique<SceneLink>(host, scene);
}

SceneHarness::~SceneHarness()
{
    session.reset();
    // A scene never shown was never handed to the widget toolkit.
    if (!mShown)
        delete scene;
    host.ExitAll();
    ui.RunDeferredDeletes();
    ResetPlayGlobalsForTests();
}

void SceneHarness::Show()
{
    host.PushState(*link);
    mShown = true;
}

void SceneHarness::Close()
{
    host.PopState();
    ui.RunDeferredDeletes();
    scene = nullptr;
}

void SceneHarness::Step(int count)
{
    for (int i = 0; i < count; ++i)
    {
        services.clockMs += 10;
        levelServices.Tick();
        if (session)
            session->Update();
        scene->Update();
    }
}

void SceneHarness::Press(int x, int y, int button)
{
    link->lastPress = {x, y};
    scene->MouseDown(x, y, button, 1);
}

bool SceneHarness::StartLevel(const std::string& name)
{
    std::ifstream file(std::string(QUOLL_SOURCE_DIR) + "/tests/play/data/levels/" + name + ".txt");
    std::stringstream text;
    text << file.rdbuf();
    Quoll::Buffer body;
    LevelTextError error;
    if (!CompileLevelText(text.str(), body, error))
    {
        ADD_FAILURE() << name << ": " << error.ToString();
        return false;
    }
    body.SeekReadStart();
    session = std::make_unique<LevelSession>(*scene, levelServices);
    link->session = session.get();
    return session->Load(body, LevelBodyKind::LevelFile) && session->Start(true);
}
