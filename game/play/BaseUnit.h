#pragma once
// BaseUnit: the node of everything that stands on the board (bacteria, bonus units and the cell
// views themselves): a sprite, a value (player, bonus kind or cell kind), a layer of the board
// view and a small state machine in which a requested state is taken over by the next update.
// A unit may have a particle system that follows it; the application's particle manager owns it.
#include "game/scene/Sprite.h"
#include "game/scene/VisualNode.h"
#include "game/shell/PlayServices.h"

#include <memory>

class BaseUnit : public VisualNode
{
public:
    // The layer value of a unit that is in no layer.
    static constexpr int kNoLayer = -1;

    explicit BaseUnit(PlayServices& services) : mServices(services) {}
    // Deletes the sprite, leaves its layer (when the layer is still its parent) and kills its
    // effect.
    ~BaseUnit() override;

    // Takes a requested state over, then updates the sprite.
    void Update(float dt) override;
    // The sprite at the world position in the unit's colour.
    void Draw(Quoll::Graphics* g) override;

    // Stores value and layer, state := -1 (so the requested state is taken on the next update)
    // and joins that layer of the board view when layer >= 0.
    virtual void Attach(int value, int layer);
    // Called whenever the state changes.
    virtual void OnStateChanged() = 0;

    // The state taken on the next update, or at once.
    void SetState(int state, bool atOnce = false);
    void ApplyState();
    // Leaves the layer and joins it again: the unit comes to the front of its layer.
    void ReattachToLayer();
    // Leaves the layer; layer := none.
    void DetachFromLayer();

    // The followed particle system (replacing one followed before, which keeps running).
    void SetEffect(const ParticleRef& effect) { mEffect = effect; }
    [[nodiscard]] const ParticleRef& GetEffect() const { return mEffect; }
    // Moves a live effect to the world position plus the offset.
    void MoveEffect(const FloatPoint& offset);
    // Stops a live effect and forgets it.
    void StopEffect();

    // The sprite's cel size; 0 without sprite or image.
    [[nodiscard]] int GetSpriteWidth() const;
    [[nodiscard]] int GetSpriteHeight() const;

    [[nodiscard]] int GetValue() const { return mValue; }
    [[nodiscard]] int GetState() const { return mState; }
    [[nodiscard]] int GetRequestedState() const { return mRequestedState; }
    [[nodiscard]] int GetLayer() const { return mLayer; }
    [[nodiscard]] Sprite* GetSprite() const { return mSprite.get(); }

protected:
    PlayServices& mServices;
    ParticleRef mEffect;
    std::unique_ptr<Sprite> mSprite;
    int mValue = 0;
    int mState = 0;
    int mLayer = kNoLayer;
    int mRequestedState = 0;
};
