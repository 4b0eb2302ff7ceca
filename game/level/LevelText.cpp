#include "game/level/LevelText.h"

#include "game/level/Level.h"
#include "game/level/NullLevelServices.h"
#include "game/level/NullLevelView.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <vector>

namespace
{
constexpr std::array<int, kRowCount> kRowLengths = {5, 6, 7, 8, 9, 8, 7, 6, 5};
constexpr int kMinKind = 1;
constexpr int kMaxKind = 3;

struct ContentChar
{
    char symbol;
    int owner;
    int bonus;
};
constexpr std::array<ContentChar, 8> kContents = {{
    {'.', 0, BONUS_NONE},
    {'1', 1, BONUS_NONE},
    {'2', 2, BONUS_NONE},
    {'3', 3, BONUS_NONE},
    {'m', 0, BONUS_MINE},
    {'t', 0, BONUS_TELEPORT},
    {'b', 0, BONUS_BOMB},
    {'l', 0, BONUS_LAID_MINE},
}};

struct TextLine
{
    int number;
    std::vector<std::string> tokens;
};

// What the text says, with the line of each part for later errors.
struct LevelSource
{
    std::vector<int> aiLevels;
    int playersLine = 0;
    std::optional<int> first;
    int firstLine = 0;
    std::optional<uint32_t> seed;
    std::optional<MedalRule> medal;
    Board board;
    int boardLine = 0;
    std::array<int, kCellCount> cellLines{};
};

class CompileFailure
{
public:
    CompileFailure(int line, std::string message) : error{line, std::move(message)} {}
    LevelTextError error;
};

[[noreturn]] void Fail(int line, const std::string& message) { throw CompileFailure(line, message); }

std::vector<TextLine> SplitLines(std::string_view text)
{
    std::vector<TextLine> lines;
    int number = 0;
    size_t start = 0;
    while (start <= text.size())
    {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string line(text.substr(start, end - start));
        ++number;
        start = end + 1;
        if (const size_t hash = line.find('#'); hash != std::string::npos)
            line.erase(hash);
        std::istringstream in(line);
        TextLine parsed{number, {}};
        for (std::string token; in >> token;)
            parsed.tokens.push_back(token);
        if (!parsed.tokens.empty())
            lines.push_back(std::move(parsed));
    }
    return lines;
}

template <typename T>
T ParseNumber(const std::string& token, int line, const char* what)
{
    T value{};
    const char* begin = token.data();
    const char* end = begin + token.size();
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end)
        Fail(line, std::string("'") + token + "' is not a valid " + what);
    return value;
}

void ExpectArgs(const TextLine& line, size_t min, size_t max)
{
    const size_t args = line.tokens.size() - 1;
    if (args < min || args > max)
        Fail(line.number, "'" + line.tokens[0] + "' takes " +
                              (min == max ? std::to_string(min) : std::to_string(min) + " to " + std::to_string(max)) +
                              " values, found " + std::to_string(args));
}

void ParsePlayers(const TextLine& line, LevelSource& source)
{
    ExpectArgs(line, 2, kMaxPlayers);
    source.playersLine = line.number;
    for (size_t i = 1; i < line.tokens.size(); ++i)
    {
        const int level = ParseNumber<int>(line.tokens[i], line.number, "AI level");
        if (level < kHumanLevel || level > kBossLevel)
            Fail(line.number, "AI level " + std::to_string(level) + " of player " + std::to_string(i) + " is outside -1..3");
        source.aiLevels.push_back(level);
    }
}

void ParseMedal(const TextLine& line, LevelSource& source)
{
    ExpectArgs(line, 3, 3);
    MedalRule rule;
    if (line.tokens[1] == "cells")
        rule.mode = static_cast<int32_t>(MedalMode::Cells);
    else if (line.tokens[1] == "rounds")
        rule.mode = static_cast<int32_t>(MedalMode::Rounds);
    else
        Fail(line.number, "medal mode '" + line.tokens[1] + "' is neither 'cells' nor 'rounds'");
    rule.firstThreshold = ParseNumber<int32_t>(line.tokens[2], line.number, "medal threshold");
    rule.secondThreshold = ParseNumber<int32_t>(line.tokens[3], line.number, "medal threshold");
    // The game keeps the better threshold first for the mode.
    OrderMedalThresholds(rule);
    source.medal = rule;
}

void ParseCell(const std::string& token, int cell, int line, Board& board)
{
    if (token == "-")
        return;
    const char symbol = token.back();
    const auto content = std::find_if(kContents.begin(), kContents.end(),
                                      [symbol](const ContentChar& entry) { return entry.symbol == symbol; });
    if (token.size() < 2 || content == kContents.end())
        Fail(line, "cell " + std::to_string(cell) + ": '" + token + "' is not a cell (kind then one of . 1 2 3 m t b l, or -)");
    const int kind = ParseNumber<int>(token.substr(0, token.size() - 1), line, "cell kind");
    if (kind < kMinKind || kind > kMaxKind)
        Fail(line, "cell " + std::to_string(cell) + ": kind " + std::to_string(kind) + " is outside 1..3");
    board.SetCellValue(cell, kind);
    board.SetOwner(cell, content->owner);
    board.SetBonus(cell, content->bonus);
}

// The nine rows after the board line; returns the index of the line after them.
size_t ParseBoard(const std::vector<TextLine>& lines, size_t at, LevelSource& source)
{
    ExpectArgs(lines[at], 0, 0);
    source.boardLine = lines[at].number;
    int cell = 0;
    for (int row = 0; row < kRowCount; ++row)
    {
        if (at + 1 + static_cast<size_t>(row) >= lines.size())
            Fail(lines.back().number, "the board has " + std::to_string(row) + " rows; it needs 9");
        const TextLine& line = lines[at + 1 + static_cast<size_t>(row)];
        const int length = kRowLengths[static_cast<size_t>(row)];
        if (static_cast<int>(line.tokens.size()) != length)
            Fail(line.number, "board row " + std::to_string(row + 1) + " has " + std::to_string(line.tokens.size()) +
                                  " cells; it needs " + std::to_string(length));
        for (const std::string& token : line.tokens)
        {
            source.cellLines[static_cast<size_t>(cell)] = line.number;
            ParseCell(token, cell++, line.number, source.board);
        }
    }
    return at + 1 + kRowCount;
}

LevelSource Parse(std::string_view text)
{
    const std::vector<TextLine> lines = SplitLines(text);
    LevelSource source;
    auto once = [](bool seen, const TextLine& line) {
        if (seen)
            Fail(line.number, "'" + line.tokens[0] + "' appears a second time");
    };
    for (size_t at = 0; at < lines.size();)
    {
        const TextLine& line = lines[at];
        const std::string& keyword = line.tokens[0];
        if (keyword == "players")
        {
            once(source.playersLine != 0, line);
            ParsePlayers(line, source);
        }
        else if (keyword == "first")
        {
            once(source.first.has_value(), line);
            ExpectArgs(line, 1, 1);
            source.first = ParseNumber<int>(line.tokens[1], line.number, "player");
            source.firstLine = line.number;
        }
        else if (keyword == "seed")
        {
            once(source.seed.has_value(), line);
            ExpectArgs(line, 1, 1);
            source.seed = ParseNumber<uint32_t>(line.tokens[1], line.number, "seed (0..4294967295)");
        }
        else if (keyword == "medal")
        {
            once(source.medal.has_value(), line);
            ParseMedal(line, source);
        }
        else if (keyword == "board")
        {
            once(source.boardLine != 0, line);
            at = ParseBoard(lines, at, source);
            continue;
        }
        else
        {
            Fail(line.number, "unknown keyword '" + keyword + "'");
        }
        ++at;
    }
    const int end = lines.empty() ? 1 : lines.back().number;
    if (source.playersLine == 0)
        Fail(end, "no 'players' line");
    if (!source.first)
        Fail(end, "no 'first' line");
    if (!source.seed)
        Fail(end, "no 'seed' line");
    if (!source.medal)
        Fail(end, "no 'medal' line");
    if (source.boardLine == 0)
        Fail(end, "no 'board'");
    return source;
}

GameLogic BuildLogic(const LevelSource& source)
{
    GameLogic logic;
    logic.Init(*source.seed);
    const int players = static_cast<int>(source.aiLevels.size());
    logic.SetPlayerCount(players);
    for (int player = 1; player <= players; ++player)
        logic.SetPlayerAiLevel(player, source.aiLevels[static_cast<size_t>(player - 1)]);
    logic.SetCurrentPlayer(*source.first);
    logic.GetBoard() = source.board;
    logic.Recount();
    return logic;
}

void Validate(const LevelSource& source, const GameLogic& logic)
{
    // 1. Owners within the player count, and a third player only with cells of its own.
    const int players = logic.GetPlayerCount();
    for (int cell = 0; cell < kCellCount; ++cell)
        if (source.board.GetOwner(cell) > players)
            Fail(source.cellLines[static_cast<size_t>(cell)],
                 "cell " + std::to_string(cell) + " belongs to player " + std::to_string(source.board.GetOwner(cell)) +
                     " but the level has " + std::to_string(players) + " players");
    if (players == 3 && source.board.CountCells(kOwnerMask, 3) == 0)
        Fail(source.playersLine, "3 players but no cell of player 3");
    // 2. The first player is one of them.
    if (*source.first < 1 || *source.first > players)
        Fail(source.firstLine, "first player " + std::to_string(*source.first) + " is outside 1.." + std::to_string(players));
    // 3. Everybody can play at the start.
    for (int player = 1; player <= players; ++player)
    {
        if (!logic.IsPlayerAlive(player))
            Fail(source.boardLine, "player " + std::to_string(player) + " has no cell");
        if (!logic.CanMove(player))
            Fail(source.boardLine, "player " + std::to_string(player) + " has no move");
    }
}

// The level file as the game saves it afresh: the section and the medal rule go through a
// level, which writes fresh parameters and no selection itself.
Quoll::Buffer SaveAfresh(const GameLogic& logic, const MedalRule& medal)
{
    Quoll::Buffer source;
    logic.Write(source);
    for (int word = 0; word < LevelParams::kWordCount; ++word)
        source.WriteInt32(0);
    source.WriteInt32(-1);
    source.WriteInt32(Level::kMedalRuleMarker);
    source.WriteInt32(medal.firstThreshold);
    source.WriteInt32(medal.secondThreshold);
    source.WriteInt32(medal.mode);

    NullLevelView view;
    NullLevelServices services;
    Level level(view, services);
    Quoll::Buffer saved;
    const bool loaded = level.Load(source);
    const bool started = loaded && level.Start();
    if (!started || !level.Save(saved, true))
        Fail(0, "the level does not read back");
    return saved;
}

// The seed a generator was freshly seeded with, if it was.
std::optional<uint32_t> FreshSeed(const Quoll::MersenneTwister& random)
{
    const std::string state = random.GetState();
    uint32_t seed = 0;
    for (int b = 0; b < 4; ++b)
        seed |= static_cast<uint32_t>(static_cast<uint8_t>(state[static_cast<size_t>(b)])) << (8 * b);
    Quoll::MersenneTwister fresh;
    fresh.Seed(seed);
    if (fresh.GetState() != state)
        return std::nullopt;
    return seed;
}

std::string CellToken(const Board& board, int cell)
{
    if (!board.Exists(cell))
        return "-";
    const int owner = board.GetOwner(cell);
    const int bonus = board.GetBonus(cell);
    if (owner != 0 && bonus != BONUS_NONE)
        Fail(0, "cell " + std::to_string(cell) + " holds a bacterium on a bonus, which the text cannot say");
    for (const ContentChar& entry : kContents)
        if (entry.owner == owner && entry.bonus == bonus)
            return std::to_string(board.GetCellValue(cell)) + entry.symbol;
    Fail(0, "cell " + std::to_string(cell) + " holds an unknown content");
}

std::string Print(const Level& level)
{
    const GameLogic& logic = level.GetLogic();
    const std::optional<uint32_t> seed = FreshSeed(logic.GetRandom());
    if (!seed)
        Fail(0, "the level's generator has been drawn from; its state is no seed the text can say");
    std::ostringstream out;
    out << "players";
    for (int player = 1; player <= logic.GetPlayerCount(); ++player)
        out << ' ' << logic.GetPlayerAiLevel(player);
    const MedalRule& medal = level.GetMedalRule();
    const bool cells = medal.mode == static_cast<int32_t>(MedalMode::Cells);
    if (!cells && medal.mode != static_cast<int32_t>(MedalMode::Rounds))
        Fail(0, "medal mode " + std::to_string(medal.mode) + " is neither cells nor rounds");
    out << "\nfirst " << logic.GetCurrentPlayer() << "\nseed " << *seed << "\nmedal " << (cells ? "cells" : "rounds") << ' '
        << medal.firstThreshold << ' ' << medal.secondThreshold << "\nboard\n";
    int cell = 0;
    for (int row = 0; row < kRowCount; ++row)
    {
        out << std::string(static_cast<size_t>(2 * std::abs(row - kRowCount / 2)), ' ');
        // Cells four characters apart: each row is shifted by half a cell against its neighbour.
        std::string line;
        for (int i = 0; i < kRowLengths[static_cast<size_t>(row)]; ++i)
        {
            const std::string token = CellToken(logic.GetBoard(), cell++);
            line += token + std::string(token.size() < 4 ? 4 - token.size() : 1, ' ');
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << '\n';
    }
    return out.str();
}
} // namespace

std::string LevelTextError::ToString() const
{
    return line > 0 ? "line " + std::to_string(line) + ": " + message : message;
}

bool CompileLevelText(std::string_view text, Quoll::Buffer& body, LevelTextError& error)
{
    try
    {
        const LevelSource source = Parse(text);
        const GameLogic logic = BuildLogic(source);
        Validate(source, logic);
        const Quoll::Buffer saved = SaveAfresh(logic, *source.medal);
        body.WriteBytes(saved.GetDataPtr(), saved.GetDataSize());
        return true;
    }
    catch (const CompileFailure& failure)
    {
        error = failure.error;
        return false;
    }
}

bool PrintLevelText(Quoll::Buffer& body, std::string& text, LevelTextError& error)
{
    NullLevelView view;
    NullLevelServices services;
    Level level(view, services);
    if (!level.Load(body, LevelBodyKind::LevelFile))
    {
        error = {0, "not a level file: " + level.GetLoadError()};
        return false;
    }
    try
    {
        // The layout read goes first, as a comment: an older file prints the defaults that stand
        // in for what it lacks.
        text = "# " + level.GetFileLayout()->Describe() + "\n" + Print(level);
        return true;
    }
    catch (const CompileFailure& failure)
    {
        error = failure.error;
        return false;
    }
}
