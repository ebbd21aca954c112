#include "recorder/window/TAppDialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "core/AppState.h"
#include "core/PrivateMessages.h"
#include "framework/FrameWindow.h"
#include "schedule/ScheduleClock.h"
#include "recorder/controls/CoolButton.h"
#include "recorder/controls/SMeter.h"
#include "resources/ResourceIds.h"
#include "tests/fakes/FakeAcm.h"
#include "tests/fakes/FakeUserInteraction.h"
#include "tests/prefs/EventBuilder.h"
#include "tests/recorder/FilesTestFolder.h"

namespace {

// The recorder window with its timers recorded instead of armed.
class TestAppDialog : public TAppDialog {
public:
    using TAppDialog::TAppDialog;
    std::vector<std::pair<UINT_PTR, UINT>> armed;
    std::vector<UINT_PTR> disarmed;
    bool timersFail = false;

protected:
    bool ArmTimer(UINT_PTR id, UINT ms) override {
        armed.emplace_back(id, ms);
        return !timersFail;
    }
    void DisarmTimer(UINT_PTR id) override { disarmed.push_back(id); }
};

class FixedClock : public ScheduleClock {
public:
    WallClockTime now{3, 10, 30};  // Wednesday 10:30
    WallClockTime Now() const override { return now; }
};

// A recording that only remembers how it ended.
class FakeRecording : public RecFile {
public:
    FakeRecording(uint32_t bytes, bool temporary, bool* wasTemporaryAtEnd)
        : RecFile(nullptr, 0), bytes_(bytes), end_(wasTemporaryAtEnd) {
        temporary_ = temporary;
        path_ = "C:\\rec\\~rec_1.wav";
    }
    ~FakeRecording() override { *end_ = temporary_; }
    bool Rename(const std::string& newPath) override {
        if (newPath == path_) temporary_ = false;
        return true;
    }
    bool Delete() override { return true; }
    bool IsOpen() const override { return true; }
    bool Reopen() override { return true; }
    uint32_t GetDataLength() const override { return bytes_; }
    void SetDataLength(uint32_t bytes) override { bytes_ = bytes; }
    int32_t Write(const void*, uint32_t bytes) override { return static_cast<int32_t>(bytes); }
    int32_t Read(void*, uint32_t) override { return 0; }

private:
    uint32_t bytes_;
    bool* end_;
};

// A hidden frame with the recorder window as its client.
class RecorderWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppState.Reset();
        SetScheduleClock(&clock);
        Build();
    }
    void Build() {
        frame.reset();
        auto client = std::make_unique<TestAppDialog>(nullptr);
        dialog = client.get();
        frame = std::make_unique<TFrameWindow>(nullptr, "recorder test", std::move(client), true);
        ASSERT_TRUE(frame->Create());
        ASSERT_TRUE(dialog->GetHandle());
    }
    void TearDown() override {
        frame.reset();
        SetScheduleClock(nullptr);
        AppState.Reset();
    }
    void Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) { SendMessageA(dialog->GetHandle(), msg, wp, lp); }
    bool Handles(UINT msg, WPARAM wp = 0) {
        Message m;
        m.hwnd = dialog->GetHandle();
        m.msg = msg;
        m.wParam = wp;
        m.probe = true;
        return dialog->Dispatch(m);
    }
    void AddEvent(int startHour, int startMinute, int stopHour, int stopMinute, bool newFile) {
        TimerEvent event = Event(kEveryDay, startHour, startMinute, stopHour, stopMinute, newFile);
        AppState.Events.Add(&event);
        AppState.TimerEnable = true;
    }

    FakeUserInteraction ui;
    ScopedUi scopedUi{ui};
    FixedClock clock;
    TestAppDialog* dialog = nullptr;
    std::unique_ptr<TFrameWindow> frame;
};

TEST_F(RecorderWindowTest, EnterEscAndCommand103KeepTheWindowOpen) {
    const WPARAM commands[] = {MAKEWPARAM(IDOK, BN_CLICKED), MAKEWPARAM(IDCANCEL, BN_CLICKED),
                               MAKEWPARAM(CM_RESERVED103, 0)};
    for (WPARAM command : commands) {
        SCOPED_TRACE(LOWORD(command));
        Send(WM_COMMAND, command, 0);
        EXPECT_TRUE(IsWindow(dialog->GetHandle()));
        EXPECT_TRUE(IsWindow(frame->GetHandle()));
    }
    MSG keys[] = {{dialog->GetHandle(), WM_KEYDOWN, VK_RETURN, 1, 0, {}},
                  {dialog->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 1, 0, {}}};
    for (MSG& key : keys) {
        if (!dialog->PreProcessMsg(key)) DispatchMessageA(&key);
        MSG pending;
        while (PeekMessageA(&pending, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&pending);
        EXPECT_TRUE(IsWindow(dialog->GetHandle()));
    }
}

TEST_F(RecorderWindowTest, TheSchedulerPollsAfterOneSecondThenEveryTwo) {
    ASSERT_FALSE(dialog->armed.empty());
    EXPECT_EQ(std::make_pair(TIMER_SCHEDULER, 1000u), dialog->armed.front());
    const UINT_PTR polling[] = {TIMER_SCHEDULER, TIMER_SCHEDULER};
    for (UINT_PTR timer : polling) {
        SCOPED_TRACE(timer);
        dialog->armed.clear();
        Send(WM_TIMER, timer);
        ASSERT_EQ(1u, dialog->armed.size());
        EXPECT_EQ(std::make_pair(TIMER_SCHEDULER, 2000u), dialog->armed.back());
    }
    dialog->armed.clear();
    Send(WM_TIMER, TIMER_PLAYSTART);
    EXPECT_TRUE(dialog->armed.empty());
    EXPECT_EQ(std::vector<UINT_PTR>{TIMER_PLAYSTART}, dialog->disarmed);
}

// With /R the program lives as long as the properties report; the watch
// polls the schedule as well.
TEST_F(RecorderWindowTest, ThePropertiesWatchEndsTheProgramWhenTheReportIsGone) {
    HWND report = CreateWindowExA(0, "STATIC", "report", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    dialog->PropertiesWindow = report;
    MSG quit{};
    dialog->armed.clear();
    Send(WM_TIMER, TIMER_PROPERTIESWATCH);
    EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(std::make_pair(TIMER_SCHEDULER, 2000u), dialog->armed.back());
    DestroyWindow(report);
    Send(WM_TIMER, TIMER_PROPERTIESWATCH);
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    dialog->PropertiesWindow = nullptr;
}

// /R on a file that exists but will not open: the message, then the end,
// not a hidden program that never ends.
TEST_F(RecorderWindowTest, PropertiesOnlyEndsAfterTheMessageForAFileThatWillNotOpen) {
    FilesTestFolder folder;
    const std::string path = folder / "broken.wav";
    ASSERT_TRUE(FilesTestFolder::WriteFile(path, 100));  // no RIFF header
    AppState.PropertiesOnly = true;
    CopyTextField(AppState.CommandLineFile, path.c_str());
    Build();
    EXPECT_FALSE(dialog->CurrentFile);
    EXPECT_EQ(1u, ui.messageBoxes.size());
    const auto watch = std::make_pair(TIMER_PROPERTIESWATCH, kPropertiesWatchMs);
    EXPECT_NE(dialog->armed.end(), std::find(dialog->armed.begin(), dialog->armed.end(), watch));
    Send(WM_TIMER, TIMER_PROPERTIESWATCH);
    MSG quit{};
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(RecorderWindowTest, TheThresholdSliderFollowsTheSettings) {
    struct Case {
        bool hide;
        int soundLevel;
    } cases[] = {{false, 30}, {true, 55}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hide);
        AppState.VoxHide = c.hide;
        AppState.SoundLevel = c.soundLevel;
        Build();
        HWND slider = dialog->VoxSlider();
        EXPECT_EQ(100 - c.soundLevel, SendMessageA(slider, TBM_GETPOS, 0, 0));
        EXPECT_EQ(!c.hide, (GetWindowLongA(slider, GWL_STYLE) & WS_VISIBLE) != 0);
        EXPECT_EQ(!c.hide, IsWindowEnabled(slider) != FALSE);
        EXPECT_EQ(!c.hide, (GetWindowLongA(dialog->GetDlgItem(IDC_VOXLABEL), GWL_STYLE) & WS_VISIBLE) != 0);
        EXPECT_EQ(!c.hide, (GetWindowLongA(dialog->GetDlgItem(IDC_VOXLEVEL), GWL_STYLE) & WS_VISIBLE) != 0);
    }
}

TEST_F(RecorderWindowTest, ATimerThatCannotBeArmedIsLogged) {
    dialog->timersFail = true;
    const int before = SMsg::WarningCount();
    dialog->SpinTimer();
    Send(WM_TIMER, TIMER_SCHEDULER);
    EXPECT_EQ(before + 2, SMsg::WarningCount());
}

TEST_F(RecorderWindowTest, ScheduledStartAndStopShowOnTheButtons) {
    AddEvent(10, 30, -1, 0, false);
    Send(WM_TIMER, TIMER_SCHEDULER);
    EXPECT_EQ(CoolButton::kPressed, dialog->RecordButton->GetState());
    EXPECT_EQ(CoolButton::kNormal, dialog->StopButton->GetState());
    AppState.Events.Clear();
    AddEvent(-1, 0, 10, 31, false);
    clock.now.minute = 31;
    Send(WM_TIMER, TIMER_SCHEDULER);
    EXPECT_EQ(CoolButton::kPressed, dialog->StopButton->GetState());
    EXPECT_EQ(CoolButton::kNormal, dialog->RecordButton->GetState());
}

// An event's name is text: it adds neither folders nor format codes to the
// name of the recording it starts.
TEST_F(RecorderWindowTest, AScheduledStartKeepsTheEventNameLiteral) {
    FilesTestFolder folder;
    CopyTextField(AppState.DefaultDirectory, folder.Path().c_str());
    clock.now = WallClockTime{3, 14, 0};  // a minute no other test reports
    AddEvent(14, 0, -1, 0, true);
    TimerEvent named = *AppState.Events.Get(0);
    named.name = "..\\up%s%n";
    AppState.Events.Set(0, named);
    Send(WM_TIMER, TIMER_SCHEDULER);
    ASSERT_NE(nullptr, dialog->CurrentFile);
    const std::string path = dialog->CurrentFile->GetPath();
    const std::string name = path.substr(path.find_last_of('\\') + 1);
    EXPECT_EQ(folder.Path(), path.substr(0, path.size() - name.size() - 1));
    EXPECT_EQ(std::string::npos, name.find('%')) << name;
    EXPECT_EQ(0u, name.find(".._up")) << name;
    (void)dialog->CurrentFile->Delete();
    dialog->CurrentFile.reset();
}

// A scheduled stop due while a start or stop is pumping messages must not
// drop the file under the running capture: it is kept until they have ended.
TEST_F(RecorderWindowTest, TheSchedulerWaitsWhileTheTransportIsBusy) {
    clock.now = WallClockTime{3, 13, 0};  // a minute no other test reports
    AddEvent(-1, 0, 13, 0, true);
    bool temporaryAtEnd = false;
    dialog->CurrentFile = std::make_unique<FakeRecording>(1000, true, &temporaryAtEnd);
    dialog->BeginTransportBusy();
    Send(WM_TIMER, TIMER_SCHEDULER);
    EXPECT_NE(nullptr, dialog->CurrentFile);
    EXPECT_EQ(std::make_pair(TIMER_SCHEDULER, 2000u), dialog->armed.back());
    dialog->EndTransportBusy();
    MSG kept;
    ASSERT_TRUE(PeekMessageA(&kept, dialog->GetHandle(), WM_LATESCHEDULE, WM_LATESCHEDULE, PM_REMOVE));
    DispatchMessageA(&kept);
    EXPECT_EQ(nullptr, dialog->CurrentFile);
    EXPECT_FALSE(temporaryAtEnd);
}

// A scheduled stop that ends the event's file must not lose a temporary
// recording: the stop has cleared its "modified" flag, so closing it as a
// temporary file would delete it. An empty one may go.
TEST_F(RecorderWindowTest, AScheduledNewFileStopKeepsARecordingThatHoldsAudio) {
    struct Case {
        const char* name;
        bool stop;
        uint32_t bytes;
        bool temporaryAtEnd;
    } cases[] = {
        {"stop, 1000 bytes", true, 1000, false},
        {"stop, empty", true, 0, true},
        {"start, 1000 bytes", false, 1000, false},
    };
    // Each check reports a minute once: every case has a minute of its own.
    clock.now = WallClockTime{3, 11, 0};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppState.Events.Clear();
        ++clock.now.minute;
        if (c.stop) AddEvent(-1, 0, 11, clock.now.minute, true);
        else AddEvent(11, clock.now.minute, -1, 0, true);
        bool temporaryAtEnd = false;
        dialog->CurrentFile = std::make_unique<FakeRecording>(c.bytes, true, &temporaryAtEnd);
        Send(WM_TIMER, TIMER_SCHEDULER);
        EXPECT_EQ(c.temporaryAtEnd, temporaryAtEnd);
        // A start goes on in a new file of its own, made here for the test only.
        if (c.stop) {
            EXPECT_EQ(nullptr, dialog->CurrentFile);
        } else if (dialog->CurrentFile) {
            (void)dialog->CurrentFile->Delete();
            dialog->CurrentFile.reset();
        }
    }
}

// Under /D the codec manager says 18 bytes, but formats from files and
// settings (an MP3 format has 12 extra bytes) still go into the buffers whole.
TEST(RecorderFormatBuffers, TheFormatBuffersAlwaysHoldTheLargestFormat) {
    FakeAcm acm;
    SetAcm(&acm);
    struct Case {
        const char* name;
        bool noCodecs;
        DWORD reported;
    } cases[] = {{"/D", true, 50}, {"Wine's codec manager", false, 50}, {"a codec reporting too much", false, 70000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppState.Reset();
        AppState.NoCodecs = c.noCodecs;
        acm.maxFormatBytes = c.reported;
        TAppDialog dialog(nullptr);
        EXPECT_EQ(!c.noCodecs, AppState.CodecsAvailable);
        EXPECT_EQ(kMaxFormatSize, AppState.WaveFormatSize);
        EXPECT_EQ(kMaxFormatSize, AppState.Mp3FormatSize);
        EXPECT_LE(dialog.CodecFormatBytes, kMaxFormatBytes);

        WAVEFORMATEX* mp3 = AppState.Mp3Format.get();
        *mp3 = WAVEFORMATEX{85, 2, 44100, 16000, 1, 0, 12};
        ASSERT_TRUE(dialog.FileFormat.Assign(mp3, kFormatBufferBytes));
        EXPECT_EQ(30u, dialog.FileFormat.Bytes());
        mp3->cbSize = 0xFFFF;  // a damaged setting
        ASSERT_TRUE(dialog.FileFormat.Assign(mp3, kFormatBufferBytes));
        EXPECT_LE(dialog.FileFormat.Bytes(), static_cast<size_t>(kMaxFormatBytes));
    }
    SetAcm(nullptr);
    AppState.Reset();
}

TEST_F(RecorderWindowTest, EveryRecorderCommandOfTheMenuAndAcceleratorsIsWired) {
    const UINT applicationCommands[] = {CM_EXIT, CM_CLOSEWINDOW, CM_SAVESETTINGSAS, CM_OPENSETTINGSFILE,
                                        CM_NEWINSTANCE, CM_PREFERENCES, CM_ENABLETIMER, CM_VOLUME,
                                        CM_PLAYMIXER, CM_RECORDMIXER, CM_SOUNDCONTROLPANEL, CM_HELPCONTENTS,
                                        CM_CHECKFORUPDATE, CM_MAKERWEBSITE, CM_PRODUCTWEBPAGE, CM_ABOUT};
    auto isApplicationCommand = [&](UINT id) {
        for (UINT app : applicationCommands)
            if (app == id) return true;
        return false;
    };
    std::vector<UINT> ids;
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_MAIN));
    ASSERT_NE(nullptr, menu);
    std::vector<HMENU> pending{menu};
    while (!pending.empty()) {
        HMENU current = pending.back();
        pending.pop_back();
        for (int i = 0; i < GetMenuItemCount(current); ++i) {
            HMENU sub = GetSubMenu(current, i);
            if (sub) {
                pending.push_back(sub);
            } else if (GetMenuItemID(current, i) != 0) {
                ids.push_back(GetMenuItemID(current, i));
            }
        }
    }
    DestroyMenu(menu);
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDA_MAIN));
    ASSERT_NE(nullptr, table);
    ACCEL keys[64];
    const int count = CopyAcceleratorTableA(table, keys, 64);
    for (int i = 0; i < count; ++i) ids.push_back(keys[i].cmd);
    EXPECT_GT(ids.size(), 60u);
    for (UINT id : ids) {
        SCOPED_TRACE(id);
        if (!isApplicationCommand(id)) {
            EXPECT_TRUE(Handles(WM_COMMAND, MAKEWPARAM(id, 0)));
        }
    }
    for (UINT id = CM_INPUTSOURCEFIRST; id <= CM_INPUTSOURCELAST; ++id) EXPECT_TRUE(Handles(WM_COMMAND, id));
}

TEST_F(RecorderWindowTest, AltNAndAltVMoveTheFocusToTheSliders) {
    // The focus moves the key asked for; the dialog manager may post its own.
    auto focusMoves = [&] {
        std::vector<WPARAM> targets;
        MSG posted{};
        while (PeekMessageA(&posted, dialog->GetHandle(), WM_NEXTDLGCTL, WM_NEXTDLGCTL, PM_REMOVE))
            if (posted.lParam == TRUE) targets.push_back(posted.wParam);
        return targets;
    };
    focusMoves();
    struct Case {
        WPARAM key;
        LPARAM flags;
        std::vector<WPARAM> targets;
    } cases[] = {
        {'N', 1 << 29, {reinterpret_cast<WPARAM>(dialog->PositionSlider())}},
        {'V', 1 << 29, {reinterpret_cast<WPARAM>(dialog->VoxSlider())}},
        {'N', 0, {}},  // without Alt
        {'X', 1 << 29, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<char>(c.key) << " " << c.flags);
        MSG press{dialog->GetHandle(), c.flags ? UINT(WM_SYSKEYDOWN) : UINT(WM_KEYDOWN), c.key, c.flags, 0, {}};
        dialog->PreProcessMsg(press);
        EXPECT_EQ(c.targets, focusMoves());
    }
}

TEST_F(RecorderWindowTest, SetupPlacesTheMeterAndTheToolTips) {
    HWND placeHolder = dialog->GetDlgItem(IDC_METERFRAME);
    EXPECT_FALSE(IsWindowVisible(placeHolder));
    EXPECT_FALSE(IsWindowEnabled(placeHolder));
    RECT meter{}, place{};
    GetWindowRect(dialog->Meter->Gauge(0).GetHandle(), &meter);
    GetWindowRect(placeHolder, &place);
    EXPECT_EQ(place.left, meter.left);
    EXPECT_EQ(place.top, meter.top);
    EXPECT_EQ(32, meter.right - meter.left);
    EXPECT_EQ(5, SendMessageA(frame->GetTooltip(), TTM_GETTOOLCOUNT, 0, 0));
    EXPECT_EQ(0, SendMessageA(dialog->PositionSlider(), TBM_GETRANGEMIN, 0, 0));
    EXPECT_EQ(1000, SendMessageA(dialog->PositionSlider(), TBM_GETRANGEMAX, 0, 0));
}

}  // namespace
