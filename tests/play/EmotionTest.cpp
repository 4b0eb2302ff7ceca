// Emotion scheduler, HUD avatar faces and bacteria faces: the step sequences, the idle plan's
// odds, the overlay and face tables, pupils and bad input.
#include "FakePlayServices.h"
#include "PlayTestFixture.h"
#include "game/play/Avatar.h"
#include "game/play/BacFace.h"
#include "game/play/EmotionScheduler.h"
#include "game/play/EmotionTarget.h"

#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <vector>

namespace
{
// A face that records what it is shown and answers IsReady as told.
class RecordingTarget : public EmotionTarget
{
public:
    bool IsReady() override { return ready; }
    void ShowEmotion(const EmotionEntry& entry) override { shown.push_back(entry); }

    bool ready = true;
    std::vector<EmotionEntry> shown;
};

std::vector<EmotionEntry> Queue(const EmotionScheduler& s)
{
    return {s.GetQueue().begin(), s.GetQueue().end()};
}

// Registers small named images; they are found by name and recognised in blits by their path.
class NamedImages
{
public:
    explicit NamedImages(FakePlayServices& services) : mServices(services) {}
    Quoll::MemoryImage* Add(const std::string& name, int width = 8, int height = 6)
    {
        auto image = std::make_unique<Quoll::MemoryImage>();
        image->Create(width, height);
        image->mFilePath = name;
        mServices.Register(1000 + static_cast<int>(mImages.size()), name, image.get());
        mImages.push_back(std::move(image));
        return mImages.back().get();
    }

private:
    FakePlayServices& mServices;
    std::vector<std::unique_ptr<Quoll::MemoryImage>> mImages;
};
} // namespace

TEST(EmotionScheduler, RequestsBuildLeaveEnterHold)
{
    FakePlayServices services;
    EmotionScheduler s(services);
    // From the default hold of 0: a change leaves 0, enters 2 and holds it.
    s.Request(2, 0);
    EXPECT_EQ(Queue(s), (std::vector<EmotionEntry>{{0, 2, 0}, {2, 0, 0}, {2, 1, 0}}));
    // The same value again extends the queued hold in place.
    s.Request(2, 5);
    EXPECT_EQ(Queue(s).size(), 3u);
    EXPECT_EQ(s.GetQueue().back().time, 5.0f);
    // A value after a leave step needs no second leave.
    EmotionScheduler t(services);
    t.Say(1, 0, false);
    t.Request(0, 0);
    EXPECT_EQ(Queue(t), (std::vector<EmotionEntry>{{0, 2, 0}, {1, 0, 0}, {1, 1, 0}, {1, 2, 0}, {0, 0, 0}, {0, 1, 0}}));
    // An urgent order drops the queue and ends the current step; an unchanged value then only
    // re-times the current hold.
    t.Say(0, 3, true);
    EXPECT_TRUE(t.GetQueue().empty());
    EXPECT_EQ(t.GetCurrent(), (EmotionEntry{0, 1, 3}));
}

TEST(EmotionScheduler, RunsOnlyWithATargetAndWaitsForIt)
{
    FakePlayServices services;
    EmotionScheduler s(services);
    s.Say(2, 0, true);
    s.Update(1.0f);
    EXPECT_EQ(s.GetQueue().size(), 3u); // no target: nothing moves
    RecordingTarget target;
    target.ready = false;
    s.SetTarget(&target);
    s.Update(0.01f);
    EXPECT_TRUE(target.shown.empty()); // a step of time 0 waits for the face
    target.ready = true;
    s.Update(0.01f);
    s.Update(0.01f);
    s.Update(0.01f);
    EXPECT_EQ(target.shown, (std::vector<EmotionEntry>{{0, 2, 0}, {2, 0, 0}, {2, 1, 0}}));
    // The ended hold plans an idle cycle of the value: a pause, then a gesture.
    s.Update(0.01f);
    ASSERT_EQ(target.shown.size(), 4u);
    EXPECT_EQ(target.shown.back().type, EmotionEntry::Hold);
    EXPECT_GE(target.shown.back().time, 3.0f);
    EXPECT_EQ(s.GetQueue().front(), (EmotionEntry{2, 3, 0}));
}

TEST(EmotionScheduler, NextKeepsAStepOfAnUnknownType)
{
    FakePlayServices services;
    EmotionScheduler s(services);
    RecordingTarget target;
    s.SetTarget(&target);
    s.Say(1, 0, true);
    for (int i = 0; i < 3; ++i)
        s.Next();
    EXPECT_EQ(s.GetCurrent(), (EmotionEntry{1, 1, 0}));
    s.Next(); // an ended hold with an empty queue: an idle cycle
    EXPECT_EQ(s.GetCurrent().type, EmotionEntry::Hold);
    EXPECT_FALSE(s.GetQueue().empty());
}

TEST(EmotionScheduler, IdlePlanOdds)
{
    FakePlayServices services(12345);
    EmotionScheduler s(services);
    s.SetIdle({2.0f, 3.0f, 0.1f, 0.1f, 3});
    std::array<int, 4> gestures{};
    constexpr int kPlans = 10000;
    for (int i = 0; i < kPlans; ++i)
    {
        s.Say(0, 0, true);
        const size_t before = s.GetQueue().size();
        s.PlanIdle(0);
        int count = 0;
        for (size_t k = before; k < s.GetQueue().size(); ++k)
            count += s.GetQueue()[k].type == EmotionEntry::Gesture ? 1 : 0;
        ASSERT_GE(count, 1);
        ASSERT_LE(count, 3);
        ++gestures[static_cast<size_t>(count)];
        const float pause = s.GetQueue()[before].time;
        ASSERT_GE(pause, 2.0f);
        ASSERT_LE(pause, 5.0f);
    }
    EXPECT_NEAR(gestures[1] / double(kPlans), 0.50, 0.02);
    EXPECT_NEAR(gestures[2] / double(kPlans), 0.15, 0.02);
    EXPECT_NEAR(gestures[3] / double(kPlans), 0.35, 0.02);
}

class AvatarTest : public ::testing::Test
{
protected:
    AvatarTest()
    {
        for (const char* name : {"IMAGE_EYE1_NORMAL", "IMAGE_EYE1_BLINK", "IMAGE_EYE1_YAROST", "IMAGE_EYE2_BLINK",
                                 "IMAGE_MOUTH1_NORMAL", "IMAGE_MOUTH1_YAROST", "IMAGE_MOUTH1_BEATEN",
                                 "IMAGE_MOUTH2_YAROST", "IMAGE_MOUTH5_YAROST"})
            images.Add(name);
    }
    void Step(Avatar& avatar, int count)
    {
        for (int i = 0; i < count; ++i)
            avatar.Update(0.01f);
    }
    static std::string Eye(const Avatar& a) { return a.GetEyeSprite().mImage ? a.GetEyeSprite().mImage->mFilePath : ""; }
    static std::string Mouth(const Avatar& a)
    {
        return a.GetMouthSprite().mImage ? a.GetMouthSprite().mImage->mFilePath : "";
    }

    FakePlayServices services{3};
    NamedImages images{services};
};

TEST_F(AvatarTest, MissingMeshGivesAnEmptyAvatarAndALogLine)
{
    Avatar avatar(services);
    avatar.Load(4);
    EXPECT_EQ(avatar.GetMesh(), nullptr);
    EXPECT_EQ(avatar.GetRect(), (Quoll::Rect{0, 0, 0, 0}));
    ASSERT_EQ(services.log.size(), 1u);
    EXPECT_NE(services.log[0].find("body4.mesh"), std::string::npos);
    avatar.SetScale(0.5f);
    avatar.SetColour(Quoll::Color(128, 128, 128));
    RecordingImage screen;
    Quoll::Graphics g(&screen);
    Step(avatar, 10);
    avatar.Draw(&g);
}

TEST_F(AvatarTest, EnemyBlinksAfterTwoToFiveSeconds)
{
    Avatar avatar(services);
    avatar.Load(2);
    Step(avatar, 1);
    EXPECT_EQ(Eye(avatar), "");
    EXPECT_EQ(Mouth(avatar), "");
    int steps = 1;
    while (Eye(avatar).empty() && steps < 700)
    {
        Step(avatar, 1);
        ++steps;
    }
    EXPECT_GE(steps, 200);
    EXPECT_LE(steps, 502);
    EXPECT_EQ(Eye(avatar), "IMAGE_EYE2_BLINK");
    EXPECT_EQ(avatar.GetEyeOffset(), (FloatPoint{29, 47}));
    Step(avatar, 11); // the blink lasts 0.1 s
    EXPECT_EQ(Eye(avatar), "");
}

TEST_F(AvatarTest, HeroExpressions)
{
    Avatar avatar(services);
    avatar.Load(1);
    Step(avatar, 1);
    EXPECT_EQ(Eye(avatar), "IMAGE_EYE1_NORMAL");
    EXPECT_EQ(Mouth(avatar), "IMAGE_MOUTH1_NORMAL");
    avatar.SetEmotion(2);
    Step(avatar, 4);
    EXPECT_EQ(Eye(avatar), "IMAGE_EYE1_YAROST");
    EXPECT_EQ(Mouth(avatar), "IMAGE_MOUTH1_YAROST");
    avatar.SetEmotion(1);
    Step(avatar, 4);
    EXPECT_EQ(Eye(avatar), "");
    EXPECT_EQ(Mouth(avatar), "IMAGE_MOUTH1_BEATEN");
    EXPECT_EQ(avatar.GetMouthOffset(), (FloatPoint{77, 133}));

    // Overlays are drawn at their offsets from the avatar's position.
    avatar.SetEmotion(0);
    Step(avatar, 4);
    avatar.SetPosition({100, 200});
    RecordingImage screen;
    Quoll::Graphics g(&screen);
    avatar.Draw(&g);
    ASSERT_EQ(screen.blits.size(), 2u);
    EXPECT_EQ(screen.blits[0].source, "IMAGE_EYE1_NORMAL");
    EXPECT_EQ(screen.blits[1].source, "IMAGE_MOUTH1_NORMAL");
    EXPECT_EQ(screen.blits[0].x, 147);
    EXPECT_EQ(screen.blits[1].x, 157);
    EXPECT_EQ(screen.blits[1].y, 323);
}

TEST_F(AvatarTest, KindFiveKeepsItsMouthAndUnknownKindsShowNothing)
{
    Avatar five(services);
    five.Load(5);
    Step(five, 1);
    EXPECT_EQ(Mouth(five), "IMAGE_MOUTH5_YAROST");
    five.SetEmotion(2);
    Step(five, 4);
    EXPECT_EQ(Mouth(five), "");
    Avatar stray(services);
    stray.Load(9);
    Step(stray, 1);
    stray.SetEmotion(2);
    Step(stray, 4);
    EXPECT_EQ(Eye(stray), "");
    EXPECT_EQ(Mouth(stray), "");
}

TEST(BacteriaEmoTarget, FrameCodes)
{
    EXPECT_EQ(BacteriaEmoTarget::FrameCode(1, {1, 0, 0}), 458);
    EXPECT_EQ(BacteriaEmoTarget::FrameCode(1, {1, 1, 0}), 4);
    EXPECT_EQ(BacteriaEmoTarget::FrameCode(4, {2, 1, 0}), 5);
    EXPECT_EQ(BacteriaEmoTarget::FrameCode(8, {2, 1, 0}), 2);
    EXPECT_EQ(BacteriaEmoTarget::FrameCode(8, {0, 3, 0}), 469);
    EXPECT_EQ(BacteriaEmoTarget::FrameCode(9, {0, 3, 0}), 0);
    EXPECT_EQ(BacteriaEmoTarget::FrameCode(1, {3, 1, 0}), 0);
}

class BacFaceTest : public ::testing::Test
{
protected:
    BacFaceTest()
    {
        strip = images.Add("IMAGE_EMO1", 256, 64);
        images.Add("IMAGE_EMO8", 256, 64);
        back = images.Add("IMAGE_EYES_BACK1", 20, 10);
        images.Add("IMAGE_PUPIL1", 4, 4);
        // A 60 ms transition animation for the hero's "second expression" entry.
        FrameAnimation& entry = *services.GetEmotionAnimation(458);
        entry.Init(20, 3, false);
        FrameAnimation& leave = *services.GetEmotionAnimation(459);
        leave.Init(20, 3, false);
    }
    void Step(BacFace& face, int count)
    {
        for (int i = 0; i < count; ++i)
            face.Update(0.01f);
    }

    FakePlayServices services{5};
    NamedImages images{services};
    Quoll::MemoryImage* strip = nullptr;
    Quoll::MemoryImage* back = nullptr;
};

TEST_F(BacFaceTest, AnimationsPlayOnceAndStillsHold)
{
    BacFace face(services);
    face.SetKind(1);
    face.Say(1, 0, true);
    Step(face, 3);
    const AnimClock& clock = face.GetSprite().mClock;
    EXPECT_EQ(face.GetSprite().mImage, strip);
    EXPECT_EQ(clock.GetAnimation(), services.GetEmotionAnimation(458));
    EXPECT_TRUE(clock.IsPlaying());
    Step(face, 10);
    EXPECT_EQ(clock.GetAnimation(), nullptr);
    EXPECT_EQ(clock.GetFrame(), 4);
    face.Say(0, 0, true);
    Step(face, 2);
    EXPECT_EQ(clock.GetAnimation(), services.GetEmotionAnimation(459));
    EXPECT_EQ(face.GetEmotion(), 0);
}

TEST_F(BacFaceTest, PupilsFollowThePointerWithinRange)
{
    EXPECT_EQ(BacFace::PupilOffset(2.5f, 1.25f, 0, 0), (FloatPoint{}));
    const FloatPoint full = BacFace::PupilOffset(2.5f, 1.25f, 100, 0);
    EXPECT_FLOAT_EQ(full.x, 2.5f);
    EXPECT_FLOAT_EQ(full.y, 0);
    EXPECT_EQ(BacFace::PupilOffset(2.5f, 1.25f, 0, 300), (FloatPoint{}));
    EXPECT_FLOAT_EQ(BacFace::PupilOffset(2.5f, 1.25f, 0, 25).y, 1.25f * 0.5f);
    EXPECT_FLOAT_EQ(BacFace::PupilOffset(2.5f, 1.25f, 0, 275).y, 1.25f * 0.5f);

    // Drawn: eye background, two pupils 11 px apart, then the face strip.
    BacFace face(services);
    face.SetKind(1);
    Step(face, 2);
    RecordingImage screen;
    Quoll::Graphics g(&screen);
    const float x = 100;
    const float y = 100;
    // The eyes' centre: face offset (16, 19) + eye offset (1, 6) + half the background (10, 5).
    face.Draw(&g, Quoll::Color::White, x, y, x + 27, y + 30 + 100);
    ASSERT_EQ(screen.blits.size(), 4u);
    EXPECT_EQ(screen.blits[0].source, "IMAGE_EYES_BACK1");
    EXPECT_FLOAT_EQ(screen.blits[0].x, 117);
    EXPECT_EQ(screen.blits[1].source, "IMAGE_PUPIL1");
    EXPECT_FLOAT_EQ(screen.blits[1].x, 117 + 2.5f);
    EXPECT_FLOAT_EQ(screen.blits[1].y, 125 + 1.25f + 1 + 1.25f);
    EXPECT_FLOAT_EQ(screen.blits[2].x, screen.blits[1].x + 11);
    EXPECT_EQ(screen.blits[3].source, "IMAGE_EMO1");
}

TEST_F(BacFaceTest, BossDrawsNoEyesAndMissingArtDrawsNothing)
{
    BacFace boss(services);
    boss.SetKind(8);
    boss.Say(2, 0, true);
    Step(boss, 4);
    EXPECT_EQ(boss.GetSprite().mClock.GetFrame(), 2);
    RecordingImage screen;
    Quoll::Graphics g(&screen);
    boss.Draw(&g, Quoll::Color::White, 0, 0, 10, 10);
    ASSERT_EQ(screen.blits.size(), 1u);
    EXPECT_EQ(screen.blits[0].source, "IMAGE_EMO8");

    BacFace plain(services);
    plain.SetKind(3); // no strip, no eye art registered
    Step(plain, 4);
    screen.blits.clear();
    plain.Draw(&g, Quoll::Color::White, 0, 0, 10, 10);
    EXPECT_TRUE(screen.blits.empty());
    BacFace stray(services);
    stray.SetKind(0);
    Step(stray, 4);
    stray.Draw(&g, Quoll::Color::White, 0, 0, 10, 10);
    EXPECT_TRUE(screen.blits.empty());
}
