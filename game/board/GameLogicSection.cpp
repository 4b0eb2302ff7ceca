// GameLogic's level-logic section: "qklgc", the player table, the current player, the board
// block, "qklgc", then the generator state between two "qkrnd". Older files have no magics and
// keep their numbers in the high byte of each word.
#include "game/board/GameLogic.h"

#include "game/board/CheckedReader.h"
#include "game/board/LogicChecker.h"

#include <optional>
#include <string>

namespace
{
constexpr std::string_view kLogicMagic = "qklgc";
constexpr std::string_view kRandomMagic = "qkrnd";

// What a section holds, read completely before the logic takes any of it.
struct SectionData
{
    PlayerTable players;
    int32_t currentPlayer = 1;
    Board board;
    std::optional<std::string> randomState;
};

bool IsPlayerCount(int32_t count) { return count >= 1 && count <= kMaxPlayers; }
bool IsAiLevel(int32_t level) { return level >= kHumanLevel && level <= kBossLevel; }

// Older words carry their value in the most significant byte; FF FF FF FF means -1.
int32_t OldWordValue(int32_t word) { return word == -1 ? -1 : static_cast<int8_t>(static_cast<uint32_t>(word) >> 24); }

bool ReadPlayers(CheckedReader& reader, SectionData& data, bool oldLayout)
{
    int32_t count = 0;
    if (!reader.ReadInt32(count))
        return false;
    if (oldLayout)
        count = static_cast<int8_t>(static_cast<uint32_t>(count) >> 24);
    if (!IsPlayerCount(count))
        return false;
    data.players.Resize(count);
    for (int player = 1; player <= count; ++player)
    {
        int32_t level = 0;
        if (!reader.ReadInt32(level))
            return false;
        if (oldLayout)
            level = OldWordValue(level);
        if (!IsAiLevel(level))
            return false;
        data.players.SetAiLevel(player, level);
    }
    return true;
}

bool ReadCurrentLayout(Quoll::Buffer& buffer, CheckedReader& reader, SectionData& data)
{
    // 1. Players, current player, board, closing magic.
    if (!ReadPlayers(reader, data, false) || !reader.ReadInt32(data.currentPlayer))
        return false;
    if (data.currentPlayer < 1 || data.currentPlayer > data.players.GetCount())
        return false;
    if (!data.board.Read(buffer) || !reader.SkipMagic(kLogicMagic))
        return false;
    // 2. The generator part is optional: sections written before it existed end here, and the
    //    round keeps the generator it has.
    if (!reader.SkipMagic(kRandomMagic))
        return true;
    std::string state;
    if (!reader.ReadString(state) || !reader.SkipMagic(kRandomMagic))
        return false;
    data.randomState = std::move(state);
    return true;
}

bool ReadOldLayout(Quoll::Buffer& buffer, CheckedReader& reader, SectionData& data)
{
    return ReadPlayers(reader, data, true) && data.board.Read(buffer);
}

bool OwnersFitPlayers(const SectionData& data)
{
    for (int cell = 0; cell < kCellCount; ++cell)
        if (data.board.GetOwner(cell) > data.players.GetCount())
            return false;
    return true;
}
} // namespace

void GameLogic::Write(Quoll::Buffer& buffer) const
{
    buffer.WriteString(std::string(kLogicMagic));
    buffer.WriteInt32(GetPlayerCount());
    for (int player = 1; player <= GetPlayerCount(); ++player)
        buffer.WriteInt32(GetPlayerAiLevel(player));
    buffer.WriteInt32(mCurrentPlayer);
    mBoard.Write(buffer);
    buffer.WriteString(std::string(kLogicMagic));
    buffer.WriteString(std::string(kRandomMagic));
    buffer.WriteString(mRandom.GetState());
    buffer.WriteString(std::string(kRandomMagic));
}

bool GameLogic::Read(Quoll::Buffer& buffer)
{
    // Everything is read and checked first, so a refused section changes nothing.
    CheckedReader reader(buffer);
    SectionData data;
    const bool read = reader.SkipMagic(kLogicMagic) ? ReadCurrentLayout(buffer, reader, data)
                                                     : ReadOldLayout(buffer, reader, data);
    if (!read || !OwnersFitPlayers(data))
        return false;
    mPlayers = data.players;
    mCurrentPlayer = data.currentPlayer;
    mBoard = data.board;
    if (data.randomState)
        mRandom.SetState(*data.randomState);
    Recount();
    AssertLogicConsistent(*this);
    return true;
}
