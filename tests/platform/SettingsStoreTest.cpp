// Stresses the registry stand-in: typed values, sub-keys, names in any case, the
// caller's capacity ("more data"), deletion, persistence through the atomic rewrite, a
// failed write leaving everything as it was, and a corrupt file replaced by defaults.
// Rerun one case: test_platform --gtest_filter='SettingsStore.*'
#include "framework/platform/system/SettingsStore.h"

#include "framework/platform/system/PlatformLog.h"
#include "ScratchFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

namespace Quoll::Platform
{
namespace
{
constexpr const char* kKey = "SOFTWARE\\Nordwick\\PetriGlowSaga";

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> gLogged;
void CaptureLog(std::string_view subsystem, std::string_view text)
{
    gLogged.push_back(std::string(subsystem) + ": " + std::string(text));
}
} // namespace

static_assert(!std::is_copy_constructible_v<SettingsStore>);

TEST(SettingsStore, StoresTypedValuesUnderKeysAndSubKeysIgnoringCase)
{
    std::string file = Testing::ScratchFolder() + "/settings.txt";
    SettingsStore store(file);
    EXPECT_EQ(store.SetInt32(kKey, "MusicVolume", 85), SettingsResult::Ok);
    EXPECT_EQ(store.SetInt32(kKey, "PreferredX", -1), SettingsResult::Ok);
    EXPECT_EQ(store.SetString(std::string(kKey) + "\\Test3D", "RuntimeError", "no device"), SettingsResult::Ok);

    EXPECT_EQ(store.GetInt32("software\\NORDWICK\\petriglowsaga", "musicvolume"), 85);
    EXPECT_EQ(store.GetInt32(kKey, "PreferredX"), -1);
    EXPECT_EQ(store.GetString(std::string(kKey) + "\\test3d", "RUNTIMEERROR"), "no device");
    EXPECT_TRUE(store.KeyExists("Software\\Nordwick"));
    EXPECT_TRUE(store.KeyExists(std::string(kKey) + "\\Test3D\\"));
    EXPECT_FALSE(store.KeyExists(std::string(kKey) + "\\Other"));
    // Another type does not read as this one; the sub-key's value is not in the parent.
    EXPECT_EQ(store.GetString(kKey, "MusicVolume"), std::nullopt);
    EXPECT_EQ(store.GetInt32(std::string(kKey) + "\\Test3D", "RuntimeError"), std::nullopt);
    EXPECT_EQ(store.GetString(kKey, "RuntimeError"), std::nullopt);

    // A later write with other letter case replaces the value.
    EXPECT_EQ(store.SetInt32(kKey, "MUSICVOLUME", 10), SettingsResult::Ok);
    EXPECT_EQ(store.GetInt32(kKey, "MusicVolume"), 10);
}

TEST(SettingsStore, ReportsMoreDataWhenTheCapacityIsTooSmall)
{
    SettingsStore store("");
    ASSERT_EQ(store.SetString(kKey, "DemoJumpTime", "00:10:30"), SettingsResult::Ok);
    RegValueType type = REG_NONE;
    uint8_t buffer[16] = {};
    uint32_t length = 4;
    EXPECT_EQ(store.QueryValue(kKey, "DemoJumpTime", &type, buffer, &length), SettingsResult::MoreData);
    EXPECT_EQ(length, 8u);
    EXPECT_EQ(buffer[0], 0); // nothing copied
    length = 0;
    EXPECT_EQ(store.QueryValue(kKey, "DemoJumpTime", &type, nullptr, &length), SettingsResult::Ok);
    EXPECT_EQ(length, 8u);
    EXPECT_EQ(type, REG_SZ);
    length = sizeof(buffer);
    EXPECT_EQ(store.QueryValue(kKey, "DemoJumpTime", &type, buffer, &length), SettingsResult::Ok);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), length), "00:10:30");
    EXPECT_EQ(store.QueryValue(kKey, "Missing", &type, buffer, &length), SettingsResult::NotFound);
    EXPECT_EQ(store.QueryValue("SOFTWARE\\Nobody", "DemoJumpTime", &type, buffer, &length), SettingsResult::NotFound);
}

TEST(SettingsStore, DeletesValuesAndKeepsEverythingAcrossReopening)
{
    std::string file = Testing::ScratchFolder() + "/settings.txt";
    {
        SettingsStore store(file);
        ASSERT_EQ(store.SetInt32(kKey, "Is3D", 1), SettingsResult::Ok);
        ASSERT_EQ(store.SetInt32(kKey, "Muted", 0), SettingsResult::Ok);
        ASSERT_EQ(store.CreateKey(std::string(kKey) + "\\Empty"), SettingsResult::Ok);
        EXPECT_EQ(store.DeleteValue(kKey, "IS3D"), SettingsResult::Ok);
        EXPECT_EQ(store.DeleteValue(kKey, "Is3D"), SettingsResult::NotFound);
    }
    SettingsStore reopened(file);
    EXPECT_FALSE(reopened.LoadedFromCorruptFile());
    EXPECT_EQ(reopened.GetInt32(kKey, "Is3D"), std::nullopt);
    EXPECT_EQ(reopened.GetInt32(kKey, "Muted"), 0);
    EXPECT_TRUE(reopened.KeyExists(std::string(kKey) + "\\Empty"));
}

TEST(SettingsStore, RoundTripsAnyNameAndBytesThroughTheFile)
{
    std::string file = Testing::ScratchFolder() + "/settings.txt";
    uint32_t seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    struct Written
    {
        std::string name;
        RegValueType type;
        std::vector<uint8_t> data;
    };
    std::vector<Written> written;
    {
        SettingsStore store(file);
        for (int i = 0; i < 40; ++i)
        {
            Written value;
            // Bytes biased towards the ones the file format must escape.
            const std::string awkward = "%=[]#\n\r\t\\ \x7f\xc3\xa9";
            value.name = "v" + std::to_string(i);
            for (int k = random() % 6; k > 0; --k)
                value.name += awkward[random() % awkward.size()];
            static constexpr RegValueType kTypes[] = {REG_SZ, REG_DWORD, REG_BINARY, 7};
            value.type = kTypes[random() % 4];
            size_t length = value.type == REG_DWORD && random() % 2 == 0 ? 4 : random() % 12;
            for (size_t k = 0; k < length; ++k)
                value.data.push_back(random() % 3 == 0 ? uint8_t(awkward[random() % awkward.size()]) : uint8_t(random()));
            ASSERT_EQ(store.SetValue(kKey, value.name, value.type, value.data), SettingsResult::Ok);
            written.push_back(value);
        }
    }
    SettingsStore reopened(file);
    ASSERT_FALSE(reopened.LoadedFromCorruptFile());
    for (const Written& value : written)
    {
        RegValueType type = REG_NONE;
        std::vector<uint8_t> data(64);
        uint32_t length = static_cast<uint32_t>(data.size());
        ASSERT_EQ(reopened.QueryValue(kKey, value.name, &type, data.data(), &length), SettingsResult::Ok) << value.name;
        data.resize(length);
        EXPECT_EQ(type, value.type) << value.name;
        EXPECT_EQ(data, value.data) << value.name;
    }
}

TEST(SettingsStore, RewritesAtomicallyAndKeepsTheOldStateWhenWritingFails)
{
    std::string folder = Testing::ScratchFolder();
    std::string file = folder + "/settings.txt";
    SettingsStore store(file);
    ASSERT_EQ(store.SetInt32(kKey, "SfxVolume", 70), SettingsResult::Ok);
    std::string before = ReadText(file);
    EXPECT_EQ(before, store.Serialise());
    // No temporary file is left behind.
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++entries;
    EXPECT_EQ(entries, 1u);

    // Make the rewrite fail: the temporary file's place is taken by a folder.
    LogSink previous = SetLogSink(&CaptureLog);
    std::filesystem::create_directory(file + ".tmp" + std::to_string(::getpid()));
    EXPECT_EQ(store.SetInt32(kKey, "SfxVolume", 5), SettingsResult::WriteFailed);
    SetLogSink(previous);
    EXPECT_EQ(store.GetInt32(kKey, "SfxVolume"), 70);
    EXPECT_EQ(ReadText(file), before);
}

TEST(SettingsStore, ReplacesACorruptFileByDefaultsAndKeepsItAside)
{
    std::string file = Testing::ScratchFolder() + "/settings.txt";
    for (const char* damaged : {"QuollSettings 1\n[SOFTWARE]\nMusicVolume=dword:12x\n", "QuollSettings 1\nX=sz:1\n",
                                "garbage", "", "QuollSettings 1\n[SOFTWARE]\nName=sz:%4\n"})
    {
        SCOPED_TRACE(damaged);
        std::ofstream(file, std::ios::binary) << damaged;
        gLogged.clear();
        LogSink previous = SetLogSink(&CaptureLog);
        SettingsStore store(file);
        SetLogSink(previous);
        EXPECT_TRUE(store.LoadedFromCorruptFile());
        EXPECT_EQ(store.GetInt32("SOFTWARE", "MusicVolume"), std::nullopt);
        ASSERT_EQ(gLogged.size(), 1u);
        EXPECT_NE(gLogged[0].find(file), std::string::npos);
        EXPECT_EQ(ReadText(file + ".corrupt"), damaged);
        // The next change writes a good file again.
        EXPECT_EQ(store.SetInt32(kKey, "MusicVolume", 85), SettingsResult::Ok);
        EXPECT_FALSE(SettingsStore(file).LoadedFromCorruptFile());
    }
}

// When the damaged file cannot be moved aside, the log says so rather than claiming it was.
TEST(SettingsStore, ACorruptFileThatCannotBeKeptAsideIsLoggedAsSuch)
{
    std::string file = Testing::ScratchFolder() + "/settings.txt";
    std::ofstream(file, std::ios::binary) << "garbage";
    std::filesystem::create_directories(file + ".corrupt/occupied");
    gLogged.clear();
    LogSink previous = SetLogSink(&CaptureLog);
    SettingsStore store(file);
    SetLogSink(previous);
    EXPECT_TRUE(store.LoadedFromCorruptFile());
    ASSERT_EQ(gLogged.size(), 1u);
    EXPECT_EQ(gLogged[0].find("; kept as"), std::string::npos) << gLogged[0];
    EXPECT_NE(gLogged[0].find("cannot be kept as " + file + ".corrupt"), std::string::npos) << gLogged[0];
    EXPECT_EQ(ReadText(file), "garbage");
}

// Deferred changes reach the file in one rewrite; an unchanged value rewrites nothing; a failed
// flush keeps the changes for a later one; the store's end writes what is pending.
TEST(SettingsStore, DeferredChangesAreWrittenOnceAtTheFlush)
{
    std::string folder = Testing::ScratchFolder();
    std::string file = folder + "/settings.txt";
    {
        SettingsStore store(file);
        ASSERT_EQ(store.SetInt32(kKey, "MusicVolume", 50), SettingsResult::Ok);
        EXPECT_EQ(store.RewriteCount(), 1u);
        EXPECT_EQ(store.SetInt32(kKey, "MusicVolume", 50), SettingsResult::Ok);
        EXPECT_EQ(store.RewriteCount(), 1u);

        store.SetDeferredWrites(true);
        for (int i = 0; i < 10; ++i)
            ASSERT_EQ(store.SetInt32(kKey, "Value" + std::to_string(i), i), SettingsResult::Ok);
        EXPECT_EQ(store.RewriteCount(), 1u);
        EXPECT_EQ(SettingsStore(file).GetInt32(kKey, "Value9"), std::nullopt);
        EXPECT_EQ(store.Flush(), SettingsResult::Ok);
        EXPECT_EQ(store.RewriteCount(), 2u);
        EXPECT_EQ(store.Flush(), SettingsResult::Ok);
        EXPECT_EQ(store.RewriteCount(), 2u);
        EXPECT_EQ(SettingsStore(file).GetInt32(kKey, "Value9"), 9);

        // A flush that fails keeps the change and is not retried until something changes.
        LogSink previous = SetLogSink(&CaptureLog);
        const std::string blocker = file + ".tmp" + std::to_string(::getpid());
        std::filesystem::create_directory(blocker);
        ASSERT_EQ(store.SetInt32(kKey, "MusicVolume", 60), SettingsResult::Ok);
        EXPECT_EQ(store.Flush(), SettingsResult::WriteFailed);
        EXPECT_EQ(store.Flush(), SettingsResult::WriteFailed);
        SetLogSink(previous);
        std::filesystem::remove(blocker);
        EXPECT_EQ(store.GetInt32(kKey, "MusicVolume"), 60);
        ASSERT_EQ(store.SetInt32(kKey, "SfxVolume", 70), SettingsResult::Ok);
        EXPECT_EQ(store.Flush(), SettingsResult::Ok);
        EXPECT_EQ(SettingsStore(file).GetInt32(kKey, "MusicVolume"), 60);

        ASSERT_EQ(store.SetInt32(kKey, "SfxVolume", 80), SettingsResult::Ok);
    }
    EXPECT_EQ(SettingsStore(file).GetInt32(kKey, "SfxVolume"), 80);
}

TEST(SettingsStore, DefaultPathLiesInTheSettingsFolder)
{
    std::optional<std::string> path = SettingsStore::DefaultPath("Nordwick", "PetriGlowSaga");
    ASSERT_TRUE(path.has_value());
    const char* config = std::getenv("XDG_CONFIG_HOME");
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(*path, std::string(config) + "/Nordwick/PetriGlowSaga/settings.txt");
    EXPECT_TRUE(std::filesystem::is_directory(std::string(config) + "/Nordwick/PetriGlowSaga"));
}
} // namespace Quoll::Platform
