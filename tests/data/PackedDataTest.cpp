// Every group of the manifest loads from main.pak as the game mounts it, and every id of the
// master table resolves to a resource with the table's geometry; the sounds decode and stay
// below full scale, the music loops decode.
#include "tests/data/GameDataFiles.h"

#include "framework/display/MemoryImage.h"
#include "framework/files/PakInterface.h"
#include "framework/resources/ResourceManager.h"
#include "framework/sound/SoundFile.h"
#include "framework/sound/SoundReaders.h"
#include "framework/widgets/ImageFontFactory.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <set>

using namespace Quoll;

namespace
{
// Loads sounds by decoding them (the sound manager's first choice, the WAV file), keeping the
// loudest sample of each.
class DecodingSoundLoader : public SoundLoader
{
public:
    int GetFreeSoundId() override { return nextId < 4096 ? nextId : -1; }
    bool LoadSound(unsigned id, const std::string& fileName) override
    {
        SoundFile file;
        VectorSampleSink sink(64u << 20);
        if (!file.Open(fileName + ".wav") || !ReadWavSound(file, sink) || sink.format.bitsPerSample != 16)
            return false;
        int peak = 0;
        for (size_t i = 0; i + 1 < sink.samples.size(); i += 2)
            peak = std::max(peak, std::abs(static_cast<int16_t>(sink.samples[i] | (sink.samples[i + 1] << 8))));
        peaks[fileName] = peak;
        nextId = static_cast<int>(id) + 1;
        return true;
    }
    bool SetBaseVolume(unsigned, double) override { return true; }
    bool SetBasePan(unsigned, int) override { return true; }
    void ReleaseSound(unsigned) override {}

    int nextId = 0;
    std::map<std::string, int> peaks;
};

// The game's folder as the game sees it: its working folder, with main.pak mounted and nothing
// else there, so every file comes from the pack.
class PackedData : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(::chdir(QUOLL_GAME_DIR), 0);
        GetPakInterface()->SetPassword(QUOLL_PAK_PASSWORD);
        ASSERT_TRUE(GetPakInterface()->MountPakFile("main.pak"));
        mManager.SetSoundLoader(&mSounds);
        mManager.SetFontFactory(&mFonts);
    }
    void TearDown() override { GetPakInterface()->UnmountAll(); }

    // The loaders outlive the manager, which hands its resources back to them when it goes.
    DecodingSoundLoader mSounds;
    ImageFontFactory mFonts;
    ResourceManager mManager;
};

TEST_F(PackedData, EveryGroupLoadsAndEveryIdResolvesWithTheTablesGeometry)
{
    ASSERT_TRUE(mManager.ParseResourcesFile("data/resources.xml"));
    const std::vector<ResGen::Entry> table = DataTest::MasterTable();
    ASSERT_FALSE(table.empty());
    std::set<std::string> groups;
    for (const ResGen::Entry& entry : table)
        groups.insert(entry.group);
    for (const std::string& group : groups)
        EXPECT_TRUE(mManager.LoadResources(group)) << group;

    for (const ResGen::Entry& entry : table)
    {
        switch (entry.kind)
        {
        case ResGen::Kind::Image:
        {
            MemoryImage* image = mManager.GetImageThrow(entry.name);
            ASSERT_NE(image, nullptr) << entry.name;
            EXPECT_EQ(image->GetWidth(), entry.width) << entry.name;
            EXPECT_EQ(image->GetHeight(), entry.height) << entry.name;
            EXPECT_EQ(image->mNumCols, entry.cols) << entry.name;
            EXPECT_EQ(image->mNumRows, entry.rows) << entry.name;
            break;
        }
        case ResGen::Kind::Sound:
            EXPECT_GE(mManager.GetSoundThrow(entry.name), 0) << entry.name;
            break;
        case ResGen::Kind::Font:
            EXPECT_NE(mManager.GetFontThrow(entry.name), nullptr) << entry.name;
            break;
        }
    }
}

TEST_F(PackedData, SoundsHaveSoundAndNeverClip)
{
    ASSERT_TRUE(mManager.ParseResourcesFile("data/resources.xml"));
    // The play screen's sounds and the tutorial's miss sound.
    for (const char* group : {"Sounds", "Tutorial"})
        ASSERT_TRUE(mManager.LoadResources(group)) << group;
    ASSERT_FALSE(mSounds.peaks.empty());
    for (const auto& [file, peak] : mSounds.peaks)
    {
        EXPECT_GT(peak, 3000) << file << " is almost silent";
        EXPECT_LT(peak, 32000) << file << " reaches full scale";
    }
}

TEST_F(PackedData, MusicLoopsDecode)
{
    for (const char* song : {"menu", "map", "intro", "level"})
    {
        SoundFile file;
        VectorSampleSink sink(64u << 20);
        ASSERT_TRUE(file.Open(std::string("data/music/") + song + ".ogg")) << song;
        ASSERT_TRUE(ReadOggSound(file, sink)) << song;
        // A loop of several seconds.
        EXPECT_GT(sink.samples.size(), static_cast<size_t>(sink.format.BytesPerSecond()) * 5)
            << song;
    }
}
} // namespace
