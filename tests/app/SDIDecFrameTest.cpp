#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/HotKeys.h"
#include "core/PrivateMessages.h"
#include "resources/ResourceIds.h"
#include "tests/app/AppFixture.h"
#include "tests/app/FakeHelpViewer.h"

namespace {

class SDIDecFrameTest : public AppFixture {
protected:
    std::string SystemMenuRecordText() {
        char text[64] = {};
        GetMenuStringA(GetSystemMenu(FrameHandle(), FALSE), SC_TOGGLERECORD, text, sizeof text, MF_BYCOMMAND);
        return text;
    }
};

TEST_F(SDIDecFrameTest, RelaysASecondCopysMessagesOnlyWithItsMark) {
    CreateFrame();
    const UINT relayed[] = {WM_STOPANDSAVE, WM_STOPTHENRECORD, WM_STOPTHENPLAY, WM_STOPTRANSPORT, WM_REPOSITION};
    for (UINT msg : relayed) {
        SCOPED_TRACE(msg);
        recorder_->received.clear();
        EXPECT_EQ(1, SendMessageA(FrameHandle(), msg, 32, 7));
        recorder_->PumpPosted();
        EXPECT_TRUE(recorder_->received.empty());
        EXPECT_EQ(0, SendMessageA(FrameHandle(), msg, REMOTE_WPARAM, 7));
        recorder_->PumpPosted();
        ASSERT_EQ(1u, recorder_->received.size());
        EXPECT_EQ(msg, recorder_->received[0].msg);
        EXPECT_EQ(REMOTE_WPARAM, recorder_->received[0].wParam);
        EXPECT_EQ(7, recorder_->received[0].lParam);
    }
    recorder_->received.clear();
    EXPECT_EQ(0, SendMessageA(FrameHandle(), WM_FLUSHFILES, 5, 6));
    recorder_->PumpPosted();
    ASSERT_EQ(1u, recorder_->received.size());
    EXPECT_EQ(5u, recorder_->received[0].wParam);
}

// A command posted after a second copy's request runs after it: the relay
// must not queue the request behind it.
TEST_F(SDIDecFrameTest, ASecondCopysRequestReachesTheRecorderInItsTurn) {
    CreateFrame();
    recorder_->received.clear();
    PostMessageA(FrameHandle(), WM_REPOSITION, REMOTE_WPARAM, 7);
    PostMessageA(FrameHandle(), WM_COMMAND, MAKEWPARAM(CM_MARKSELECTION, 0), 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, FrameHandle(), WM_REPOSITION, WM_REPOSITION, PM_REMOVE));
    DispatchMessageA(&msg);
    ASSERT_EQ(1u, recorder_->received.size());
    EXPECT_EQ(WM_REPOSITION, recorder_->received[0].msg);
    EXPECT_EQ(7, recorder_->received[0].lParam);
    while (PeekMessageA(&msg, FrameHandle(), 0, 0, PM_REMOVE)) {
    }
}

TEST_F(SDIDecFrameTest, ApplyingTheSameSettingsTwiceAddsOneTrayIcon) {
    AppState.TrayIcon = true;
    CreateFrame();
    Frame().ApplyWindowSettings();
    EXPECT_EQ(1, FakeTrayShell::adds);
    EXPECT_EQ(1, FakeTrayShell::Shown());
    AppState.TrayIcon = false;
    Frame().ApplyWindowSettings();
    EXPECT_EQ(0, FakeTrayShell::Shown());
    EXPECT_EQ(nullptr, Frame().Tray());
}

TEST_F(SDIDecFrameTest, ATrayIconRefusedAtStartIsAddedWhenTheTaskbarComes) {
    AppState.TrayIcon = true;
    FakeTrayShell::refuseAdds = true;
    CreateFrame();
    EXPECT_FALSE(Frame().HasTrayIcon());
    // Minimising must not hide a window that has no icon to come back by.
    ShowWindow(FrameHandle(), SW_SHOWNOACTIVATE);
    SendMessageA(FrameHandle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsWindowVisible(FrameHandle()));

    FakeTrayShell::refuseAdds = false;
    SendMessageA(FrameHandle(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Frame().HasTrayIcon());
    EXPECT_EQ(1, FakeTrayShell::Shown());
    SendMessageA(FrameHandle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    SendMessageA(FrameHandle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(IsWindowVisible(FrameHandle()));
    // A double click on the icon opens the window again.
    SendMessageA(FrameHandle(), WM_TRAYNOTIFY, IDM_TRAY, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(IsWindowVisible(FrameHandle()));
}

TEST_F(SDIDecFrameTest, TheRecordItemAndTheTrayMenuFollowTheInputDevice) {
    AppState.TrayIcon = true;
    CreateFrame();
    EXPECT_EQ("&Start recording", SystemMenuRecordText());
    EXPECT_EQ("&Start recording", *Frame().QueryEnabler(CM_TRAYTOGGLERECORDING).Text());
    const int modifiesBefore = FakeTrayShell::modifies;
    recorder_->inputOpen = true;
    SendMessageA(FrameHandle(), WM_RECORDSTATECHANGED, 0, 0);
    EXPECT_EQ("&Stop recording", SystemMenuRecordText());
    EXPECT_EQ("&Stop recording", *Frame().QueryEnabler(CM_TRAYTOGGLERECORDING).Text());
    EXPECT_EQ(modifiesBefore + 1, FakeTrayShell::modifies);
    EXPECT_EQ(1, FakeTrayShell::adds);
}

TEST_F(SDIDecFrameTest, HotKeysSystemMenuAndTrayCommandsReachTheRecorder) {
    CreateFrame();
    struct Case {
        const char* name;
        UINT msg;
        WPARAM wParam;
        UINT expected;
    };
    const Case cases[] = {
        {"play hot key", WM_HOTKEY, HOTKEY_TOGGLEPLAY, WM_TOGGLEPLAY},
        {"record hot key", WM_HOTKEY, HOTKEY_TOGGLERECORD, WM_TOGGLERECORD},
        {"system menu item", WM_SYSCOMMAND, SC_TOGGLERECORD, WM_TOGGLERECORD},
        {"tray toggle", WM_COMMAND, CM_TRAYTOGGLERECORDING, WM_TOGGLERECORD},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        recorder_->received.clear();
        SendMessageA(FrameHandle(), c.msg, c.wParam, 0);
        recorder_->PumpPosted();
        ASSERT_EQ(1u, recorder_->received.size());
        EXPECT_EQ(c.expected, recorder_->received[0].msg);
    }
    // The activation key brings back a window hidden in the tray.
    EXPECT_FALSE(IsWindowVisible(FrameHandle()));
    SendMessageA(FrameHandle(), WM_HOTKEY, HOTKEY_ACTIVATE, 0);
    EXPECT_TRUE(IsWindowVisible(FrameHandle()));
    SendCommand(CM_TRAYNEWFILE);
    SendMessageA(FrameHandle(), WM_TIMER, 42, 0);
    EXPECT_EQ(1, SendMessageA(FrameHandle(), WM_DEVICECHANGE, 7, 0));
    EXPECT_EQ((std::vector<std::string>{"new", "timer:42", "device"}), recorder_->calls);
}

TEST_F(SDIDecFrameTest, StartActionsAndMinimisingAtStart) {
    struct Case {
        const char* name;
        bool listenOnStart, listenSwitch, playSwitch;
        UINT expected;  // 0: nothing
    };
    const Case cases[] = {
        {"/L", false, true, true, WM_TOGGLERECORD},
        {"listen on start", true, false, false, WM_TOGGLERECORD},
        {"/P", false, false, true, WM_STOPTHENPLAY},
        {"none", false, false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        AppState.ListenOnStart = c.listenOnStart;
        AppState.ListenAtStart = c.listenSwitch;
        AppState.PlayAtStart = c.playSwitch;
        CreateFrame();
        recorder_->PumpPosted();
        ASSERT_EQ(c.expected ? 1u : 0u, recorder_->received.size());
        if (c.expected) {
            EXPECT_EQ(c.expected, recorder_->received[0].msg);
        }
    }
}

TEST_F(SDIDecFrameTest, MinimisedAtStartGoesToTheTrayOnlyWhenAnIconIsThere) {
    struct Case {
        const char* name;
        bool trayIcon;
        bool taskbarRefuses;
        bool hidden;  // else minimised
    };
    const Case cases[] = {
        {"tray icon", true, false, true},
        {"no tray icon", false, false, false},
        {"tray icon refused", true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        AppState.MinimizeAtStart = true;
        AppState.TrayIcon = c.trayIcon;
        FakeTrayShell::refuseAdds = c.taskbarRefuses;
        CreateFrame();
        ShowWindow(FrameHandle(), SW_SHOWNOACTIVATE);
        MSG msg;
        while (PeekMessageA(&msg, FrameHandle(), 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        ASSERT_TRUE(IsWindow(FrameHandle()));
        EXPECT_EQ(c.hidden, !IsWindowVisible(FrameHandle()));
        EXPECT_EQ(!c.hidden, IsIconic(FrameHandle()) != FALSE);
    }
}

TEST_F(SDIDecFrameTest, TheClassNameIsTheOneGivenWithJ) {
    CopyTextField(AppState.WindowClassName, "OtherRecorder");
    CreateFrame();
    char name[64] = {};
    GetClassNameA(FrameHandle(), name, sizeof name);
    EXPECT_STREQ("OtherRecorder", name);
}

TEST_F(SDIDecFrameTest, GettingStartedOpensItsTopicUnlessSuppressed) {
    FakeHelpViewer help;
    CreateFrame();
    CopyTextField(AppState.HelpFile, "C:\\larkspurpro.chm");
    SendMessageA(FrameHandle(), WM_SHOWGETTINGSTARTED, 0, 0);
    AppState.LHMode = 1;
    SendMessageA(FrameHandle(), WM_SHOWGETTINGSTARTED, 0, 0);
    ASSERT_EQ(1u, help.calls.size());
    EXPECT_EQ("C:\\larkspurpro.chm", help.calls[0].file);
    EXPECT_EQ("Getting_Started.html", help.calls[0].topic);
}

TEST_F(SDIDecFrameTest, TrayExitClosesForReal) {
    AppState.TrayIcon = true;
    CreateFrame();
    SendCommand(CM_TRAYEXIT);
    EXPECT_TRUE(Frame().ExitFlag());
    MSG msg;
    while (PeekMessageA(&msg, FrameHandle(), 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_EQ(nullptr, app_->GetMainWindow()->GetHandle());
    EXPECT_EQ(0, FakeTrayShell::Shown());
}

}  // namespace
