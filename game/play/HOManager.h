#pragma once
// HOManager: the hidden objects of one play screen, a side game over the background. Ten
// faint bacteria drift across the screen one after another; an uncaught one comes back on a new
// path, a caught one only while spare runs remain. The scene starts it once when it attaches,
// routes clicks to it by the objects' serial ids (unknown ids do nothing) and stops it when the
// round ends; it updates and draws it as a node of its background.
#include "game/play/SceneHooks.h"

#include <cstddef>

class HiddenObject;
class PlayServices;

class HOManager : public HiddenObjectField
{
public:
    // Objects that drift at the same time.
    static constexpr int kObjectCount = 10;
    // The id FindAt answers when no object is there.
    static constexpr int kNone = -1;

    explicit HOManager(PlayServices& services) : mServices(services) {}

    // Ten objects, each coming in up to three path lengths late; count - 10 spare runs remain.
    void Start(int count) override;
    // The id of the first object, in child order, that can be caught at the point; kNone if none.
    [[nodiscard]] int FindAt(int x, int y) const override;
    // The centre of an object in whole pixels; (0, 0) for an unknown id.
    [[nodiscard]] ScreenPoint GetCentre(int id) const override;
    // Catches the object and plays its sound; nothing for an unknown id.
    void Open(int id) override;
    // No caught object comes back; every object lets go of its run.
    void StopAll() override;

    // Every object, then restarts or removes those whose run finished.
    void Update(float dt) override;

    // The object of an id, or null.
    [[nodiscard]] HiddenObject* Find(int id) const;
    [[nodiscard]] HiddenObject* GetObject(size_t index) const;
    [[nodiscard]] int GetSpareRuns() const { return mSpareRuns; }

private:
    void RestartFinished();

    PlayServices& mServices;
    int mSpareRuns = 0;
    int mNextId = 0;
};
