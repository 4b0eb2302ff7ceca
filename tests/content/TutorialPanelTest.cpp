// Every step of the campaign's tutorial on the play screen as the game draws it (the game on the
// generated data, the steps followed as the autoplay follows them, the reference player between
// them): the panel, at its size in either language, covers neither the step's cell or point, nor
// any bacterium or bonus on the board, nor the step-back tab; and a cell step's arrow, all along
// its swing, stands on no other bacterium and its point lies nearer the step's cell than any
// other occupied one.
// QUOLL_TUTORIAL_SHOTS=<folder> also writes each step's screen there, in both languages, as
// "<difficulty>_<language>_<level>_<step>.png".
// Rerun: test_content --gtest_filter='TutorialScreen/*'
#include "tools/autoplay/Autoplay.h"

#include "framework/display/Image.h"
#include "framework/display/MemoryImage.h"
#include "framework/files/ImageLib.h"
#include "framework/platform/window/headless/HeadlessWindowSystem.h"
#include "game/board/NeighbourTables.h"
#include "game/level/Level.h"
#include "game/play/BoardView.h"
#include "game/play/FastMenu.h"
#include "game/play/GameScene.h"
#include "game/play/HUD.h"
#include "game/play/HudAvatar.h"
#include "game/play/Tutorial.h"
#include "game/play/VCell.h"
#include "game/shell/GameSettings.h"
#include "game/shell/Profile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>

namespace
{
namespace fs = std::filesystem;

constexpr int kMaxUpdates = 200000;
// Updates the player looks at the screen before each act.
constexpr int kLookUpdates = 100;
// The rim of a cell's box that its bacterium or bonus leaves free, in pixels.
constexpr float kCellRim = 10;
// Updates of one whole swing of the pointer (7 radians a second) and a little more.
constexpr int kSwingUpdates = 95;

struct Box
{
    float x = 0, y = 0, width = 0, height = 0;

    [[nodiscard]] bool Overlaps(const Box& other) const
    {
        return x < other.x + other.width && other.x < x + width && y < other.y + other.height && other.y < y + height;
    }
    [[nodiscard]] bool Contains(FloatPoint p) const { return p.x >= x && p.x < x + width && p.y >= y && p.y < y + height; }
};

std::ostream& operator<<(std::ostream& out, const Box& b)
{
    return out << "(" << b.x << ", " << b.y << ", " << b.width << " x " << b.height << ")";
}

// The steps whose texts are about the dish's holes.
const std::set<std::string> kStepsAboutTheHoles = {"UI_TUTOR_L2_1"};

bool Adjacent(int a, int b) { return kFullHexagonTables.Ring1(a).Contains(b); }

float Distance(FloatPoint a, FloatPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

// The play screen of one level, run until each of its tutorial steps has been looked at.
class TutorialScreen
{
public:
    TutorialScreen(int level, int difficulty, bool secondLanguage = false) : mLevel(level)
    {
        Autoplay::Options options;
        options.level = level;
        options.seed = 1;
        options.difficulty = difficulty;
        options.policy = PolicyKind{2};
        options.gameDir = QUOLL_GAME_DIR;
        options.maxUpdates = kMaxUpdates;
        mProduct = "TutorialScreen" + std::to_string(::getpid()) + "_" + std::to_string(level);
        mShotName = std::string(difficulty == Profile::kEasyDifficulty ? "easy" : "normal") +
                    (secondLanguage ? "_de_" : "_en_") + std::to_string(level) + "_";
        mRunner = std::make_unique<Autoplay::Runner>(options, mProduct);
        mRunner->App().WriteRegBool(GameSettings::kLangOverSet, secondLanguage);
    }
    ~TutorialScreen()
    {
        mRunner.reset();
        std::error_code ignored;
        fs::remove_all(fs::path(QUOLL_TEST_HOME) / "data/Nordwick" / mProduct, ignored);
    }
    TutorialScreen(const TutorialScreen&) = delete;
    TutorialScreen& operator=(const TutorialScreen&) = delete;

    // Plays the level; each step is checked when it comes in. The steps looked at.
    std::set<int> Run()
    {
        const int level = mLevel;
        std::set<int> seen;
        if (!mRunner->Start())
        {
            ADD_FAILURE() << "the level did not start";
            return seen;
        }
        const int lastRound = LastRound(level);
        while (!mRunner->IsFinished() && mRunner->GetUpdates() < kMaxUpdates)
        {
            if (!mRunner->RunToHumanTurn() || mRunner->IsFinished())
                break;
            if (mRunner->CurrentLevel()->GetParams().round > lastRound)
                break;
            // As a player looks before acting: a new round's step comes in a little after its turn.
            for (int i = 0; i < kLookUpdates; ++i)
                mRunner->Step();
            const auto* tutorial = dynamic_cast<const Tutorial*>(mRunner->Scene()->GetTutorial());
            if (tutorial != nullptr && tutorial->IsShowingStep() && seen.insert(tutorial->GetCurrentStep()).second)
                CheckStep(level, *tutorial);
            if (!mRunner->PlayTurn())
                break;
        }
        return seen;
    }

private:
    [[nodiscard]] int LastRound(int level)
    {
        int last = 0;
        for (const TutorialStep& step : mRunner->App().GetTutorialSteps().GetSteps())
            if (step.level == level)
                last = std::max(last, step.round);
        return last;
    }

    [[nodiscard]] Quoll::Image* Image(const char* name)
    {
        GameApp& app = mRunner->App();
        return app.GetImageById(app.GetResourceIdByName(name));
    }

    // The panel as drawn, in either language (the second one's is stretched above and below):
    // the box of its image's opaque pixels.
    [[nodiscard]] Box PanelBox(const TutorialStep& step)
    {
        auto* panel = dynamic_cast<Quoll::MemoryImage*>(Image("IMAGE_TUTORIAL_BG"));
        EXPECT_NE(panel, nullptr);
        if (panel == nullptr)
            return {};
        const int w = panel->mWidth;
        const int h = panel->mHeight;
        const uint32_t* bits = panel->GetBits();
        int left = w, top = h, right = 0, bottom = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if ((bits[y * w + x] >> 24) >= 128)
                {
                    left = std::min(left, x);
                    right = std::max(right, x + 1);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y + 1);
                }
        const float o = Tutorial::kGermanPanelOffset;
        const float stretch = (static_cast<float>(h) + 2 * o) / static_cast<float>(h);
        const float y0 = static_cast<float>(step.panelY) - o + static_cast<float>(top) * stretch;
        const float y1 = static_cast<float>(step.panelY) - o + static_cast<float>(bottom) * stretch;
        return {static_cast<float>(step.panelX + left), y0, static_cast<float>(right - left), y1 - y0};
    }

    // Where the step-back tab rests once it has slid in from the left edge.
    [[nodiscard]] Box StepBackTab()
    {
        const Quoll::Image* tab = Image("IMAGE_BACKSTEP_FONE");
        return {0, static_cast<float>(Quoll::FastMenu::kTabY), static_cast<float>(tab->mWidth),
                static_cast<float>(tab->mHeight)};
    }

    // A cell's box on the screen, less a rim on each side.
    [[nodiscard]] static Box CellBox(const VCell& cell, float rim)
    {
        const FloatPoint corner = cell.GetWorldPosition();
        const FloatPoint size = cell.GetSpriteSize();
        return {corner.x + rim, corner.y + rim, size.x - 2 * rim, size.y - 2 * rim};
    }

    void CheckStep(int level, const Tutorial& tutorial)
    {
        const TutorialStep& step = *mRunner->App().GetTutorialSteps().GetStep(tutorial.GetCurrentStep());
        SCOPED_TRACE("level " + std::to_string(level) + " round " + std::to_string(step.round) + " " + step.textKey);
        GameScene& scene = *mRunner->Scene();
        const BoardView& view = *scene.GetBoardView();
        const Board& board = mRunner->CurrentLevel()->GetLogic().GetBoard();
        auto bacterium = [&board](int cell) { return board.Exists(cell) && board.GetOwner(cell) != 0; };
        auto occupied = [&](int cell) { return bacterium(cell) || (board.Exists(cell) && board.GetBonus(cell) != 0); };
        const int target = step.IsCellStep() ? step.GetTargetCell() : -1;

        // What the step talks about: its cell, the cells a taught jump passes over, and the
        // dish's holes where the text is about them.
        const int selected = mRunner->CurrentLevel()->GetSelectedCell();
        auto talkedAbout = [&](int cell) {
            if (cell == target)
                return true;
            if (!board.Exists(cell))
                return kStepsAboutTheHoles.count(step.textKey) != 0;
            return selected >= 0 && target >= 0 && !occupied(target) && !Adjacent(selected, target) &&
                   Adjacent(selected, cell) && Adjacent(cell, target);
        };

        // The panel: the step's cell stays clear whole; the rest of what it talks about, and the
        // bacteria and bonuses, up to their rim.
        const Box panel = PanelBox(step);
        EXPECT_FALSE(panel.Overlaps(StepBackTab())) << "the panel " << panel << " covers the step-back tab";
        std::string covered;
        for (const VCell* cell : view.GetCellViews())
        {
            const int id = cell->GetCellId();
            const float rim = id == target ? 0 : kCellRim;
            if ((talkedAbout(id) || occupied(id)) && panel.Overlaps(CellBox(*cell, rim)))
                covered += " " + std::to_string(id);
        }
        EXPECT_EQ(covered, "") << "the panel " << panel << " covers cells";
        if (step.IsPortraitStep() && scene.GetHud()->GetBossAvatar() != nullptr)
        {
            const Quoll::Rect r = scene.GetHud()->GetBossAvatar()->GetScreenRect();
            EXPECT_FALSE(panel.Overlaps({static_cast<float>(r.x), static_cast<float>(r.y), static_cast<float>(r.width),
                                         static_cast<float>(r.height)}))
                << "the panel " << panel << " covers the boss's portrait";
        }
        else if (!step.IsCellStep())
        {
            EXPECT_FALSE(panel.Contains({static_cast<float>(step.targetX), static_cast<float>(step.targetY)}))
                << "the panel " << panel << " covers the step's point";
        }

        // The arrow, all along its swing (which also lets the panel fade in for the picture): its
        // middle on no other bacterium, its point nearer the step's cell than any other.
        const VCell* aim = target >= 0 ? view.FindCellView(target) : nullptr;
        const Quoll::Image* pointer = Image("IMAGE_TUTORIAL_PT");
        std::string misleading;
        for (int i = 0; i < kSwingUpdates; ++i)
        {
            mRunner->Step();
            if (aim == nullptr || !misleading.empty())
                continue;
            const FloatPoint goal = aim->GetCentre();
            const FloatPoint body{static_cast<float>(tutorial.GetPointerX() + pointer->mWidth / 2),
                                  static_cast<float>(tutorial.GetPointerY() + pointer->mHeight / 2)};
            const float length = Distance(goal, body);
            ASSERT_GT(length, 0.0f);
            const float reach = static_cast<float>(pointer->mWidth / 2) / length;
            const FloatPoint point{body.x + (goal.x - body.x) * reach, body.y + (goal.y - body.y) * reach};
            const VCell* under = view.CellViewAtPoint(body.x, body.y);
            if (under != nullptr && under != aim && bacterium(under->GetCellId()))
                misleading = "stands on cell " + std::to_string(under->GetCellId());
            for (const VCell* cell : view.GetCellViews())
                if (misleading.empty() && cell != aim && bacterium(cell->GetCellId()) &&
                    Distance(point, cell->GetCentre()) <= Distance(point, goal))
                    misleading = "points as near cell " + std::to_string(cell->GetCellId());
        }
        EXPECT_EQ(misleading, "") << "the arrow aimed at cell " << target;
        WriteShot(tutorial.GetCurrentStep());
    }

    void WriteShot(int step)
    {
        const char* folder = std::getenv("QUOLL_TUTORIAL_SHOTS");
        if (folder == nullptr || *folder == '\0')
            return;
        GameApp& app = mRunner->App();
        // The whole screen, drawn now.
        app.mForceRedraw = true;
        app.mNextDrawAllowed = 0;
        if (app.GetWidgetManager() != nullptr)
            app.GetWidgetManager()->MarkAllDirty();
        app.DrawDirty();
        const auto* headless = dynamic_cast<const Quoll::Platform::HeadlessWindowSystem*>(app.GetWindowSystem());
        int width = 0, height = 0;
        if (headless == nullptr || headless->LastFrame(width, height).empty())
            return;
        const std::vector<uint32_t>& pixels = headless->LastFrame(width, height);
        ImageLib::Image image(width, height);
        for (size_t i = 0; i < pixels.size(); ++i)
            image.GetBits()[i] = pixels[i] | 0xFF000000u;
        fs::create_directories(folder);
        ImageLib::WritePng(std::string(folder) + "/" + mShotName + std::to_string(step) + ".png", image);
    }

    int mLevel;
    std::string mProduct;
    std::string mShotName;
    std::unique_ptr<Autoplay::Runner> mRunner;
};

size_t StepCount(int level)
{
    TutorialSteps script(nullptr, std::string(QUOLL_SOURCE_DIR) + "/data/tutorial.cfg");
    EXPECT_TRUE(script.Load());
    size_t count = 0;
    for (const TutorialStep& step : script.GetSteps())
        count += step.level == level ? 1 : 0;
    return count;
}

class TutorialScreens : public ::testing::TestWithParam<int>
{
};

TEST_P(TutorialScreens, PanelsAndArrowsLeaveWhatThePlayerNeedsInSight)
{
    const int level = GetParam();
    for (int difficulty : {Profile::kEasyDifficulty, Profile::kNormalDifficulty})
    {
        SCOPED_TRACE(difficulty == Profile::kEasyDifficulty ? "easy" : "normal");
        EXPECT_EQ(TutorialScreen(level, difficulty).Run().size(), StepCount(level));
        if (std::getenv("QUOLL_TUTORIAL_SHOTS") != nullptr)
            TutorialScreen(level, difficulty, true).Run();
    }
}

INSTANTIATE_TEST_SUITE_P(TutorialScreen, TutorialScreens, ::testing::Values(1, 2, 3, 6, 7, 15),
                         [](const ::testing::TestParamInfo<int>& info) { return "Level" + std::to_string(info.param); });
} // namespace
