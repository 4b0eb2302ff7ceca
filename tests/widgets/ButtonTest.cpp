#include "WidgetTestSupport.h"

#include "framework/widgets/ButtonWidget.h"
#include "framework/widgets/Checkbox.h"
#include "framework/widgets/Slider.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace QuollTest;
using Strings = std::vector<std::string>;

namespace
{
struct Listener : Quoll::ButtonListener, Quoll::CheckboxListener, Quoll::SliderListener
{
    void ButtonPress(int id) override { log.push_back("press " + std::to_string(id)); }
    void ButtonRelease(int id) override { log.push_back("release " + std::to_string(id)); }
    void ButtonMouseEnter(int id) override { log.push_back("enter " + std::to_string(id)); }
    void ButtonMouseLeave(int id) override { log.push_back("leave " + std::to_string(id)); }
    void CheckboxChecked(int id, bool checked) override
    {
        log.push_back("checkbox " + std::to_string(id) + (checked ? " on" : " off"));
    }
    void SliderVal(int id, double value) override
    {
        log.push_back("slider " + std::to_string(id));
        values.push_back(value);
    }
    Strings log;
    std::vector<double> values;
};

struct ButtonFixture : ManagerFixture
{
    ButtonFixture() : button(Add(new Quoll::ButtonWidget(7, &listener))) { button->Resize(10, 10, 60, 20); }
    Listener listener;
    Quoll::ButtonWidget* button;
};
} // namespace

TEST(ButtonWidget, PressAndReleaseInsideGiveOneRelease)
{
    ButtonFixture f;
    f.manager.MouseMove(20, 15);
    f.manager.MouseDown(20, 15, 1);
    f.manager.MouseUp(21, 16, 1);
    EXPECT_EQ(f.listener.log, (Strings{"enter 7", "press 7", "release 7"}));
}

TEST(ButtonWidget, ReleaseOutsideOrAfterBeingDisabledGivesNone)
{
    ButtonFixture f;
    f.manager.MouseDown(20, 15, 1);
    f.manager.MouseMove(100, 80);
    f.manager.MouseUp(100, 80, 1);
    EXPECT_EQ(f.listener.log, (Strings{"enter 7", "press 7", "leave 7"}));

    // Coming back over the button before releasing counts again.
    f.listener.log.clear();
    f.manager.MouseDown(20, 15, 1);
    f.manager.MouseMove(100, 80);
    f.manager.MouseMove(25, 15);
    f.manager.MouseUp(25, 15, 1);
    EXPECT_EQ(f.listener.log, (Strings{"enter 7", "press 7", "leave 7", "enter 7", "release 7"}));

    f.listener.log.clear();
    f.manager.MouseDown(20, 15, 1);
    f.button->SetDisabled(true); // disabled while held
    f.manager.MouseUp(20, 15, 1);
    f.manager.MouseDown(20, 15, 1);
    f.manager.MouseUp(20, 15, 1);
    EXPECT_EQ(f.listener.log, (Strings{"press 7", "leave 7"}));
}

TEST(ButtonWidget, OverImageFadesWithItsSpeedsAndTheFontIsACopy)
{
    ButtonFixture f;
    f.button->mOverAlphaFadeInSpeed = 0.25;
    f.manager.MouseMove(20, 15);
    EXPECT_EQ(f.button->mOverAlpha, 0);
    for (double expected : {0.25, 0.5, 0.75, 1.0, 1.0})
    {
        f.manager.UpdateFrame();
        EXPECT_DOUBLE_EQ(f.button->mOverAlpha, expected);
    }
    f.manager.MouseMove(100, 80);
    EXPECT_EQ(f.button->mOverAlpha, 0); // no fade-out speed: at once

    auto font = std::make_unique<FakeFont>();
    f.button->SetFont(font.get());
    font.reset();
    ASSERT_NE(f.button->GetFont(), nullptr);
    EXPECT_EQ(f.button->GetFont()->GetHeight(), 10);
}

TEST(Checkbox, AClickTogglesAndTellsTheListener)
{
    ManagerFixture f;
    Listener listener;
    auto* box = f.Add(new Quoll::Checkbox(nullptr, nullptr, 3, &listener));
    box->Resize(0, 0, 16, 16);
    f.manager.MouseDown(5, 5, 1);
    f.manager.MouseUp(5, 5, 1);
    EXPECT_TRUE(box->IsChecked());
    f.manager.MouseDown(5, 5, 2);
    f.manager.MouseUp(5, 5, 2);
    EXPECT_FALSE(box->IsChecked());
    f.manager.MouseDown(5, 5, -1); // the right button does not toggle
    f.manager.MouseUp(5, 5, -1);
    box->SetChecked(false, true); // told even without a change
    box->SetChecked(true, false);
    EXPECT_TRUE(box->IsChecked());
    EXPECT_EQ(listener.log, (Strings{"checkbox 3 on", "checkbox 3 off", "checkbox 3 off"}));
}

// The thumb is 10 pixels wide on a track of 110: the value is its left edge over 100.
TEST(Slider, ValuesAreClampedAndTheListenerHearsOnlyChanges)
{
    ManagerFixture f;
    Listener listener;
    auto* slider = f.Add(new Quoll::Slider(nullptr, nullptr, 4, &listener));
    slider->Resize(0, 0, 110, 20);
    slider->SetValue(2);
    EXPECT_EQ(slider->GetValue(), 1);
    slider->SetValue(-1);
    EXPECT_EQ(slider->GetValue(), 0);
    slider->SetValue(std::nan(""));
    EXPECT_EQ(slider->GetValue(), 0);
    EXPECT_TRUE(listener.log.empty());

    // A press on the track centres the thumb there and drags it.
    f.manager.MouseDown(55, 10, 1);
    EXPECT_DOUBLE_EQ(slider->GetValue(), 0.5);
    f.manager.MouseMove(55, 15); // no change: not told
    f.manager.MouseMove(300, 15);
    f.manager.MouseMove(400, 15); // still 1
    f.manager.MouseMove(-50, 15);
    f.manager.MouseUp(-50, 15, 1);
    EXPECT_FALSE(slider->mDragging);
    f.manager.MouseMove(80, 15); // not dragging any more
    EXPECT_EQ(listener.values, (std::vector<double>{0.5, 1.0, 0.0}));

    // A press on the thumb keeps its hold point: no jump.
    slider->SetValue(0.5);
    listener.values.clear();
    f.manager.MouseDown(52, 10, 1);
    EXPECT_DOUBLE_EQ(slider->GetValue(), 0.5);
    f.manager.MouseMove(62, 10);
    EXPECT_DOUBLE_EQ(slider->GetValue(), 0.6);
    f.manager.MouseUp(62, 10, 1);
    EXPECT_EQ(listener.values, (std::vector<double>{0.6}));
}
