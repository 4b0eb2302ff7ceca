#include "tools/fixturegen/Fixtures.h"

#include "game/board/Board.h"
#include "game/level/Level.h"
#include "game/level/LevelText.h"
#include "game/level/NullLevelServices.h"
#include "game/level/NullLevelView.h"
#include "game/shell/PlayerData.h"
#include "game/shell/Profile.h"

#include <fstream>
#include <iterator>

namespace Fixtures
{
namespace
{
namespace fs = std::filesystem;

// The human (player 1) in the top corner with one free cell beside it, every other cell the
// enemy's: cloning into the free cell fills the board with the enemy far ahead.
constexpr const char* kDefeatText = "players -1 1\n"
                                    "first 1\n"
                                    "seed 7\n"
                                    "medal cells 12 8\n"
                                    "board\n"
                                    "        21  2.  22  22  22\n"
                                    "      22  22  22  22  22  22\n"
                                    "    22  22  22  22  22  22  22\n"
                                    "  -   -   -   -   -   -   -   - \n"
                                    "-   -   -   -   -   -   -   -   - \n"
                                    "  -   -   -   -   -   -   -   - \n"
                                    "    -   -   -   -   -   -   - \n"
                                    "      -   -   -   -   -   - \n"
                                    "        -   -   -   -   - \n";

// A won level's score: plausible and different for every level.
int LevelScore(int level) { return 900 + 25 * level; }

bool ReadFile(const fs::path& path, Quoll::Buffer& body)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    body.WriteBytes(bytes.data(), bytes.size());
    body.SeekReadStart();
    return !bytes.empty();
}

// Loads a level file into a level without a screen, lets adjust change it, and saves its body
// as the play state saves a level.
template <typename Adjust>
bool SaveAdjustedLevel(Quoll::Buffer& file, int levelNumber, Quoll::Buffer& body, std::string& error, Adjust adjust)
{
    NullLevelView view;
    NullLevelServices services;
    services.SetLevelNumber(levelNumber);
    services.SetDifficulty(Profile::kNormalDifficulty);
    Level level(view, services);
    if (!level.Load(file, LevelBodyKind::LevelFile))
    {
        error = "level " + std::to_string(levelNumber) + " does not load: " + level.GetLoadError();
        return false;
    }
    if (!adjust(level, error))
        return false;
    return level.Save(body, false);
}

void MarkIntroductionsSeen(PlayerData& data)
{
    data.GetCurrentProfile().MarkSeen(ProfileSeen::OpeningComic);
    data.GetCurrentProfile().MarkSeen(ProfileSeen::MapIntro);
    data.SaveCurrentProfile();
}

// Adds the profile on the normal difficulty with levels 1..last won; medal gives each level's.
template <typename Medal>
bool AddProfile(PlayerData& data, const std::string& name, int last, Medal medal, std::string& error)
{
    if (data.CreateProfile(name) != ProfileList::NameCheck::Ok)
    {
        error = "profile " + name + " cannot be created";
        return false;
    }
    data.ChooseDifficulty(Profile::kNormalDifficulty);
    for (int level = 1; level <= last; ++level)
        data.RecordLevelResult(level, LevelScore(level), medal(level));
    MarkIntroductionsSeen(data);
    return true;
}

// Removes the default profile that loading an empty store creates.
void RemoveDefaultProfile(PlayerData& data)
{
    const int index = data.GetProfileList().Find(PlayerData::kDefaultProfileName);
    if (index >= 0)
        data.DeleteProfile(index);
}

bool MakeNearlyPassed(const fs::path& levels, PlayerData& data, std::string& error)
{
    Quoll::Buffer defeat;
    Quoll::Buffer boss;
    if (!MakeDefeatBody(defeat, error) || !MakeBossBody(levels, boss, error))
        return false;
    if (!AddProfile(data, kDefeatProfile, kDefeatLevel - 1, [](int) { return 1; }, error))
        return false;
    data.SaveGame(kDefeatLevel, defeat);
    if (!AddProfile(data, kNearlyPassedProfile, kBossLevel - 1, [](int level) { return level % 3 == 0 ? 1 : 2; }, error))
        return false;
    data.SaveGame(kBossLevel, boss);
    return true;
}

bool MakeCampaignComplete(PlayerData& data, std::string& error)
{
    return AddProfile(data, kCompleteProfile, Profile::kLevelCount, [](int) { return Profile::kMaxMedal; }, error);
}
} // namespace

std::optional<Kind> ParseKind(const std::string& name)
{
    if (name == "nearly-passed")
        return Kind::NearlyPassed;
    if (name == "campaign-complete")
        return Kind::CampaignComplete;
    return std::nullopt;
}

bool MakeBossBody(const fs::path& levels, Quoll::Buffer& body, std::string& error)
{
    const fs::path path = levels / (std::to_string(kBossLevel) + ".bin");
    Quoll::Buffer file;
    if (!ReadFile(path, file))
    {
        error = "cannot read " + path.string();
        return false;
    }
    return SaveAdjustedLevel(file, kBossLevel, body, error, [](Level& level, std::string& why) {
        if (!level.HasBoss())
        {
            why = "level 15 has no boss";
            return false;
        }
        LevelParams& params = level.GetParams();
        params.bossHitPoints = 1;
        params.inventory[0] = BONUS_BOMB;
        params.armedSlot = 0;
        return true;
    });
}

bool MakeDefeatBody(Quoll::Buffer& body, std::string& error)
{
    Quoll::Buffer file;
    LevelTextError textError;
    if (!CompileLevelText(kDefeatText, file, textError))
    {
        error = "the defeat board: " + textError.ToString();
        return false;
    }
    file.SeekReadStart();
    return SaveAdjustedLevel(file, kDefeatLevel, body, error, [](Level&, std::string&) { return true; });
}

bool Make(Kind kind, const fs::path& levels, PlayerFileStore& store, std::string& error)
{
    PlayerData data(store);
    data.Load("");
    const bool made = kind == Kind::NearlyPassed ? MakeNearlyPassed(levels, data, error) : MakeCampaignComplete(data, error);
    if (!made)
        return false;
    RemoveDefaultProfile(data);
    if (!data.SaveAll())
    {
        error = "the player's files cannot be written";
        return false;
    }
    return true;
}

bool WriteFiles(const MemoryFileStore& store, const fs::path& folder, std::string& error)
{
    std::error_code code;
    fs::create_directories(folder, code);
    for (const auto& [name, bytes] : store.GetFiles())
    {
        if (bytes.empty())
            continue;
        std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out)
        {
            error = "cannot write " + (folder / name).string();
            return false;
        }
    }
    return true;
}

fs::path PlayerFolder(const fs::path& dataHome) { return dataHome / "Nordwick" / "PetriGlowSaga"; }
} // namespace Fixtures
