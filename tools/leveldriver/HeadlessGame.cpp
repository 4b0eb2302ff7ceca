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

namespace
{
uint64_t Fnv1a(const uint8_t* bytes, size_t count)
{
    uint64_t hash = 0xcbf29ce484222325ull;
    for (size_t i = 0; i < count; ++i)
    {
        hash ^= bytes[i];
        hash *= 0x100000001b3ull;
    }
    return hash;
}

std::string Hex(uint64_t value)
{
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, value);
    return text;
}
} // namespace

GameRecord HeadlessGame::Play(InputSource& human)
{
    // 1. The level, with the program-wide generator seeded for it.
    mRecord = GameRecord{};
    Quoll::SeedRandom(mSetup.seed);
    // Every game starts as a fresh program would: the boss's spawn bag too.
    GetBossSpawnBag().Reset();
    if (!LoadLevel())
        return mRecord;
    // 2. Updates until the game is over; the human acts whenever the level waits for it.
    for (mUpdate = 0, mLastProgress = 0; mUpdate < kMaxUpdates && !mSession.IsOver(); ++mUpdate)
    {
        const int round = mSession.GetLevel().GetParams().round;
        if (round > mSetup.roundCap)
        {
            Finish("capped");
            return mRecord;
        }
        if (mUpdate - mLastProgress >= kSoftLockUpdates)
        {
            mRecord.stopReason = "soft lock at round " + std::to_string(round);
            Finish("softlock");
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
    Finish("capped");
    return mRecord;
}

std::string HeadlessGame::FindLevelFault(const GameSetup& setup, std::optional<LevelFileLayout>* layout)
{
    HeadlessGame game(setup);
    const bool loaded = game.LoadLevel();
    if (layout != nullptr)
        *layout = game.mRecord.layout;
    return loaded ? std::string() : game.mRecord.stopReason;
}

// The body with its level's generator seeded afresh: the section is read into a logic, reseeded
// and written again, and what follows it is copied as it stands.
std::optional<Quoll::Buffer> HeadlessGame::ReseedLevelBody(const Quoll::Buffer& body, uint32_t seed)
{
    Quoll::Buffer in = body;
    in.SeekReadStart();
    GameLogic logic;
    if (!logic.Read(in))
        return std::nullopt;
    const auto end = static_cast<size_t>(in.GetReadBitPos() / 8);
    logic.GetRandom().Seed(seed);
    Quoll::Buffer out;
    logic.Write(out);
    if (body.GetDataSize() > end)
        out.WriteBytes(body.GetDataPtr() + end, body.GetDataSize() - end);
    return out;
}
bool HeadlessGame::LoadLevel()
{
    // The file as it stands must read as a level file, even when its generator is then
    // replaced, so that a damaged file is never played.
    Quoll::Buffer body = mSetup.levelBody;
    body.SeekReadStart();
    bool loaded = mSession.Load(body, LevelBodyKind::LevelFile);
    if (loaded)
        mRecord.layout = mSession.GetLevel().GetFileLayout();
    if (loaded && mSetup.levelSeed)
    {
        std::optional<Quoll::Buffer> reseeded = ReseedLevelBody(mSetup.levelBody, *mSetup.levelSeed);
        loaded = reseeded && mSession.Load(*reseeded, LevelBodyKind::LevelFile);
    }
    if (!loaded)
    {
        mRecord.stopReason = "the level does not load: " + mSession.GetLoadError();
        return false;
    }
    if (!mSession.Start(true))
    {
        mRecord.stopReason = "the level cannot start: it has fewer than two players";
        return false;
    }
    return true;
}

bool HeadlessGame::WaitsForHuman() const
{
    // A busy level (the boss's ray in flight) takes no clicks.
    const Level& level = mSession.GetLevel();
    const BonusImpl* bonus = level.GetPendingBonus();
    if (level.IsBusy())
        return false;
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
    case DriverInput::Kind::Click:
        level.OnCellClick(input.cell, {});
        break;
    case DriverInput::Kind::Portrait:
        mView.SetSelectedTargets({});
        level.OnCellClick(-1, kScreenlessPortrait.Centre());
        break;
    }
}

void HeadlessGame::Finish(const std::string& capLine)
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
        mRecord.lines.push_back(capLine + " " + tail);
        return;
    }
    const LevelOutcome& outcome = *mRecord.outcome;
    mRecord.lines.push_back("result " + std::to_string(outcome.result) + " score " + std::to_string(outcome.score) +
                            " medal " + std::to_string(outcome.medalGrade) + " " + tail);
}

void HeadlessGame::OnMoveShown(int from, int to)
{
    mLastProgress = mUpdate;
    const int player = mSession.GetLevel().GetLogic().GetCurrentPlayer();
    mRecord.lines.push_back("move " + std::to_string(player) + " " + std::to_string(from) + " " + std::to_string(to));
}

void HeadlessGame::OnTurnBegun(int player)
{
    mLastProgress = mUpdate;
    mRecord.lines.push_back(TurnLine(player, mSession.GetLevel()));
}

std::string HeadlessGame::TurnLine(int player, const Level& level)
{
    const Board& board = level.GetLogic().GetBoard();
    return "turn " + std::to_string(player) + " " + std::to_string(level.GetParams().round) + " " + BoardSymbols(board) +
           " " + Hex(BoardHash(board)) + " " + Hex(RandomHash(level.GetLogic().GetRandom()));
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
    return Fnv1a(block.GetDataPtr(), block.GetDataSize());
}

uint64_t HeadlessGame::RandomHash(const Quoll::MersenneTwister& random)
{
    const std::string state = random.GetState();
    return Fnv1a(reinterpret_cast<const uint8_t*>(state.data()), state.size());
}
