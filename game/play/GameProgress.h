#pragma once
// GameProgress: the HUD's progress row: one tube per player, filled with the player's share of
// the board, with a bacterium of the player standing in it.
#include "game/scene/VisualNode.h"

#include <array>

struct LevelParams;
class Bacteria;
class PlayServices;
class ProbirkaNode;

class GameProgress : public VisualNode
{
public:
    // Pixels between the tubes, and the bacterium's place in its tube.
    static constexpr float kTubeSpacing = 60.0f;
    static constexpr FloatPoint kBacteriumOffset{-20.5f, 133.5f};
    // The states the bacteria stand in: resting, and faded out for an eliminated player.
    static constexpr int kStandingState = 4;
    static constexpr int kEliminatedState = 8;
    static constexpr int kEliminatedAlpha = 100;

    explicit GameProgress(PlayServices& services) : mServices(services) {}

    // A tube and a bacterium per player of the block.
    void Build(const LevelParams& params);
    void Clear();
    // New levels; a player back from elimination stands up again.
    void Refresh(const LevelParams& params);
    void EliminatePlayer(int index);
    // The winner's tube celebrates and its bacterium rests; nothing for -1.
    void ShowWinner(int index);

    [[nodiscard]] ProbirkaNode* GetTube(int index) const;
    [[nodiscard]] Bacteria* GetBacterium(int index) const;

private:
    struct Entry
    {
        ProbirkaNode* tube = nullptr;
        Bacteria* bacterium = nullptr;
    };
    [[nodiscard]] static bool Valid(int index) { return index >= 0 && index < 3; }

    PlayServices& mServices;
    std::array<Entry, 3> mEntries{};
};
