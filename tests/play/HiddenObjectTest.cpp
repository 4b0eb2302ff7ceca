// Hidden objects: paths and visible stretches, the fade of the bacterium's alpha, hit tests by
// state, catching by serial id, the manager's spare runs and its stop.
// Rerun: test_play --gtest_filter='HiddenObject*:HOManager*'.
#include "PlayTestFixture.h"
#include "game/play/HOManager.h"
#include "game/play/HiddenObject.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace
{
constexpr float kStep = 0.01f;

class HiddenObjectTest : public PlayTest
{
protected:
    HiddenObjectTest() { services.RegisterSound(399, "SOUND_FLYBAC_HIT"); }

    void StepManager(HOManager& manager, float seconds)
    {
        for (int i = 0; i < static_cast<int>(seconds / kStep + 0.5f); ++i)
            manager.Update(kStep);
    }
    // Steps the object until it shows or finishes its path.
    static void UntilVisible(HiddenObject& object)
    {
        for (int i = 0; i < 1000000 && object.GetState() != HiddenObject::State::Visible &&
                        object.GetState() != HiddenObject::State::Finished;
             ++i)
            object.Update(kStep);
    }
};
} // namespace

TEST(HiddenObjectAlpha, RisesOverTheFadeHoldsThenFalls)
{
    // Stretch 0.2..0.7: the fade is 0.1.
    EXPECT_EQ(HiddenObject::StretchAlpha(0.2f, 0.2f, 0.7f), 0);
    EXPECT_EQ(HiddenObject::StretchAlpha(0.25f, 0.2f, 0.7f), 38);
    EXPECT_EQ(HiddenObject::StretchAlpha(0.3f, 0.2f, 0.7f), 76);
    EXPECT_EQ(HiddenObject::StretchAlpha(0.45f, 0.2f, 0.7f), 76);
    EXPECT_EQ(HiddenObject::StretchAlpha(0.6f, 0.2f, 0.7f), 76);
    EXPECT_EQ(HiddenObject::StretchAlpha(0.65f, 0.2f, 0.7f), 38);
    EXPECT_EQ(HiddenObject::StretchAlpha(0.7f, 0.2f, 0.7f), 0);
    // Outside the stretch, and an empty stretch, nothing shows.
    EXPECT_EQ(HiddenObject::StretchAlpha(0.1f, 0.2f, 0.7f), 0);
    EXPECT_EQ(HiddenObject::StretchAlpha(0.4f, 0.4f, 0.4f), 0);
}

// The quarter of the dish's rim a path point lies on, and its distance from the dish's centre.
static std::pair<HiddenObject::Side, float> RimPlace(const HiddenObject& object, FloatPoint point)
{
    const FloatPoint centre = object.GetDishCentre();
    const float dx = point.x + static_cast<float>(object.GetWidth() / 2) - centre.x;
    const float dy = centre.y - (point.y + static_cast<float>(object.GetHeight() / 2));
    float degrees = std::atan2(dy, dx) * 180.0f / 3.14159265f;
    if (degrees < -45.0f)
        degrees += 360.0f;
    static constexpr HiddenObject::Side kQuarters[] = {HiddenObject::Right, HiddenObject::Top, HiddenObject::Left,
                                                       HiddenObject::Bottom};
    return {kQuarters[std::clamp(static_cast<int>((degrees + 45.0f) / 90.0f), 0, 3)], std::hypot(dx, dy)};
}

TEST_F(HiddenObjectTest, PathsCrossTheDishNeverEndAtTheBottomAndLeaveTheirStartSide)
{
    HiddenObject object(services, 0);
    object.Init(0.0f);
    object.Update(kStep); // reads the bacterium's size
    bool bottomStart = false;
    for (int run = 0; run < 400; ++run)
    {
        object.Init(-services.RandFloat(2.0f));
        const FloatPoint a = object.GetStartPoint();
        const FloatPoint b = object.GetEndPoint();
        const auto [startSide, startDistance] = RimPlace(object, a);
        const auto [endSide, endDistance] = RimPlace(object, b);
        const float radius = object.GetPathRadius(object.GetWidth(), object.GetHeight());
        EXPECT_NEAR(startDistance, radius, 0.5f) << "run " << run;
        EXPECT_NEAR(endDistance, radius, 0.5f) << "run " << run;
        EXPECT_NE(endSide, HiddenObject::Bottom) << "run " << run;
        EXPECT_NE(endSide, startSide) << "run " << run;
        bottomStart = bottomStart || startSide == HiddenObject::Bottom;
        // 10 to 30 pixels a second over the path.
        const float length = std::hypot(b.x - a.x, b.y - a.y);
        EXPECT_GE(object.GetSpeed() * std::max(length, 1.0f), 9.99f);
        EXPECT_LE(object.GetSpeed() * std::max(length, 1.0f), 30.01f);
        EXPECT_LE(object.GetVisibleFrom(), 0.5f);
        EXPECT_GE(object.GetVisibleTo(), object.GetVisibleFrom());
        EXPECT_LE(object.GetVisibleTo(), 1.0f);
    }
    EXPECT_TRUE(bottomStart);
}

// Wherever it shows, the round bacterium lies inside the dish (the backgrounds' dish: radius 0.47
// of the screen's height, 8 px below the centre), below the HUD's bar and clear of the screen's edges.
TEST_F(HiddenObjectTest, AShowingObjectStaysInsideTheDish)
{
    HOManager manager(services);
    manager.Start(10);
    int shown = 0;
    for (int i = 0; i < 40000; ++i)
    {
        manager.Update(0.05f);
        for (size_t k = 0; k < manager.GetChildren().size(); ++k)
        {
            const HiddenObject& object = *manager.GetObject(k);
            if (object.GetState() != HiddenObject::State::Visible)
                continue;
            ++shown;
            const FloatPoint p = object.GetBacterium()->GetDrawPosition();
            const float half = static_cast<float>(object.GetWidth()) * 0.5f;
            const float distance = std::hypot(p.x + half - 512.0f, p.y + half - 392.0f);
            ASSERT_LE(distance + half, 768.0f * 0.47f) << "at " << p.x << ", " << p.y;
        }
    }
    EXPECT_GT(shown, 100);
}

TEST_F(HiddenObjectTest, ARunFromHalfWayShowsBetweenHalfAndThreeQuarters)
{
    HiddenObject object(services, 0);
    for (int run = 0; run < 50; ++run)
    {
        object.Init(0.5f);
        EXPECT_GE(object.GetVisibleFrom(), 0.5f);
        EXPECT_LE(object.GetVisibleFrom(), 0.75f);
    }
}

TEST_F(HiddenObjectTest, OnlyAVisibleObjectIsHitAndItFadesAsItDrifts)
{
    HiddenObject object(services, 0);
    object.Init(0.0f);
    object.Update(kStep);
    ASSERT_EQ(object.GetState(), HiddenObject::State::Unseen);
    EXPECT_EQ(object.GetWidth(), FakePlayServices::kBodySize);
    EXPECT_EQ(object.GetBacterium()->mColor.GetAlpha(), 0);

    // Unseen: its exact place finds nothing.
    const FloatPoint at = object.GetBacterium()->GetDrawPosition();
    const int x = static_cast<int>(at.x) + 5;
    const int y = static_cast<int>(at.y) + 5;
    if (object.GetProgress() < object.GetVisibleFrom())
    {
        EXPECT_FALSE(object.HitTest(x, y));
    }

    UntilVisible(object);
    ASSERT_EQ(object.GetState(), HiddenObject::State::Visible);
    const FloatPoint p = object.GetBacterium()->GetDrawPosition();
    const int px = static_cast<int>(p.x);
    const int py = static_cast<int>(p.y);
    EXPECT_TRUE(object.HitTest(px, py));
    EXPECT_TRUE(object.HitTest(px + object.GetWidth() - 1, py + object.GetHeight() - 1));
    EXPECT_FALSE(object.HitTest(px + object.GetWidth(), py));
    EXPECT_EQ(object.GetBacterium()->mColor.GetAlpha(),
              HiddenObject::StretchAlpha(object.GetProgress(), object.GetVisibleFrom(), object.GetVisibleTo()));

    // Released while visible: the stretch ends here, so it hides on its next step.
    object.Release();
    object.Update(kStep);
    EXPECT_EQ(object.GetState(), HiddenObject::State::Unseen);
    EXPECT_FALSE(object.HitTest(px, py));
}

TEST_F(HiddenObjectTest, ACaughtObjectFlashesPopsAndFinishesAfterHalfASecond)
{
    HiddenObject object(services, 0);
    object.Init(0.0f);
    UntilVisible(object);
    object.Open();
    EXPECT_TRUE(object.IsOpened());
    EXPECT_FALSE(object.HitTest(0, 0));
    int brightest = 0;
    for (int i = 0; i < 49; ++i)
    {
        object.Update(kStep);
        brightest = std::max(brightest, static_cast<int>(object.GetBacterium()->mColor.GetAlpha()));
    }
    EXPECT_EQ(object.GetState(), HiddenObject::State::Caught);
    EXPECT_GE(brightest, 250);
    EXPECT_EQ(services.CountSound("SOUND_BAC_POP"), 1);
    object.Update(kStep);
    object.Update(kStep);
    EXPECT_EQ(object.GetState(), HiddenObject::State::Finished);
}

TEST_F(HiddenObjectTest, TwelveRunsLeaveNoObjectAfterTwelveCatches)
{
    HOManager manager(services);
    manager.Start(12);
    EXPECT_EQ(manager.GetChildren().size(), 10u);
    EXPECT_EQ(manager.GetSpareRuns(), 2);
    manager.Update(kStep);

    int catches = 0;
    while (!manager.GetChildren().empty() && catches < 20)
    {
        HiddenObject* object = manager.GetObject(0);
        ASSERT_NE(object, nullptr);
        manager.Open(object->GetId());
        ++catches;
        StepManager(manager, 0.6f);
        // The first two caught objects come back at once, later ones go.
        EXPECT_EQ(manager.GetChildren().size(), catches <= 2 ? 10u : 12u - static_cast<size_t>(catches));
    }
    EXPECT_EQ(catches, 12);
    EXPECT_EQ(services.CountSound("SOUND_FLYBAC_HIT"), 12);
}

TEST_F(HiddenObjectTest, IdsAreSerialAndUnknownIdsDoNothing)
{
    HOManager manager(services);
    manager.Start(10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(manager.GetObject(static_cast<size_t>(i))->GetId(), i);
    manager.Update(kStep);

    manager.Open(99);
    manager.Open(-1);
    EXPECT_EQ(services.CountSound("SOUND_FLYBAC_HIT"), 0);
    EXPECT_EQ(manager.GetCentre(99), ScreenPoint{});
    for (size_t i = 0; i < 10; ++i)
        EXPECT_FALSE(manager.GetObject(i)->IsOpened());

    // The centre of a known id is its position plus half its picture, in whole pixels.
    const HiddenObject* object = manager.GetObject(3);
    const FloatPoint p = object->GetWorldPosition();
    EXPECT_EQ(manager.GetCentre(3), (ScreenPoint{static_cast<int>(p.x + 26), static_cast<int>(p.y + 26)}));
}

TEST_F(HiddenObjectTest, FindAtAnswersTheVisibleObjectsId)
{
    HOManager manager(services);
    manager.Start(10);
    HiddenObject* visible = nullptr;
    for (int i = 0; i < 20000 && visible == nullptr; ++i)
    {
        manager.Update(kStep);
        for (size_t k = 0; k < manager.GetChildren().size() && visible == nullptr; ++k)
            if (manager.GetObject(k)->GetState() == HiddenObject::State::Visible)
                visible = manager.GetObject(k);
    }
    ASSERT_NE(visible, nullptr);
    const FloatPoint p = visible->GetBacterium()->GetDrawPosition();
    const int id = manager.FindAt(static_cast<int>(p.x) + 1, static_cast<int>(p.y) + 1);
    // Another visible object may lie over it first; then both are visible.
    ASSERT_NE(id, HOManager::kNone);
    EXPECT_EQ(manager.Find(id)->GetState(), HiddenObject::State::Visible);
    EXPECT_EQ(manager.FindAt(-500, -500), HOManager::kNone);
}

TEST_F(HiddenObjectTest, AfterStopAllCaughtObjectsGoAndOthersKeepDrifting)
{
    HOManager manager(services);
    manager.Start(15);
    manager.Update(kStep);
    manager.Open(manager.GetObject(0)->GetId());
    manager.StopAll();
    EXPECT_EQ(manager.GetSpareRuns(), 0);
    // The caught one finishes its flash, then goes; the nine others restart at once.
    manager.Update(kStep);
    EXPECT_EQ(manager.GetChildren().size(), 10u);
    EXPECT_EQ(manager.GetObject(0)->GetState(), HiddenObject::State::Caught);
    StepManager(manager, 0.6f);
    EXPECT_EQ(manager.GetChildren().size(), 9u);
    for (size_t i = 0; i < 9; ++i)
        EXPECT_FALSE(manager.GetObject(i)->IsOpened());
}

TEST_F(HiddenObjectTest, AnUncaughtObjectComesBackOnANewPath)
{
    HOManager manager(services);
    manager.Start(10);
    HiddenObject* object = manager.GetObject(0);
    const FloatPoint oldEnd = object->GetEndPoint();
    int runs = 0;
    float last = object->GetProgress();
    for (int i = 0; i < 1000000 && runs < 2; ++i)
    {
        manager.Update(0.05f);
        if (object->GetProgress() < last)
            ++runs;
        last = object->GetProgress();
    }
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(manager.GetChildren().size(), 10u);
    EXPECT_NE(object->GetEndPoint(), oldEnd);
    EXPECT_LT(object->GetEndPoint().y, 768.0f);
}
