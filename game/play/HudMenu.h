#pragma once
// HudMenu: what the HUD asks of the slide-in quick menu that it owns and feeds: the level's
// numbers, the step-back counter and its attention flash, showing and hiding, the pointer, and
// its update and draw. The play screen's fast menu (FastMenu) implements it; without a menu the
// HUD runs on.
struct LevelParams;

namespace Quoll
{
class Graphics;
}

class HudMenu
{
public:
    virtual ~HudMenu() = default;
    virtual void SetLevelParams(const LevelParams& params) = 0;
    // Draws attention to the step-back button.
    virtual void FlashStepBack() = 0;
    virtual void SetStepBackCount(int count, bool enabled) = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual void MouseMove(int x, int y) = 0;
    [[nodiscard]] virtual bool IsActive() const = 0;
    virtual void Update(float dt) = 0;
    virtual void Draw(Quoll::Graphics* g) = 0;
    // Lets go of the buttons it placed on the scene before it is deleted.
    virtual void Detach() = 0;
};
