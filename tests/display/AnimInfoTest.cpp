// Animation records and shared image handles: ping-pong frame maps, begin and end delays,
// counts of shared records, and what a handle hands out and deletes.
// Rerun one case: test_display --gtest_filter='AnimInfoTest.*'
#include "framework/display/AnimInfo.h"
#include "framework/display/Image.h"
#include "framework/display/ImageRegistry.h"
#include "framework/display/SharedImageRef.h"

#include <gtest/gtest.h>

using namespace Quoll;

static_assert(std::is_copy_constructible_v<SharedImageRef>);
static_assert(!std::is_copy_assignable_v<Image>);

TEST(AnimInfoTest, PingPongMapsForwardThenBackWithoutRepeatingEnds)
{
    AnimInfo info;
    info.mAnimType = AnimType::PingPong;
    info.mFrameDelay = 3;
    info.Compute(4, 0, 0);
    EXPECT_EQ(info.mFrameMap, (std::vector<int>{0, 1, 2, 3, 2, 1}));
    EXPECT_EQ(info.mNumCels, 6);
    EXPECT_EQ(info.mTotalTime, 18);

    AnimInfo single;
    single.mAnimType = AnimType::PingPong;
    single.Compute(1, 0, 0);
    EXPECT_TRUE(single.mFrameMap.empty());
    EXPECT_EQ(single.mTotalTime, 1);
}

TEST(AnimInfoTest, BeginAndEndDelaysReplaceTheFrameDelay)
{
    AnimInfo info;
    info.mFrameDelay = 5;
    info.Compute(3, 10, 20);
    EXPECT_EQ(info.mPerFrameDelay, (std::vector<int>{10, 5, 20}));
    EXPECT_EQ(info.mTotalTime, 35);

    AnimInfo none;
    none.mFrameDelay = 0;
    none.Compute(0, 0, 0);
    EXPECT_EQ(none.mNumCels, 1);
    EXPECT_EQ(none.mTotalTime, 1);
}

TEST(AnimInfoTest, ImageCopiesDeepCopyTheRecord)
{
    Image a;
    a.mWidth = 40;
    a.mNumCols = 4;
    a.mAnimInfo = std::make_unique<AnimInfo>();
    a.mAnimInfo->mFrameDelay = 7;
    a.mFilePath = "x.png";
    a.mDrawn = true;
    Image b(a);
    ASSERT_NE(b.mAnimInfo, nullptr);
    EXPECT_NE(b.mAnimInfo.get(), a.mAnimInfo.get());
    EXPECT_EQ(b.mAnimInfo->mFrameDelay, 7);
    EXPECT_EQ(b.GetCelWidth(), 10);
    EXPECT_TRUE(b.mFilePath.empty());
    EXPECT_FALSE(b.mDrawn);
}

namespace
{
struct CountingRegistry : ImageRegistry
{
    int changed = 0;
    void SharedImagesChanged() override { ++changed; }
};
} // namespace

TEST(AnimInfoTest, SharedHandlesCountUsersAndOnlyFlagTheCleanUp)
{
    CountingRegistry registry;
    SetImageRegistry(&registry);
    Image image;
    SharedImage record;
    record.mImage = &image;
    {
        SharedImageRef a;
        a = &record;
        SharedImageRef b(a);
        EXPECT_EQ(record.mRefCount, 2);
        b = b; // self-assignment keeps the count
        EXPECT_EQ(record.mRefCount, 2);
        b = a;
        EXPECT_EQ(record.mRefCount, 2);
        EXPECT_EQ(b.GetImage(), &image);
    }
    EXPECT_EQ(record.mRefCount, 0);
    EXPECT_EQ(registry.changed, 1);
    EXPECT_EQ(record.mImage, &image); // the application deletes it later
    SetImageRegistry(nullptr);
}

TEST(AnimInfoTest, UnsharedImageWinsAndIsDeletedOnlyWhenOwned)
{
    Image shared;
    SharedImage record;
    record.mImage = &shared;
    SharedImageRef ref;
    ref = &record;
    auto* own = new Image;
    ref.mUnshared = own;
    EXPECT_EQ(ref.GetImage(), own);
    EXPECT_EQ(ref.GetSharedRecordImage(), &shared);

    SharedImageRef copy;
    copy = ref; // copies the unshared image, never owning it
    EXPECT_EQ(copy.GetImage(), own);
    EXPECT_FALSE(copy.mOwnsUnshared);
    copy.Release();

    ref.mOwnsUnshared = true;
    ref = own; // re-assigning the held image keeps it alive
    EXPECT_EQ(ref.GetImage(), own);
    ref.Release(); // deletes the owned image (the leak checker would see a double delete)
    EXPECT_EQ(ref.GetImage(), nullptr);
}
