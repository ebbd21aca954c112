#include "recorder/controls/RCButton.h"

#include <gtest/gtest.h>

#include "core/PrivateMessages.h"
#include "resources/ResourceIds.h"
#include "tests/recorder/ButtonHost.h"

namespace {

// The repeat timer is ticked by hand: ticks are sent as WM_TIMER.
class ManualRepeatButton : public RCButton {
public:
    using RCButton::RCButton;
    bool timerRunning = false;

protected:
    bool StartRepeat() override { return timerRunning = true; }
    void StopRepeat() override { timerRunning = false; }
};

class RCButtonTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.Create()); }
    HWND Rewind() const { return host.Item(CM_REWIND); }
    void Press() { SendMessageA(Rewind(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); }
    void Release() { SendMessageA(Rewind(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5)); }
    void Ticks(int count) {
        for (int i = 0; i < count; ++i)
            if (rewind.timerRunning) SendMessageA(Rewind(), WM_TIMER, CM_REWIND, 0);
    }
    int Posted() { return host.TakePosted(WM_REWIND); }

    ButtonHost host;
    ManualRepeatButton rewind{&host.Dialog(), CM_REWIND, 200};
};

TEST_F(RCButtonTest, HoldingPostsOnePerTickAndNoneAtRelease) {
    Press();
    Ticks(5);
    EXPECT_EQ(5, Posted());
    Release();
    EXPECT_EQ(0, Posted());
    EXPECT_FALSE(rewind.timerRunning);
}

TEST_F(RCButtonTest, AQuickClickPostsExactlyOne) {
    Press();
    Release();
    EXPECT_EQ(1, Posted());
    MSG msg{};
    Press();
    Release();
    ASSERT_TRUE(PeekMessageA(&msg, host.Handle(), WM_REWIND, WM_REWIND, PM_REMOVE));
    EXPECT_EQ(static_cast<WPARAM>(CM_REWIND), msg.wParam);
    EXPECT_EQ(0, msg.lParam);
}

TEST_F(RCButtonTest, ThePressHoldsTheMouseUntilRelease) {
    Press();
    EXPECT_EQ(Rewind(), GetCapture());
    EXPECT_EQ(CoolButton::kPressed, rewind.GetState());
    Release();
    EXPECT_NE(Rewind(), GetCapture());
    EXPECT_EQ(CoolButton::kNormal, rewind.GetState());
}

TEST_F(RCButtonTest, LosingTheCaptureStopsTheRepeatWithoutPosting) {
    struct Case {
        const char* name;
        bool cancelMode;
    } cases[] = {{"another window takes the mouse", false}, {"the mode is cancelled", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Press();
        Ticks(2);
        if (c.cancelMode) {
            SendMessageA(Rewind(), WM_CANCELMODE, 0, 0);
        } else {
            SetCapture(host.Item(CM_PLAY));
        }
        EXPECT_FALSE(rewind.IsPressed());
        EXPECT_FALSE(rewind.timerRunning);
        SendMessageA(Rewind(), WM_TIMER, CM_REWIND, 0);  // a tick already queued
        Release();                                       // the release comes elsewhere, or late
        ReleaseCapture();
        EXPECT_EQ(2, Posted());
    }
}

TEST_F(RCButtonTest, ForeignTimersAreNotRepeats) {
    Press();
    SendMessageA(Rewind(), WM_TIMER, 777, 0);
    Release();
    EXPECT_EQ(1, Posted());
}

}  // namespace
