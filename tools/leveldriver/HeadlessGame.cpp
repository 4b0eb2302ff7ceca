#include "tools/leveldriver/HeadlessGame.h"

#include "game/board/BoardText.h"

#include "framework/core/MersenneTwister.h"

#include <cinttypes>
#include <cstdio>

HeadlessGame::HeadlessGame(const GameSetup& setup) : mSetup(setup)
{
    mView.SetLinkListener(&mSession);
    mView.SetObserver(this);
    mServices.SetLevelNumber(setup.levelNumber);
}

HeadlessGame::~HeadlessGame() { mView.SetObserver(nullptr); }

GameRecord HeadlessGame::Play(InputSource& human)
{
    // 1. The level, with the program-wide generator seeded for it.
    mRecord = GameRecord{};
    Quoll::SeedRandom(mSetup.seed);
    Quoll::Buffer body = mSetup.levelBody;
    body.SeekReadStart();
    if (!mSession.Load(body) || !mSession.Start(true))
    {
        mRecord.stopReason = "the level does not load or cannot start";
        return mRecord;
    }
    // 2. Updates until the game is over; the human acts whenever the level waits for it.
    for (int update = 0; update < kMaxUpdates && !mSession.IsOver(); ++update)
    {
        if (mSession.GetLevel().GetParams().round > mSetup.roundCap)
        {
            Finish();
            return mRecord;
        }
        if (WaitsForHuman())
        {
            const std::optional<DriverInput> input = human.Next(mSession);
            if (!input)
            {
                mRecord.stopReason = "the human has nothing left to do";
                return mRecord;
            }
            mRecord.lines.push_back(input->ToLine());
            Apply(*input);
        }
        mServices.Tick();
        mSession.Update();
    }
    if (!mSession.IsOver())
        mRecord.stopReason = "the game did not end within " + std::to_string(kMaxUpdates) + " updates";
    Finish();
    return mRecord;
}

bool HeadlessGame::WaitsForHuman() const
{
    const Level& level = mSession.GetLevel();
    const BonusImpl* bonus = level.GetPendingBonus();
    return level.GetState() == LevelState::HumanToMove ||
           (level.GetState() == LevelState::BonusArmed && bonus && !bonus->IsReady());
}

void HeadlessGame::Apply(const DriverInput& input)
{
    Level& level = mSession.GetLevel();
    switch (input.kind)
    {
    case DriverInput::Kind::Move:
        level.OnCellClick(input.from, {});
        level.OnCellClick(input.to, {});
        break;
    case DriverInput::Kind::Bonus:
        mView.SetSelectedTargets(input.picked);
        level.OnCellClick(input.cell, {});
        break;
    case DriverInput::Kind::StepBack:
        mSession.StepBack();
        break;
    }
}

void HeadlessGame::Finish()
{
    const Level& level = mSession.GetLevel();
    mRecord.rounds = level.GetParams().round;
    mRecord.humanCells = level.GetLogic().GetCellCount(1);
    const std::string tail = "round " + std::to_string(mRecord.rounds) + " cells " + std::to_string(mRecord.humanCells);
    mRecord.outcome = mSession.GetOutcome();
    if (!mRecord.outcome)
    {
        if (mRecord.stopReason.empty())
            mRecord.stopReason = "round cap " + std::to_string(mSetup.roundCap);
        mRecord.lines.push_back("capped " + tail);
        return;
    }
    const LevelOutcome& outcome = *mRecord.outcome;
    mRecord.lines.push_back("result " + std::to_string(outcome.result) + " score " + std::to_string(outcome.score) +
                            " medal " + std::to_string(outcome.medalGrade) + " " + tail);
}

void HeadlessGame::OnMoveShown(int from, int to)
{
    const int player = mSession.GetLevel().GetLogic().GetCurrentPlayer();
    mRecord.lines.push_back("move " + std::to_string(player) + " " + std::to_string(from) + " " + std::to_string(to));
}

void HeadlessGame::OnTurnBegun(int player)
{
    const Level& level = mSession.GetLevel();
    const Board& board = level.GetLogic().GetBoard();
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016" PRIx64, BoardHash(board));
    mRecord.lines.push_back("turn " + std::to_string(player) + " " + std::to_string(level.GetParams().round) + " " +
                            BoardSymbols(board) + " " + hash);
}

std::string HeadlessGame::BoardSymbols(const Board& board)
{
    // The picture's symbols, but '-' for a hole: '#' starts a comment in a replay.
    std::string symbols;
    for (char c : BoardToText(board))
        if (c != ' ' && c != '\n')
            symbols.push_back(c == '#' ? '-' : c);
    return symbols;
}

uint64_t HeadlessGame::BoardHash(const Board& board)
{
    // FNV-1a over the board block: kinds and flags of every cell.
    Quoll::Buffer block;
    board.Write(block);
    uint64_t hash = 0xcbf29ce484222325ull;
    for (size_t i = 0; i < block.GetDataSize(); ++i)
    {
        hash ^= block.GetDataPtr()[i];
        hash *= 0x100000001b3ull;
    }
    return hash;
}
