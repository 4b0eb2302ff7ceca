// Fuzz target: whole level files, read as a level file and as a saved game, and played. A level
// file that reads plays a few rounds through the headless driver with a seeded policy (bonuses
// and step-backs included); the same bytes read as a saved game run a few hundred updates with
// clicks drawn from the input. Either way the round's logic must stay consistent and nothing
// may soft-lock; a refused file must say why.
#include "tools/leveldriver/DriverPolicy.h"
#include "tools/leveldriver/HeadlessGame.h"

#include "game/board/LogicChecker.h"
#include "game/level/NullLevelServices.h"
#include "game/level/NullLevelView.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
void Fail(const char* what, const std::string& detail = {})
{
    std::fprintf(stderr, "level_file: %s %s\n", what, detail.c_str());
    std::abort();
}

Quoll::Buffer BufferOf(const uint8_t* data, size_t size)
{
    Quoll::Buffer buffer;
    buffer.SetData(data, size);
    return buffer;
}

void PlayLevelFile(const uint8_t* data, size_t size)
{
    GameSetup setup;
    setup.levelBody = BufferOf(data, size);
    setup.roundCap = 3;
    const std::string fault = HeadlessGame::FindLevelFault(setup);
    if (!fault.empty())
    {
        if (fault.find(':') + 2 >= fault.size())
            Fail("a level file was refused without a reason:", fault);
        return;
    }
    DriverPolicy policy(static_cast<uint32_t>(size), PolicyKind{}, 30);
    const GameRecord record = HeadlessGame(setup).Play(policy);
    if (record.stopReason.find("soft lock") != std::string::npos)
        Fail("a level file soft-locked:", record.stopReason);
}

void PlaySavedGame(const uint8_t* data, size_t size)
{
    NullLevelView view;
    NullLevelServices services;
    LevelSession session(view, services);
    view.SetLinkListener(&session);
    Quoll::Buffer body = BufferOf(data, size);
    if (!session.Load(body) || !session.Start(true))
        return;
    // Clicks on cells picked by the input's bytes, one every few updates.
    for (size_t update = 0; update < 300 && !session.IsOver(); ++update)
    {
        if (update % 3 == 0)
            session.GetLevel().OnCellClick(static_cast<int>(data[update % size] % 64), {});
        if (update % 50 == 49)
            session.StepBack();
        services.Tick();
        session.Update();
        if (session.HasLevel())
            if (const std::string fault = FindLogicFault(session.GetLevel().GetLogic()); !fault.empty())
                Fail("inconsistent logic while playing:", fault);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    PlayLevelFile(data, size);
    PlaySavedGame(data, size);
    return 0;
}
