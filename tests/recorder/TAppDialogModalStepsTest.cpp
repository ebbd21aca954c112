// The recorder window while a dialog or message box is open: what arrives
// in its loop (the scheduler, a second copy, the file limit, the end of the
// session) must not stop, switch or change the recording under it; it runs,
// in order, when the dialog has closed.
#include "recorder/window/TAppDialog.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/PrivateMessages.h"
#include "framework/InputDialog.h"
#include "framework/UserInteraction.h"
#include "schedule/ScheduleClock.h"
#include "recorder/clipboard/ClipboardExchange.h"
#include "recorder/editing/AudioEdit.h"
#include "recorder/editing/EditBusy.h"
#include "tests/prefs/EventBuilder.h"
#include "tests/recorder/CaptureWindowFixture.h"

namespace {

class FixedClock : public ScheduleClock {
public:
    WallClockTime now{4, 20, 0};
    WallClockTime Now() const override { return now; }
};

const WAVEFORMATEX kMono8k = PcmFormat(1, 8000, 16);  // 3200 bytes a buffer

class ModalStepsTest : public CaptureWindowTest {
protected:
    void SetUp() override
    {
        CaptureWindowTest::SetUp();
        SetScheduleClock(&clock);
        path = TempWavePath("modal_steps.wav");
        log = TempWavePath("modal_steps.log");
        CopyTextField(AppState.LogPath, log.c_str());
    }
    void TearDown() override
    {
        dialog->CurrentFile.reset();
        dialog->TempFile.reset();
        CaptureWindowTest::TearDown();
        SetScheduleClock(nullptr);
        DeleteFileA(path.c_str());
        DeleteFileA(log.c_str());
    }
    // A recording running into the test's file, a few buffers in.
    void StartRecording()
    {
        UseNewWaveFile(path, kMono8k);
        waves.Tone(60, 500);
        dialog->Listen();
        ASSERT_TRUE(dialog->Recording);
        Capture(3);
    }
    // Each schedule check reports a minute once per program: every test
    // takes a minute of its own.
    void DueStop(int minute, bool newFile)
    {
        clock.now.minute = minute;
        TimerEvent event = Event(kEveryDay, -1, 0, clock.now.hour, minute, newFile);
        AppState.Events.Add(&event);
        AppState.TimerEnable = true;
    }
    std::string LogText() const
    {
        std::ifstream in(log, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    // A 1 MB loop of 76800-byte buffers, each a tone of its own: it wraps
    // after the 14th.
    void StartLoop()
    {
        AppState.FileAction = 1;
        AppState.FileSizeSel = 0;
        AppState.FileSize = 1;
        UseNewWaveFile(path, kFast);
        for (int i = 0; i < 20; ++i)
            waves.Tone(1, 200 + 90 * i, 0.5);
        dialog->Listen();
    }
    size_t LogCount(const std::string& line) const
    {
        const std::string text = LogText();
        size_t count = 0;
        for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
            ++count;
        return count;
    }
    // Any modal step: what runs in it comes from ui.whileOpen.
    void UnderADialog() { (void)Ui().MessageBox(dialog->GetHandle(), "open", "test", MB_OK); }

    static constexpr uint32_t kFastBuffer = 76800;
    const WAVEFORMATEX kFast = PcmFormat(2, 96000, 16);
    FixedClock clock;
    std::string path;
    std::string log;
};

// A scheduled stop with its own file falls due under Insert Annotation: the
// comment goes into the recording, then the stop runs and lets it go.
TEST_F(ModalStepsTest, ScheduledNewFileStopUnderInsertAnnotationRunsWhenItCloses)
{
    StartRecording();
    DueStop(1, true);
    RecFile* recording = dialog->CurrentFile.get();
    ui.modalScripts.push_back([&](ModalRun& modal) {
        auto& input = dynamic_cast<TDialog&>(modal);
        if (!input.Create())
            return -1;
        input.SetItemText(TInputDialog::kEditId, "while it ran");
        Send(WM_TIMER, TIMER_SCHEDULER);
        Pump();
        EXPECT_EQ(recording, dialog->CurrentFile.get());
        EXPECT_TRUE(dialog->Recording);
        input.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return IDOK;
    });
    dialog->CmInsertAnnotation();
    ASSERT_EQ(recording, dialog->CurrentFile.get());
    EXPECT_EQ(1, recording->CommentCount());
    Pump();
    EXPECT_FALSE(dialog->Recording);
    EXPECT_EQ(nullptr, dialog->CurrentFile);
    const std::string text = LogText();
    const size_t waits = text.find("scheduled stop of event 1 waits: a dialog is open");
    const size_t late = text.find("scheduled stop of event 1 runs late, after a dialog closed");
    ASSERT_NE(std::string::npos, waits) << text;
    ASSERT_NE(std::string::npos, late) << text;
    EXPECT_LT(waits, late) << text;
}

// A second copy's /H (open a file) and /F /T (stop) under the position
// dialog: the dialog keeps working on the recording, which goes on; then the
// stop and the opening run, in that order.
TEST_F(ModalStepsTest, SecondCopysOpenAndStopUnderThePositionDialogWaitForIt)
{
    const std::string other = TempWavePath("modal_steps_other.wav");
    {
        WaveFile file(other.c_str(), &kMono8k, MMIO_CREATE | MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        const std::vector<char> audio(3200, 0);
        ASSERT_EQ(3200, file.Write(audio.data(), 3200));
    }
    StartRecording();
    ASSERT_TRUE(dialog->CanChoosePosition());
    RecFile* recording = dialog->CurrentFile.get();
    ui.modalScripts.push_back([&](ModalRun& modal) {
        auto& position = dynamic_cast<TDialog&>(modal);
        if (!position.Create())
            return -1;
        dialog->RequestOpenFile(other.c_str());  // /H, as the application hands it on
        PostMessageA(dialog->GetHandle(), WM_STOPTRANSPORT, REMOTE_WPARAM, 0);  // /F /T
        Capture(2);
        EXPECT_EQ(recording, dialog->CurrentFile.get());
        EXPECT_TRUE(dialog->Recording);
        const HWND slider = position.GetDlgItem(IDC_POSSLIDER);
        ::SendMessageA(slider, TBM_SETPOS, TRUE, 0);
        position.SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 0), reinterpret_cast<LPARAM>(slider));
        position.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return IDOK;
    });
    dialog->CmPosition();
    EXPECT_EQ(1, ui.modalCount);
    Pump();
    EXPECT_FALSE(dialog->Recording);
    ASSERT_NE(nullptr, dialog->CurrentFile);
    EXPECT_EQ(other, dialog->CurrentFile->GetPath());
    dialog->CurrentFile.reset();
    EXPECT_EQ(5u * 3200u, ReadBack(path).size());  // every buffer taken, the one under the stop included
    DeleteFileA(other.c_str());
}

// The file limit's loop action arrives during "Do you want to save?": the
// recording keeps its marks and is not wound back under the question.
TEST_F(ModalStepsTest, FileLimitUnderTheSaveQuestionWaitsForTheAnswer)
{
    StartRecording();
    dialog->CmStop();
    RecFile& recording = *dialog->CurrentFile;
    recording.AddComment("kept", 0, kNoPosition);
    recording.SetTemporary(true);
    AppState.FileAction = 1;  // loop
    const int segments = recording.TimeCodeCount();
    ui.whileOpen.push_back([&] {
        Send(WM_FILELIMIT, 0, 0);
        EXPECT_EQ(1, recording.CommentCount());
        EXPECT_EQ(segments, recording.TimeCodeCount());
        EXPECT_FALSE(recording.GetOverwrite());
    });
    ui.messageBoxAnswers = {IDCANCEL};
    EXPECT_FALSE(dialog->FileCanClose());
    ASSERT_EQ(1u, ui.messageBoxes.size());
    Pump();  // the limit comes after the recording has ended: nothing to wind back
    EXPECT_EQ(&recording, dialog->CurrentFile.get());
    EXPECT_EQ(1, recording.CommentCount());
    EXPECT_FALSE(recording.GetOverwrite());
    EXPECT_EQ(nullptr, dialog->ContinuationFile);
}

// During a record-insert the user's recording waits in TempFile: Paste to
// File refuses its name as it refuses the other files the recorder holds.
TEST_F(ModalStepsTest, PasteToFileRefusesTheRecordingARecordInsertHolds)
{
    UseNewWaveFile(path, kMono8k);
    const std::vector<uint8_t> old(4 * 3200, 0x11);
    ASSERT_EQ(4 * 3200, dialog->CurrentFile->Write(old.data(), 4 * 3200));
    ASSERT_TRUE(dialog->CurrentFile->Update());
    ASSERT_TRUE(dialog->CurrentFile->Position(2 * 3200));
    const std::string buffered = TempWavePath("modal_steps_cut.wav");
    PasteBuffer = std::make_unique<WaveFile>(buffered.c_str(), &kMono8k, MMIO_CREATE | MMIO_READWRITE);
    ASSERT_TRUE(PasteBuffer->Open());
    const std::vector<uint8_t> cut(3200, 0x5A);
    ASSERT_EQ(3200, PasteBuffer->Write(cut.data(), 3200));
    AppState.UseWinClip = false;
    waves.Tone(60, 500);
    dialog->CmRecordInsert();
    ASSERT_TRUE(dialog->RecordInsertActive);
    ASSERT_EQ(path, dialog->TempFile->GetPath());
    Capture(2);

    ui.fileDialogAnswers = {path};
    dialog->CmPasteToFile();
    ASSERT_EQ(1u, ui.messageBoxes.size());
    EXPECT_EQ(SMsg::TextOf(IDS_PASTETOFILEFAILED), ui.messageBoxes[0].text);
    EXPECT_TRUE(PasteBuffer->IsOpen());  // nothing was copied

    dialog->CmStop();
    EXPECT_FALSE(dialog->RecordInsertActive);
    dialog->CurrentFile.reset();
    const std::vector<uint8_t> back = ReadBack(path);
    ASSERT_EQ(4u * 3200u + 2u * 3200u, back.size());  // the old audio and the two buffers inserted
    EXPECT_EQ(std::vector<uint8_t>(back.begin(), back.begin() + 2 * 3200),
              std::vector<uint8_t>(2 * 3200, 0x11));
    DiscardPasteBuffer();
    DeleteFileA(buffered.c_str());
}

// A drop refused while an edit runs is still let go of (DragFinish frees
// its memory).
TEST_F(ModalStepsTest, ADropRefusedDuringAnEditIsFreed)
{
    const char name[] = "C:\\dropped.wav";
    HGLOBAL drop = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + sizeof name + 1);
    ASSERT_NE(nullptr, drop);
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pFiles = sizeof(DROPFILES);
    memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), name, sizeof name);
    GlobalUnlock(drop);
    {
        EditBusyScope editing;
        Send(WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    }
    EXPECT_EQ(static_cast<UINT>(GMEM_INVALID_HANDLE), GlobalFlags(drop));
    EXPECT_EQ(nullptr, dialog->CurrentFile);
}

// The end of the Windows session cannot wait for a dialog: the dialog is
// ended, the recording closed on disk, and the handler that opened the
// dialog finds no file when it returns.
TEST_F(ModalStepsTest, TheEndOfTheSessionEndsAnOpenDialogFirst)
{
    StartRecording();
    ui.runModals = true;  // the real dialog and its loop
    PostMessageA(dialog->GetHandle(), WM_ENDSESSIONREQUEST, 0, 0);
    dialog->CmInsertAnnotation();
    EXPECT_EQ(1, ui.modalCount);
    EXPECT_FALSE(dialog->Recording);
    EXPECT_EQ(nullptr, dialog->CurrentFile);
    EXPECT_EQ(3u * 3200u, ReadBack(path).size());  // closed with every buffer taken
}

// The end of the session under a dialog runs the whole stop at once: a
// record-insert is merged into the recording at its place before the file
// is closed.
TEST_F(ModalStepsTest, TheEndOfTheSessionUnderADialogMergesARecordInsert)
{
    UseNewWaveFile(path, kMono8k);
    const std::vector<uint8_t> old(4 * 3200, 0x11);
    ASSERT_EQ(4 * 3200, dialog->CurrentFile->Write(old.data(), 4 * 3200));
    ASSERT_TRUE(dialog->CurrentFile->Update());
    ASSERT_TRUE(dialog->CurrentFile->Position(2 * 3200));
    waves.Tone(60, 500);
    dialog->CmRecordInsert();
    ASSERT_TRUE(dialog->RecordInsertActive);
    Capture(2);
    ui.whileOpen.push_back([&] {
        dialog->EndSession();
        EXPECT_FALSE(dialog->RecordInsertActive);
        EXPECT_EQ(nullptr, dialog->CurrentFile);
        const std::vector<uint8_t> back = ReadBack(path);
        ASSERT_GE(back.size(), 6u * 3200u);
        const std::vector<uint8_t> half(2 * 3200, 0x11);
        EXPECT_EQ(half, std::vector<uint8_t>(back.begin(), back.begin() + 2 * 3200));
        EXPECT_EQ(half, std::vector<uint8_t>(back.end() - 2 * 3200, back.end()));
        EXPECT_NE(0x11, back[2 * 3200]);
    });
    UnderADialog();
}

// And a looped recording is put in time order, its older lap's comment
// moved with its audio.
TEST_F(ModalStepsTest, TheEndOfTheSessionUnderADialogPutsALoopInTimeOrder)
{
    StartLoop();
    Capture(12);  // the newest buffer is taken with the next one
    dialog->CurrentFile->AddComment("lap one", 9 * kFastBuffer, 10 * kFastBuffer);
    Capture(8);
    ASSERT_TRUE(dialog->CurrentFile->GetOverwrite());
    ui.whileOpen.push_back([&] { dialog->EndSession(); });
    UnderADialog();
    WaveFile file(path.c_str(), nullptr, MMIO_READ);
    ASSERT_TRUE(file.Open());
    ASSERT_EQ(1, file.CommentCount());
    EXPECT_EQ(3 * kFastBuffer, file.GetCommentStart(0));
    std::vector<uint8_t> back(file.GetDataLength());
    ASSERT_EQ(14u * kFastBuffer, back.size());
    ASSERT_EQ(static_cast<int32_t>(back.size()), file.Read(back.data(), static_cast<uint32_t>(back.size())));
    const std::vector<uint8_t> all = Scripted(
        [](FakeWaveDevices& f) {
            for (int i = 0; i < 20; ++i)
                f.Tone(1, 200 + 90 * i, 0.5);
        },
        kFast, 20);
    EXPECT_TRUE(std::equal(back.begin(), back.end(), all.begin() + 6 * kFastBuffer));
}

// The loop's limit, asked on every buffer, is kept once under a dialog and
// logged once; the lap ends when the dialog has closed.
TEST_F(ModalStepsTest, TheLoopsLimitUnderADialogIsKeptOnce)
{
    StartLoop();
    Capture(12);
    ui.whileOpen.push_back([&] {
        Capture(6);
        EXPECT_FALSE(dialog->CurrentFile->GetOverwrite());
    });
    UnderADialog();
    EXPECT_EQ(1u, LogCount("a dialog is open: message")) << LogText();
    Pump();
    EXPECT_TRUE(dialog->CurrentFile->GetOverwrite());
    dialog->CmStop();
}

// What the dialog changed counts when a kept start runs: the timer switched
// off there runs nothing, and a start whose own stop has passed meanwhile is
// missed rather than run with its stop back to back.
TEST_F(ModalStepsTest, AKeptStartLooksAtTheTimerAndItsStopAgain)
{
    UseNewWaveFile(path, kMono8k);
    AppState.TimerEnable = true;
    for (bool switchedOff : {true, false}) {
        SCOPED_TRACE(switchedOff ? "timer switched off" : "stop passed");
        clock.now.minute = switchedOff ? 10 : 20;
        TimerEvent event = Event(kEveryDay, clock.now.hour, clock.now.minute, clock.now.hour, clock.now.minute + 1);
        AppState.Events.Add(&event);
        ui.whileOpen.push_back([&] {
            Send(WM_TIMER, TIMER_SCHEDULER);
            if (switchedOff)
                AppState.TimerEnable = false;
            else
                clock.now.minute += 2;
        });
        UnderADialog();
        Pump();
        EXPECT_FALSE(dialog->Recording);
        EXPECT_EQ(0, waves.Count("waveInOpen"));
        AppState.TimerEnable = true;
    }
    EXPECT_EQ(1u, LogCount("does not run: the timer is off")) << LogText();
    EXPECT_EQ(1u, LogCount("missed: its stop has passed")) << LogText();
}

// A start, stop, save or edit that pumps messages for a minute or more: the
// scheduled stop that fell due meanwhile runs when it has ended.
TEST_F(ModalStepsTest, AScheduledStopDueWhileTheTransportIsBusyRunsAfterIt)
{
    StartRecording();
    DueStop(30, false);
    dialog->BeginTransportBusy();
    Send(WM_TIMER, TIMER_SCHEDULER);
    clock.now.minute = 31;
    Send(WM_TIMER, TIMER_SCHEDULER);
    EXPECT_TRUE(dialog->Recording);
    dialog->EndTransportBusy();
    Pump();
    EXPECT_FALSE(dialog->Recording);
}

}  // namespace
