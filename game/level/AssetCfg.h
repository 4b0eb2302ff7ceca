#pragma once
// AssetCfg: the asset table read from "data/game.cfg": for every campaign level its episode,
// background, cell skin and the bacteria kinds of the three sides. The play screen, the level
// map and the menus ask it for a level number through clamped, 1-based getters; a negative
// number -k stands for episode k (its random levels) and means the episode's first level.
//
// The file is read line by line (empty lines and '#' lines skipped); the first token is the
// keyword, the others decimal integers:
//   EPISODELEVELS e n     rows {e, 1, 1, 1, 2, 3} are appended up to n rows
//   HEROBAC h             the hero bacteria of every row read so far
//   EPISODEASSET e a b c d  background, cell skin, enemy and third bacteria of episode e's rows
//   LEVELASSET l a b c d    the same for level l, when its row exists
// Other keywords are skipped; so are lines whose numbers are missing or malformed, and
// EPISODELEVELS lines beyond kMaxRows rows (both logged).
#include "game/level/LevelList.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class AssetCfg
{
public:
    static constexpr const char* kFileName = "data/game.cfg";
    static constexpr int kFieldCount = 6;
    // An EPISODELEVELS line asking for more rows is refused (a typo must not exhaust memory).
    static constexpr int kMaxRows = 10000;

    enum Field : int
    {
        Episode = 0,
        FoneIndex = 1,
        CellSkin = 2,
        HeroBacteria = 3,
        EnemyBacteria = 4,
        ThirdBacteria = 5,
    };
    using Row = std::array<int32_t, kFieldCount>;
    // One line for the game's "ERROR" log.
    using ErrorSink = std::function<void(const std::string&)>;

    // The row a level gets when the table has none for it (a missing or short file).
    static constexpr Row kDefaultRow = {1, 1, 1, 1, 2, 3};

    // levelCount: the catalogue's level count, the highest level the getters answer.
    explicit AssetCfg(int levelCount = LevelList::kLevelCount) : mLevelCount(levelCount) {}

    // Empties the table and reads the file. False, with the open failure logged and an empty
    // table, when the file cannot be opened; a table shorter than the catalogue is logged and
    // its missing levels answer the default row.
    bool Load(const ErrorSink& logError, const std::string& fileName = kFileName);

    // 1 + the index of episode's first row; 0 when no row has that episode.
    [[nodiscard]] int GetFirstLevelOfEpisode(int episode) const;
    // A negative level -k becomes episode k's first level; others stay.
    [[nodiscard]] int NormaliseLevel(int level) const;
    // The level normalised and clamped to 1..level count.
    [[nodiscard]] const Row& GetRow(int level) const;

    [[nodiscard]] int GetEpisode(int level) const { return GetRow(level)[Episode]; }
    [[nodiscard]] int GetFoneIndex(int level) const { return GetRow(level)[FoneIndex]; }
    [[nodiscard]] int GetCellSkin(int level) const { return GetRow(level)[CellSkin]; }
    [[nodiscard]] int GetHeroBacteria(int level) const { return GetRow(level)[HeroBacteria]; }
    [[nodiscard]] int GetEnemyBacteria(int level) const { return GetRow(level)[EnemyBacteria]; }
    [[nodiscard]] int GetThirdBacteria(int level) const { return GetRow(level)[ThirdBacteria]; }

    [[nodiscard]] const std::vector<Row>& GetRows() const { return mRows; }

private:
    // False when a number is missing or malformed.
    bool ApplyLine(const std::string& keyword, std::istream& numbers);
    void SetAssets(Row& row, const std::array<int32_t, 4>& assets);

    int mLevelCount;
    std::vector<Row> mRows;
};

// The resource id of a medal's image (grades 0..2 clamped): "IMAGE_MEDAL1" to "IMAGE_MEDAL3".
// The game shell's GetMedalImage looks the image up by it.
[[nodiscard]] constexpr int GetMedalImageId(int grade)
{
    constexpr int kFirstMedalImageId = 18;
    return kFirstMedalImageId + (grade < 0 ? 0 : grade > 2 ? 2 : grade);
}
