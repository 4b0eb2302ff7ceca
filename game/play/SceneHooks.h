#pragma once
// SceneHooks: the parts of the play screen that are built apart from the scene and plugged into
// it by whoever makes the scene: the tutorial, the hidden objects, the quick menu and the boss.
// Each comes from a factory; an empty factory, or one that answers null, leaves the part out and
// the scene runs without it.
#include "game/level/LevelView.h"
#include "game/scene/VisualNode.h"

#include <functional>
#include <memory>

class BoardView;
class GameScene;
class HudAvatar;
class HudMenu;
class Level;

namespace Quoll
{
class Graphics;
}

// The level's tutorial as the scene drives it.
class SceneTutorial
{
public:
    virtual ~SceneTutorial() = default;
    // Binds it to the scene, its board view and the level number; no step is shown yet.
    virtual void Start(GameScene& scene, BoardView& boardView, int level) = 0;
    // A new round: shows that round's step (with skipToLast the last of a run of them), if any.
    virtual void Advance(int round, bool skipToLast) = 0;
    virtual void Update(float dt) = 0;
    virtual void Draw(Quoll::Graphics* g) = 0;
    // A press on the board at the screen point; false keeps it from the game.
    [[nodiscard]] virtual bool OnBoardClick(int x, int y) = 0;
    [[nodiscard]] virtual bool IsShowingStep() const = 0;
    // The boss's portrait on a boss level (steps may point at it).
    virtual void SetBossPortrait(HudAvatar* portrait) = 0;
};

// The hidden objects drifting over the background: a node the scene puts into its background
// just above the first layer. Objects are named by ids.
class HiddenObjectField : public VisualNode
{
public:
    // Starts the objects with that many runs in all.
    virtual void Start(int runs) = 0;
    // The object under the screen point that can be caught now, or -1.
    [[nodiscard]] virtual int FindAt(int x, int y) const = 0;
    [[nodiscard]] virtual ScreenPoint GetCentre(int object) const = 0;
    // Catches the object.
    virtual void Open(int object) = 0;
    // The end of the game: caught objects stop coming back, visible ones hide.
    virtual void StopAll() = 0;
};

struct SceneHooks
{
    // The tutorial of a level number; null when the level has no tutorial steps.
    std::function<std::unique_ptr<SceneTutorial>(int level)> makeTutorial;
    std::function<std::unique_ptr<HiddenObjectField>()> makeHiddenObjects;
    // The quick menu of the scene's HUD, made with the HUD; it survives the HUD's rebuilds.
    std::function<std::unique_ptr<HudMenu>(GameScene& scene)> makeFastMenu;
    // The boss of a boss level.
    std::function<std::unique_ptr<BossLevelInterface>(Level& level, GameScene& scene)> makeBoss;
};
