#include "game/play/HOManager.h"

#include "game/play/HiddenObject.h"
#include "game/shell/PlayServices.h"

namespace
{
// The first run starts up to three path lengths before the start point, later ones up to two.
constexpr float kFirstLead = 3.0f;
constexpr float kLaterLead = 2.0f;
} // namespace

void HOManager::Start(int count)
{
    mSpareRuns = count;
    for (int i = 0; i < kObjectCount; ++i)
    {
        --mSpareRuns;
        auto* object = new HiddenObject(mServices, mNextId++);
        object->Init(-mServices.RandFloat(kFirstLead));
        AddChild(object);
    }
}

HiddenObject* HOManager::GetObject(size_t index) const
{
    return index < GetChildren().size() ? static_cast<HiddenObject*>(GetChildren()[index]) : nullptr;
}

HiddenObject* HOManager::Find(int id) const
{
    for (VisualNode* child : GetChildren())
        if (auto* object = static_cast<HiddenObject*>(child); object->GetId() == id)
            return object;
    return nullptr;
}

int HOManager::FindAt(int x, int y) const
{
    for (VisualNode* child : GetChildren())
        if (auto* object = static_cast<HiddenObject*>(child); object->HitTest(x, y))
            return object->GetId();
    return kNone;
}

ScreenPoint HOManager::GetCentre(int id) const
{
    const HiddenObject* object = Find(id);
    if (object == nullptr)
        return {};
    const FloatPoint centre = object->GetCentre();
    return {static_cast<int>(centre.x), static_cast<int>(centre.y)};
}

void HOManager::Open(int id)
{
    HiddenObject* object = Find(id);
    if (object == nullptr)
        return;
    object->Open();
    mServices.PlaySoundNamed("SOUND_FLYBAC_HIT", 1.0f, 0.0f);
}

void HOManager::StopAll()
{
    mSpareRuns = 0;
    for (VisualNode* child : GetChildren())
        static_cast<HiddenObject*>(child)->Release();
}

void HOManager::Update(float dt)
{
    VisualNode::Update(dt);
    RestartFinished();
}

void HOManager::RestartFinished()
{
    size_t i = 0;
    while (i < GetChildren().size())
    {
        auto* object = static_cast<HiddenObject*>(GetChildren()[i]);
        if (object->GetState() != HiddenObject::State::Finished)
        {
            ++i;
            continue;
        }
        if (!object->IsOpened())
            object->Init(-mServices.RandFloat(kLaterLead));
        else if (mSpareRuns > 0)
        {
            --mSpareRuns;
            object->Init(0);
        }
        else
        {
            RemoveChild(object);
            delete object;
            continue;
        }
        ++i;
    }
}
