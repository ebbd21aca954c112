#include "recorder/controls/SMeter.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/recorder/ButtonHost.h"

namespace {

class SMeterTest : public ::testing::Test {
protected:
    void SetUp() override {
        TGauge::RegisterClass();
        ASSERT_TRUE(host.Create());
        meter.SetRange(0, 100);
    }
    // Which gauges show: the full one, the left half, the right half.
    std::vector<bool> Visible() {
        std::vector<bool> shown;
        for (int i = 0; i < 3; ++i) shown.push_back(IsWindowVisible(meter.Gauge(i).GetHandle()) != FALSE);
        return shown;
    }
    RECT Place(int i) {
        RECT r{};
        GetWindowRect(meter.Gauge(i).GetHandle(), &r);
        MapWindowPoints(nullptr, host.Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    ButtonHost host;
    SMeter meter{&host.Dialog(), 116};
};

TEST_F(SMeterTest, OneValueShowsTheFullGaugeTwoValuesTheHalves) {
    ShowWindow(host.Handle(), SW_SHOWNA);  // visibility of children needs a shown parent
    meter.Place(10, 20, 32, 80);
    EXPECT_EQ((std::vector<bool>{true, false, false}), Visible());
    struct Step {
        bool stereo;
        std::vector<bool> shown;
    } steps[] = {{true, {false, true, true}}, {true, {false, true, true}}, {false, {true, false, false}},
                 {false, {true, false, false}}, {true, {false, true, true}}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.stereo);
        if (step.stereo) {
            meter.SetValues(60, 45);
            EXPECT_EQ(60, meter.Gauge(1).GetValue());
            EXPECT_EQ(45, meter.Gauge(2).GetValue());
        } else {
            meter.SetValue(70);
            EXPECT_EQ(70, meter.Gauge(0).GetValue());
        }
        EXPECT_EQ(step.stereo, meter.IsStereoShown());
        EXPECT_EQ(step.shown, Visible());
    }
    ShowWindow(host.Handle(), SW_HIDE);
}

TEST_F(SMeterTest, TheHalvesSplitTheWidthAndAnOddColumnStaysUncovered) {
    meter.Place(10, 20, 33, 80);
    const RECT full = Place(0), left = Place(1), right = Place(2);
    EXPECT_EQ(43, full.right);
    EXPECT_EQ(10, left.left);
    EXPECT_EQ(26, left.right);    // 33 / 2 = 16 wide
    EXPECT_EQ(26, right.left);    // starts at x + w / 2
    EXPECT_EQ(42, right.right);   // the 33rd column is not covered
    EXPECT_EQ(20, right.top);
    EXPECT_EQ(100, right.bottom);
}

}  // namespace
