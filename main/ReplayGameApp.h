#pragma once
// The game under the replay check (QUOLL_REPLAY_DIGESTS set): the evidence of ReplayDigest
// after every update (a hash of the state stack, the random generator and the pointer) and,
// at the checkpoint updates, the frame shown after that update. Frames are drawn only there:
// between checkpoints the run goes on without drawing. A recording runs on the fixed-step clock
// and waits for the start-up loading before its next update, so that the loading ends in the
// same update on every run.
#include "framework/demo/ReplayDigest.h"
#include "game/app/GameApp.h"

class ReplayGameApp final : public GameApp
{
public:
    // A run under the check has folders of its own: another copy of the game may run beside it.
    ReplayGameApp() { mOnlyAllowOneCopyToRun = false; }
    ~ReplayGameApp() override;

    void UpdateFrame() override;
    bool Process(bool allowSleep) override;
    // A played demo draws no cursor into the frames: the recording's frames have none either
    // (its pointer is the window's).
    void RefreshCursor() override;
    // Between reading the folders and taking the program's single-instance name: the run takes
    // a name of its own, so that it never holds the game's name against a copy started beside it.
    bool ChangeDirectoryHook(const std::string& folder) override;

private:
    [[nodiscard]] uint64_t StateHash();
    // Draws only after a checkpoint update (and, in a played demo, right after it).
    void AllowDrawAfter(int update);

    QuollReplay::ReplayDigest mDigest;
    int mPendingUpdate = -1; // an update whose evidence waits for its frame
    uint64_t mPendingHash = 0;
};
