#pragma once
// Replay: a recorded game as text, and its check. The header names the level and the game's
// settings; the body is the game's record line by line (see HeadlessGame):
//   # comments and empty lines are skipped
//   level <path>            a level file, or a level text (".txt"), relative to the replay
//   level-number <n>        optional, default 1
//   seed <n>                the program-wide generator's seed, optional, default 1
//   level-seed <n>          optional: the level's own generator seeded afresh with it
//   round-cap <n>           optional, default 200; 0 ends the game before its first move
//   turn ... / human ... / move ... / result ...
// The game's lines end with its end line (result, capped or softlock), and only there: a
// replay cut short does not read. Replaying feeds the recorded human acts to a fresh game and
// asks for the same record: the computer's replies, the board and the level generator at every
// turn, and the end. The first difference names its line.
#include "tools/leveldriver/HeadlessGame.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct ReplayLine
{
    int number = 0;
    std::string text;
};

struct ReplayFile
{
    std::string levelPath;
    int levelNumber = 1;
    uint32_t seed = 1;
    std::optional<uint32_t> levelSeed;
    int roundCap = 200;
    std::vector<ReplayLine> body;

    // The header's settings as a game's.
    [[nodiscard]] GameSetup Setup(Quoll::Buffer levelBody) const;

    // False with "line N: ..." in error when a line does not read.
    [[nodiscard]] bool Parse(const std::string& text, std::string& error);
    // The header and the record's lines.
    [[nodiscard]] std::string Format(const std::vector<std::string>& lines) const;
};

// The human acts of a replay, in order.
class ScriptInputs : public InputSource
{
public:
    explicit ScriptInputs(const ReplayFile& replay);
    std::optional<DriverInput> Next(const LevelSession& session) override;

private:
    std::vector<DriverInput> mInputs;
    size_t mNext = 0;
};

// Reads a level file; a ".txt" file is compiled from the level text first. False with the
// reason in error.
[[nodiscard]] bool LoadLevelFile(const std::filesystem::path& path, Quoll::Buffer& body, std::string& error);

// Plays the replay's game and compares its record with the replay. levelFolder: where the
// level path is looked up. False with the first difference ("line N: ...") in error.
[[nodiscard]] bool CheckReplay(const ReplayFile& replay, const std::filesystem::path& levelFolder, std::string& error);
