#pragma once
// SavedGame: the level a profile left through "save and quit": the level number and the level's
// saved body (Level::Save), kept until the player continues or declines it.
//
// File "<name as hex>.save": string "tymlo1", int32 version 1, int32 level number (1..70, or
// -5..-1 for a random level of an episode), int32 body length (1..kMaxBodySize), the body bytes,
// string "tymlo1". An empty file means no saved game.
#include "framework/core/Buffer.h"

#include <optional>
#include <string>

class PlayerFileStore;

class SavedGame
{
public:
    // Far above any level body; a longer length is damage.
    static constexpr int32_t kMaxBodySize = 1 << 20;

    SavedGame() = default;
    SavedGame(int level, Quoll::Buffer body);

    [[nodiscard]] int GetLevel() const { return mLevel; }
    // The level's saved body, read position at its start.
    [[nodiscard]] Quoll::Buffer& GetBody() { return mBody; }
    [[nodiscard]] const Quoll::Buffer& GetBody() const { return mBody; }

    void Write(Quoll::Buffer& buffer) const;
    // All or nothing: false, with the saved game unchanged, when the record is damaged.
    [[nodiscard]] bool Read(Quoll::Buffer& buffer);

    // "<stem>.save" of the profile name.
    [[nodiscard]] static std::string GetFileName(const std::string& profileName);
    // The profile's saved game; none when there is no file or it is empty, and none, with
    // "Saved game: <file> corrupted" logged, when it is damaged.
    [[nodiscard]] static std::optional<SavedGame> Load(PlayerFileStore& store, const std::string& profileName);
    // False, writing nothing, for a level number or body the reader would refuse.
    bool Save(PlayerFileStore& store, const std::string& profileName) const;
    static bool Erase(PlayerFileStore& store, const std::string& profileName);

private:
    [[nodiscard]] static bool IsLevelNumber(int level);

    int mLevel = 0;
    Quoll::Buffer mBody;
};
