#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/AppSettings.h"
#include "app/OwlMain.h"
#include "core/PrivateMessages.h"
#include "framework/ModalSteps.h"
#include "framework/PropertySheet.h"
#include "tests/app/AppFixture.h"
#include "resources/ResourceIds.h"

namespace {

using Calls = std::vector<std::string>;

class AppTest : public AppFixture {};

TEST_F(AppTest, CloseRequestsHideToTheTrayOrCloseAndSaveUnlessRunOnASettingsFile) {
    struct Case {
        const char* name;
        bool trayIcon;
        bool taskbarRefuses;
        bool exit;
        bool iniSwitch;
        int saves;
        bool closes;
    };
    const Case cases[] = {
        {"tray, close box", true, false, false, false, 1, false},
        {"tray, Exit", true, false, true, false, 1, true},
        {"no tray, close box", false, false, false, false, 1, true},
        {"no tray, Exit", false, false, true, false, 1, true},
        {"tray, close box, /I", true, false, false, true, 0, false},
        {"tray, Exit, /I", true, false, true, true, 0, true},
        {"no tray, close box, /I", false, false, false, true, 0, true},
        // Hiding without an icon would leave no way back to the window.
        {"tray refused by the taskbar, close box", true, true, false, false, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        AppState.TrayIcon = c.trayIcon;
        FakeTrayShell::refuseAdds = c.taskbarRefuses;
        CreateFrame();
        ShowWindow(FrameHandle(), SW_SHOWNOACTIVATE);
        if (c.iniSwitch) CopyTextField(AppState.IniPath, ini_.path().c_str());
        if (c.exit) Frame().SetExitFlag();

        EXPECT_EQ(c.closes, app_->CanClose());
        EXPECT_EQ(c.saves, app_->writes);
        EXPECT_EQ(c.closes, IsWindowVisible(FrameHandle()) != FALSE);  // hidden only when kept
        EXPECT_EQ(c.closes ? Calls{"stop"} : Calls{}, recorder_->calls);
    }
}

TEST_F(AppTest, ExitFromTheMenuClosesTheFrameEvenWithATrayIcon) {
    AppState.TrayIcon = true;
    CreateFrame();
    SendCommand(CM_CLOSEWINDOW);
    EXPECT_TRUE(IsWindow(FrameHandle()));
    SendCommand(CM_EXIT);
    EXPECT_EQ(nullptr, app_->GetMainWindow()->GetHandle());
    EXPECT_EQ(2, app_->writes);
}

TEST_F(AppTest, ReloadingSettingsStopsReloadsAppliesAndResumesInOrder) {
    struct Case {
        const char* name;
        bool recording;
        bool playing;
        Calls calls;
    };
    const Case cases[] = {
        {"playing", false, true, {"stop", "load:C:\\s.ini", "play"}},
        {"recording", true, false, {"stop", "load:C:\\s.ini", "listen"}},
        {"idle", false, false, {"load:C:\\s.ini"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        CreateFrame();
        recorder_->recording = c.recording;
        recorder_->playing = c.playing;
        app_->loadedTrayIcon = true;  // the file turns the tray icon on
        const char path[] = "C:\\s.ini";
        COPYDATASTRUCT data{COPYDATA_LOADSETTINGS, sizeof path, const_cast<char*>(path)};
        EXPECT_EQ(TRUE, SendMessageA(FrameHandle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)));
        EXPECT_EQ(c.calls, recorder_->calls);
        EXPECT_TRUE(Frame().HasTrayIcon());  // the window settings were applied again
        recorder_->PumpPosted();
        EXPECT_TRUE(recorder_->Got(WM_SETTINGSCHANGED));
        EXPECT_EQ(0, app_->writes);
    }
}

TEST_F(AppTest, CopyDataTextIsBoundedBySizeAndLengthAndUnknownCodesAreIgnored) {
    CreateFrame();
    recorder_->file = std::make_unique<MemoryRecFile>();
    const std::string longText(300, 'x');
    char unterminated[] = {'a', 'b', 'c', 'd', 'e', 'f'};
    struct Case {
        const char* name;
        ULONG_PTR code;
        DWORD size;
        const void* text;
        Calls calls;
    };
    const Case cases[] = {
        {"short size, no terminating zero", COPYDATA_OPENFILE, 3, unterminated, {"open:abc"}},
        {"null text with a size", COPYDATA_OPENFILE, 40, nullptr, {}},
        {"long text", COPYDATA_OPENFILE, 301, longText.c_str(), {"open:" + longText.substr(0, 259)}},
        {"unknown code", 77, 4, "abc", {}},
        {"reload without a path", COPYDATA_LOADSETTINGS, 1, "", {}},
        {"comment", COPYDATA_ADDCOMMENT, 5, "note", {"annotation"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        recorder_->calls.clear();
        recorder_->file->ClearComments();
        COPYDATASTRUCT data{c.code, c.size, const_cast<void*>(c.text)};
        SendMessageA(FrameHandle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
        EXPECT_EQ(c.calls, recorder_->calls);
    }
    EXPECT_EQ("note", recorder_->file->GetCommentText(0));
}

// A second copy's requests under an open dialog or message box wait and
// run, in the order they came, once it has closed.
TEST_F(AppTest, CopyDataUnderAModalStepRunsInOrderWhenItEnds) {
    CreateFrame();
    recorder_->file = std::make_unique<MemoryRecFile>();
    const auto send = [this](ULONG_PTR code, const char* text) {
        COPYDATASTRUCT data{code, static_cast<DWORD>(strlen(text) + 1), const_cast<char*>(text)};
        return SendMessageA(FrameHandle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    };
    {
        ModalStepScope dialogOpen;
        EXPECT_EQ(TRUE, send(COPYDATA_OPENFILE, "C:\\first.wav"));
        EXPECT_EQ(TRUE, send(COPYDATA_ADDCOMMENT, "note"));
        EXPECT_TRUE(recorder_->calls.empty());
    }
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_EQ((Calls{"open:C:\\first.wav", "annotation"}), recorder_->calls);

    // Released while an edit runs: they were taken, so they wait for its end.
    recorder_->calls.clear();
    {
        ModalStepScope dialogOpen;
        EXPECT_EQ(TRUE, send(COPYDATA_OPENFILE, "C:\\second.wav"));
        recorder_->editing = true;
    }
    const auto pumpFor = [&](DWORD ms) {
        for (const DWORD start = GetTickCount(); GetTickCount() - start < ms;) {
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            Sleep(5);
        }
    };
    pumpFor(300);
    EXPECT_TRUE(recorder_->calls.empty());
    recorder_->editing = false;
    pumpFor(300);
    EXPECT_EQ((Calls{"open:C:\\second.wav"}), recorder_->calls);
}

TEST_F(AppTest, GoToCommentStopsPlaybackMovesAndPlaysAgain) {
    CreateFrame();
    recorder_->file = std::make_unique<MemoryRecFile>();
    recorder_->file->SetLength(50000);
    recorder_->file->AddComment("Intro", 1000, 0);
    struct Case {
        const char* name;
        const char* text;
        bool playing;
        bool recording;
        Calls calls;
    };
    const Case cases[] = {
        {"match while playing", "intro", true, false, {"stop", "goto:1000", "play"}},
        {"match while idle", "INTRO", false, false, {"goto:1000"}},
        {"no match", "outro", true, false, {}},
        {"while recording", "intro", false, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        recorder_->calls.clear();
        recorder_->playing = c.playing;
        recorder_->recording = c.recording;
        COPYDATASTRUCT data{COPYDATA_GOTOCOMMENT, static_cast<DWORD>(strlen(c.text) + 1), const_cast<char*>(c.text)};
        SendMessageA(FrameHandle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
        EXPECT_EQ(c.calls, recorder_->calls);
    }
}

TEST_F(AppTest, EndOfSessionFinishesTheRecordingAndSavesUnlessRunOnASettingsFile) {
    for (bool iniSwitch : {false, true}) {
        SCOPED_TRACE(iniSwitch ? "/I" : "registry");
        TearDown();
        SetUp();
        AppState.TrayIcon = true;
        CreateFrame();
        if (iniSwitch) CopyTextField(AppState.IniPath, ini_.path().c_str());
        EXPECT_EQ(TRUE, SendMessageA(FrameHandle(), WM_QUERYENDSESSION, 0, 0));
        EXPECT_TRUE(Frame().ExitFlag());
        SendMessageA(FrameHandle(), WM_ENDSESSION, TRUE, 0);
        EXPECT_EQ(Calls{"endsession"}, recorder_->calls);
        EXPECT_EQ(iniSwitch ? 0 : 1, app_->writes);
    }
}

TEST_F(AppTest, ACancelledEndOfSessionHidesToTheTrayAgain) {
    AppState.TrayIcon = true;
    CreateFrame();
    SendMessageA(FrameHandle(), WM_QUERYENDSESSION, 0, 0);
    SendMessageA(FrameHandle(), WM_ENDSESSION, FALSE, 0);
    EXPECT_FALSE(Frame().ExitFlag());
    EXPECT_TRUE(recorder_->calls.empty());
    EXPECT_FALSE(app_->CanClose());
}

TEST_F(AppTest, PreferencesClosedWithCancelStillApplyAndSave) {
    CreateFrame();
    AppState.TrayIcon = true;
    ui_.defaultModalAnswer = IDCANCEL;
    SendCommand(CM_PREFERENCES);
    EXPECT_EQ(1, ui_.modalCount);
    EXPECT_EQ(1, FakeTrayShell::adds);
    EXPECT_EQ(1, app_->writes);
    recorder_->PumpPosted();
    EXPECT_TRUE(recorder_->Got(WM_SETTINGSCHANGED));
    EXPECT_TRUE(recorder_->calls.empty());
}

TEST_F(AppTest, PreferencesCloseAndReopenTheCodecStreamOfAnMp3Recording) {
    CreateFrame();
    recorder_->file = std::make_unique<MemoryRecFile>();
    auto* format = const_cast<WAVEFORMATEX*>(recorder_->file->GetFormat());
    format->wFormatTag = 0x55;
    recorder_->recording = true;
    SendCommand(CM_PREFERENCES);
    EXPECT_EQ((Calls{"stop", "codec-close", "codec-open", "listen"}), recorder_->calls);
}

// The end of the session under the sheet closed the recording: its codec
// stream is not opened again and nothing starts recording.
TEST_F(AppTest, PreferencesEndedWithTheSessionLeaveTheClosedRecordingAlone) {
    CreateFrame();
    recorder_->file = std::make_unique<MemoryRecFile>();
    const_cast<WAVEFORMATEX*>(recorder_->file->GetFormat())->wFormatTag = 0x55;
    recorder_->recording = true;
    ui_.whileOpen.push_back([&] {
        SendMessageA(FrameHandle(), WM_QUERYENDSESSION, 0, 0);
        SendMessageA(FrameHandle(), WM_ENDSESSION, TRUE, 0);
    });
    SendCommand(CM_PREFERENCES);
    EXPECT_EQ((Calls{"stop", "codec-close", "endsession"}), recorder_->calls);
}

// A Speex recording's size has no stored format: the File page's estimate
// takes the rate of the recorder window's format.
TEST_F(AppTest, TheFilePageEstimatesFromTheRecordersFormat) {
    CreateFrame();
    AppState.DefaultAudioFormat = 4;
    AppState.FileSize = 20;
    recorder_->recordingByteRate = 2000;
    std::string estimate;
    ui_.modalScripts.push_back([&estimate](ModalRun& modal) {
        auto& sheet = static_cast<TPropertySheet&>(modal);
        if (!sheet.Create()) return IDCANCEL;
        PropSheet_SetCurSel(sheet.GetHandle(), nullptr, 5);
        HWND page = PropSheet_GetCurrentPageHwnd(sheet.GetHandle());
        estimate = TWindow::WindowText(GetDlgItem(page, IDC_FILEESTIMATE));
        return IDCANCEL;
    });
    SendCommand(CM_PREFERENCES);
    EXPECT_EQ("174.8 minutes", estimate);  // 20 MB at 2000 bytes a second
}

TEST_F(AppTest, TheTimerSwitchTwiceLeavesItAsItWasAndSavesTwice) {
    CreateFrame();
    SendCommand(CM_ENABLETIMER);
    EXPECT_TRUE(AppState.TimerEnable);
    EXPECT_EQ(1, *Frame().QueryEnabler(CM_ENABLETIMER).Check());
    SendCommand(CM_ENABLETIMER);
    EXPECT_FALSE(AppState.TimerEnable);
    EXPECT_EQ(2, app_->writes);
}

TEST_F(AppTest, SettingsFilesAreWrittenEvenUnderTheIniSwitchAndReadBack) {
    CreateFrame();
    CopyTextField(AppState.IniPath, ini_.path().c_str());
    ui_.fileDialogAnswers = {std::string("C:\\out.ini"), std::nullopt, std::string("C:\\in.ini")};
    SendCommand(CM_SAVESETTINGSAS);
    EXPECT_EQ(std::vector<std::string>{"C:\\out.ini"}, app_->written);
    ASSERT_EQ(1u, ui_.fileDialogs.size());
    EXPECT_TRUE(ui_.fileDialogs[0].flags & OFN_OVERWRITEPROMPT);
    EXPECT_EQ("ini", ui_.fileDialogs[0].defaultExt);

    SendCommand(CM_OPENSETTINGSFILE);  // cancelled: still applied
    recorder_->PumpPosted();
    EXPECT_TRUE(recorder_->Got(WM_SETTINGSCHANGED));
    SendCommand(CM_OPENSETTINGSFILE);
    EXPECT_EQ(Calls{"load:C:\\in.ini"}, recorder_->calls);
    EXPECT_TRUE(ui_.fileDialogs[2].flags & OFN_FILEMUSTEXIST);
}

TEST_F(AppTest, ANewInstanceStartsTheProgramByItsQuotedPath) {
    CreateFrame();
    SendCommand(CM_NEWINSTANCE);
    ASSERT_EQ(1u, ui_.launches.size());
    const std::string& line = ui_.launches[0].first;
    ASSERT_GE(line.size(), 2u);
    EXPECT_EQ('"', line.front());
    EXPECT_EQ('"', line.back());
    EXPECT_NE(std::string::npos, line.find("app_tests.exe"));
}

TEST_F(AppTest, TheFirstCopyOpensAtTheSavedPositionAndMinimisedRequestsAreKept) {
    AppState.WindowX = 345;
    app_->SetShowCommand(SW_SHOWMINNOACTIVE);
    CreateFrame();
    RECT rect;
    GetWindowRect(FrameHandle(), &rect);
    EXPECT_EQ(345, rect.left);
    EXPECT_EQ(DefaultWindowPosition().y, rect.top);  // not the show state taken as y
    EXPECT_EQ(SW_SHOWMINNOACTIVE, app_->GetShowCommand());
}

TEST_F(AppTest, PropertiesOnlyStartsHiddenAndNeedsAnExistingFile) {
    AppState.PropertiesOnly = true;
    CreateFrame();
    EXPECT_EQ(SW_HIDE, app_->GetShowCommand());
    EXPECT_FALSE(PropertiesRunHasFile());
    CopyTextField(AppState.CommandLineFile, "C:\\no such folder\\x.wav");
    EXPECT_FALSE(PropertiesRunHasFile());
    CopyTextField(AppState.CommandLineFile, ini_.path().c_str());
    ini_.Write("Setup", "Sound Level", "1");
    EXPECT_TRUE(PropertiesRunHasFile());
}

}  // namespace
