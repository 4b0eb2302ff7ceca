#include "tools/leveldriver/Replay.h"

#include "game/level/LevelText.h"

#include "framework/files/PakInterface.h"

#include <charconv>
#include <sstream>

namespace
{
constexpr const char* kRecordKeywords[] = {"turn", "move", "result", "capped", "softlock"};
constexpr const char* kEndKeywords[] = {"result", "capped", "softlock"};
constexpr const char* kHeaderKeywords[] = {"level", "level-number", "seed", "level-seed", "round-cap"};


std::vector<std::string> Tokens(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> tokens;
    for (std::string token; in >> token;)
        tokens.push_back(token);
    return tokens;
}

std::string Join(const std::vector<std::string>& tokens)
{
    std::string line;
    for (const std::string& token : tokens)
        line += (line.empty() ? "" : " ") + token;
    return line;
}

template <typename T>
bool ParseNumber(const std::string& token, T& value)
{
    const auto [ptr, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    return ec == std::errc() && ptr == token.data() + token.size();
}

template <size_t N>
bool IsOneOf(const std::string& keyword, const char* const (&known)[N])
{
    for (const char* word : known)
        if (keyword == word)
            return true;
    return false;
}

// A header line; false with the reason when it does not read.
bool ParseHeader(const std::vector<std::string>& tokens, ReplayFile& replay, std::string& reason)
{
    const std::string& keyword = tokens[0];
    if (tokens.size() != 2)
    {
        reason = "'" + keyword + "' takes one value";
        return false;
    }
    bool read = true;
    if (keyword == "level")
        replay.levelPath = tokens[1];
    else if (keyword == "level-number")
        read = ParseNumber(tokens[1], replay.levelNumber);
    else if (keyword == "seed")
        read = ParseNumber(tokens[1], replay.seed);
    else if (keyword == "level-seed")
        read = ParseNumber(tokens[1], replay.levelSeed.emplace());
    else
        read = ParseNumber(tokens[1], replay.roundCap) && replay.roundCap >= 0;
    if (!read)
        reason = "'" + tokens[1] + "' is not a valid " + keyword;
    return read;
}
} // namespace

bool ReplayFile::Parse(const std::string& text, std::string& error)
{
    std::istringstream in(text);
    int number = 0;
    for (std::string line; std::getline(in, line);)
    {
        ++number;
        if (const size_t hash = line.find('#'); hash != std::string::npos)
            line.erase(hash);
        const std::vector<std::string> tokens = Tokens(line);
        if (tokens.empty())
            continue;
        const std::string& keyword = tokens[0];
        std::string reason;
        const bool header = IsOneOf(keyword, kHeaderKeywords);
        if (header && !body.empty())
            reason = "'" + keyword + "' belongs before the game's lines";
        else if (header)
            ParseHeader(tokens, *this, reason);
        else if (!body.empty() && IsOneOf(Tokens(body.back().text)[0], kEndKeywords))
            reason = "the game ended on line " + std::to_string(body.back().number) + "; nothing may follow";
        else if (!IsOneOf(keyword, kRecordKeywords) && !DriverInput::FromLine(line, reason) && reason.empty())
            reason = "unknown line '" + keyword + "'";
        if (!reason.empty())
        {
            error = "line " + std::to_string(number) + ": " + reason;
            return false;
        }
        if (!header)
            body.push_back({number, Join(tokens)});
    }
    if (levelPath.empty())
    {
        error = "no 'level' line";
        return false;
    }
    if (body.empty() || !IsOneOf(Tokens(body.back().text)[0], kEndKeywords))
    {
        error = "line " + std::to_string(number) + ": the game's lines end without 'result', 'capped' or 'softlock': the replay was cut short";
        return false;
    }
    return true;
}

GameSetup ReplayFile::Setup(Quoll::Buffer levelBody) const
{
    GameSetup setup;
    setup.levelBody = std::move(levelBody);
    setup.levelNumber = levelNumber;
    setup.seed = seed;
    setup.levelSeed = levelSeed;
    setup.roundCap = roundCap;
    return setup;
}

std::string ReplayFile::Format(const std::vector<std::string>& lines) const
{
    std::string text = "# A game of the headless driver; check it with: leveldriver replay <this file>\n";
    text += "level " + levelPath + "\nlevel-number " + std::to_string(levelNumber) + "\nseed " + std::to_string(seed) + "\n";
    if (levelSeed)
        text += "level-seed " + std::to_string(*levelSeed) + "\n";
    text += "round-cap " + std::to_string(roundCap) + "\n";
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

ScriptInputs::ScriptInputs(const ReplayFile& replay)
{
    for (const ReplayLine& line : replay.body)
    {
        std::string ignored;
        if (std::optional<DriverInput> input = DriverInput::FromLine(line.text, ignored))
            mInputs.push_back(*input);
    }
}

std::optional<DriverInput> ScriptInputs::Next(const LevelSession& /*session*/)
{
    if (mNext >= mInputs.size())
        return std::nullopt;
    return mInputs[mNext++];
}

bool LoadLevelFile(const std::filesystem::path& path, Quoll::Buffer& body, std::string& error)
{
    std::string bytes;
    if (!Quoll::PakReadFile(path.string(), bytes))
    {
        error = "cannot open " + path.string();
        return false;
    }
    if (path.extension() != ".txt")
    {
        body.WriteBytes(bytes.data(), bytes.size());
        return true;
    }
    LevelTextError textError;
    if (!CompileLevelText(bytes, body, textError))
    {
        error = path.string() + ": " + textError.ToString();
        return false;
    }
    return true;
}

bool CheckReplay(const ReplayFile& replay, const std::filesystem::path& levelFolder, std::string& error)
{
    Quoll::Buffer body;
    if (!LoadLevelFile(levelFolder / replay.levelPath, body, error))
        return false;
    ScriptInputs inputs(replay);
    HeadlessGame game(replay.Setup(std::move(body)));
    const GameRecord record = game.Play(inputs);
    // The first line where the game and the replay part.
    const size_t count = std::max(record.lines.size(), replay.body.size());
    for (size_t i = 0; i < count; ++i)
    {
        if (i >= replay.body.size())
        {
            const int last = replay.body.empty() ? 0 : replay.body.back().number;
            error = "line " + std::to_string(last) + ": the replay ends here, but the game went on with '" +
                    record.lines[i] + "'";
            return false;
        }
        const ReplayLine& expected = replay.body[i];
        if (i >= record.lines.size())
        {
            const std::string why = record.stopReason.empty() ? "the game ended" : "the game stopped: " + record.stopReason;
            error = "line " + std::to_string(expected.number) + ": " + why + " where the replay has '" + expected.text + "'";
            return false;
        }
        if (record.lines[i] != expected.text)
        {
            error = "line " + std::to_string(expected.number) + ": the replay has '" + expected.text +
                    "', the game gave '" + record.lines[i] + "'";
            return false;
        }
    }
    return true;
}
