#pragma once
// MapIntro: the animated introduction the level map plays on a profile's first visit. The map
// updates it once per frame while it runs, draws its background layer under the map's own
// decorations and its front layer above the gloria beaker, and drops it once it reports that it
// has finished (or the player skips it).
namespace Quoll
{
class Graphics;
}

class MapIntro
{
public:
    virtual ~MapIntro() = default;

    virtual void Update(float dt) = 0;
    [[nodiscard]] virtual bool IsFinished() const = 0;
    virtual void DrawBack(Quoll::Graphics* g) = 0;
    virtual void DrawFront(Quoll::Graphics* g) = 0;
};
