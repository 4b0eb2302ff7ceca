#include "game/play/BaseUnit.h"

#include "game/play/BoardView.h"
#include "game/play/PlayGlobals.h"

BaseUnit::~BaseUnit()
{
    mSprite.reset();
    // A layer that deletes its children has already let go of this one.
    BoardView* board = Play().boardView;
    if (mLayer >= 0 && board != nullptr && GetParent() != nullptr && GetParent() == board->GetLayer(mLayer))
        board->RemoveFromLayer(this);
    if (!mEffect.IsEmpty() && mServices.IsParticleAlive(mEffect))
        mServices.KillParticleSystem(mEffect);
}

void BaseUnit::Update(float dt)
{
    if (mRequestedState != mState)
        ApplyState();
    if (mSprite)
        mSprite->Update(dt);
}

void BaseUnit::Draw(Quoll::Graphics* g)
{
    if (!mSprite)
        return;
    const FloatPoint p = GetWorldPosition();
    mSprite->Draw(g, p.x, p.y, mColor);
}

void BaseUnit::Attach(int value, int layer)
{
    mValue = value;
    mLayer = layer;
    mState = -1;
    if (layer >= 0 && Play().boardView != nullptr)
        Play().boardView->AddToLayer(layer, this);
}

void BaseUnit::SetState(int state, bool atOnce)
{
    mRequestedState = state;
    if (atOnce)
        ApplyState();
}

void BaseUnit::ApplyState()
{
    mState = mRequestedState;
    OnStateChanged();
}

void BaseUnit::ReattachToLayer()
{
    BoardView* board = Play().boardView;
    if (mLayer < 0 || board == nullptr)
        return;
    board->RemoveFromLayer(this);
    board->AddToLayer(mLayer, this);
}

void BaseUnit::DetachFromLayer()
{
    if (Play().boardView != nullptr)
        Play().boardView->RemoveFromLayer(this);
    mLayer = kNoLayer;
}

void BaseUnit::MoveEffect(const FloatPoint& offset)
{
    if (mEffect.IsEmpty() || !mServices.IsParticleAlive(mEffect))
        return;
    const FloatPoint p = GetWorldPosition();
    mServices.MoveParticleSystem(mEffect, p.x + offset.x, p.y + offset.y);
}

void BaseUnit::StopEffect()
{
    if (!mEffect.IsEmpty() && mServices.IsParticleAlive(mEffect))
        mServices.StopParticleSystem(mEffect);
    mEffect = ParticleRef();
}

int BaseUnit::GetSpriteWidth() const
{
    return mSprite ? mSprite->GetWidth() : 0;
}

int BaseUnit::GetSpriteHeight() const
{
    return mSprite ? mSprite->GetHeight() : 0;
}
