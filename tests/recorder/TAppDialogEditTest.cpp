// The recorder window's edit commands on real files: the enablers of the
// Edit menu in the states the user meets, the slider's selection display,
// Cut from a mark, a paste that makes the recording, and what arrives
// while a cut pumps messages (a scheduled stop, a transport request, a
// close, a command), which must wait or be refused.
#include "recorder/window/TAppDialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/AppState.h"
#include "core/PrivateMessages.h"
#include "core/SMsg.h"
#include "audiofile/PcmFormat.h"
#include "audiofile/FileNames.h"
#include "audiofile/FileSystem.h"
#include "audiofile/WaveFile.h"
#include "framework/FrameWindow.h"
#include "schedule/ScheduleClock.h"
#include "recorder/clipboard/ClipboardTransfer.h"
#include "recorder/editing/AudioEdit.h"
#include "recorder/editing/EditBusy.h"
#include "recorder/editing/EditProgress.h"
#include "tests/fakes/FakeUserInteraction.h"
#include "tests/prefs/EventBuilder.h"
#include "tests/recorder/FilesTestFolder.h"
#include "framework/Clipboard.h"

namespace {

constexpr uint32_t kCreate = MMIO_CREATE | MMIO_READWRITE;

// Runs a step of the test at every percentage of the edit.
class HookedProgress : public EditProgress {
public:
    explicit HookedProgress(std::function<void()> step) : step_(std::move(step)) {}
    void Show(const std::string&) override {}
    void SetCaption(const std::string&) override {}
    bool SetPercent(int) override {
        if (step_)
            step_();
        return true;
    }
    bool IsCancelled() const override { return false; }
    void Close() override {}

private:
    std::function<void()> step_;
};

class EditDialog : public TAppDialog {
public:
    using TAppDialog::TAppDialog;
    std::function<void()> duringEdit;

protected:
    bool ArmTimer(UINT_PTR, UINT) override { return true; }
    void DisarmTimer(UINT_PTR) override {}
    std::unique_ptr<TransferProgress> MakeTransferProgress() override { return std::make_unique<SilentProgress>(); }
    std::unique_ptr<EditProgress> MakeEditProgress() override {
        return std::make_unique<HookedProgress>(duringEdit);
    }
};

// A recording of a kind no edit can rebuild.
class SpeexLike : public WaveFile {
public:
    using WaveFile::WaveFile;
    int GetFileType() const override { return ftSpeex; }
};

class FixedClock : public ScheduleClock {
public:
    WallClockTime now{3, 14, 0};
    WallClockTime Now() const override { return now; }
};

class EditWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppState.Reset();
        AppState.UseWinClip = true;
        SetScheduleClock(&clock);
        char saved[MAX_PATH] = {};
        GetEnvironmentVariableA("TMP", saved, MAX_PATH);
        savedTmp_ = saved;
        SetEnvironmentVariableA("TMP", (folder.Path() + "\\").c_str());
        auto client = std::make_unique<EditDialog>(nullptr);
        dialog = client.get();
        frame = std::make_unique<TFrameWindow>(nullptr, "edit test", std::move(client), true);
        ASSERT_TRUE(frame->Create());
        ClearClipboard();
    }
    void TearDown() override {
        ClearClipboard();
        frame.reset();
        DiscardPasteBuffer();
        SetScheduleClock(nullptr);
        SetEnvironmentVariableA("TMP", savedTmp_.empty() ? nullptr : savedTmp_.c_str());
        AppState.Reset();
    }
    void ClearClipboard() {
        if (OpenClipboardPatiently(dialog->GetHandle())) {
            EmptyClipboard();
            CloseClipboard();
        }
    }
    std::string WriteWave(const std::string& name, uint32_t bytes) {
        const std::string path = folder / name;
        const WAVEFORMATEX format = PcmFormat(1, 8000, 8);
        WaveFile file(path.c_str(), &format, kCreate);
        EXPECT_TRUE(file.Open());
        const std::string data(bytes, 'a');
        EXPECT_EQ(file.Write(data.data(), bytes), static_cast<int32_t>(bytes));
        EXPECT_TRUE(file.Close());
        return path;
    }
    // A recording of that many bytes as the window's file, at position.
    void OpenRecording(uint32_t bytes, uint32_t position) {
        path = WriteWave("take.wav", bytes);
        dialog->CurrentFile = std::make_unique<WaveFile>(path.c_str(), nullptr, MMIO_READWRITE);
        ASSERT_TRUE(dialog->CurrentFile->Open());
        dialog->FileFormat.Assign(*dialog->CurrentFile->GetFormat());
        dialog->Position(position, true);
    }
    TCommandEnabler Ask(UINT id) {
        TCommandEnabler ce(id);
        Message m;
        m.hwnd = dialog->GetHandle();
        m.msg = WM_NULL;
        m.enabler = &ce;
        (void)dialog->Dispatch(m);
        return ce;
    }
    bool Enabled(UINT id) { return Ask(id).Enabled().value_or(false); }
    LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageA(dialog->GetHandle(), msg, wp, lp); }

    FakeUserInteraction ui;
    ScopedUi scopedUi{ui};
    FixedClock clock;
    FilesTestFolder folder;
    EditDialog* dialog = nullptr;
    std::unique_ptr<TFrameWindow> frame;
    std::string path;

private:
    std::string savedTmp_;
};

TEST_F(EditWindowTest, EnablersFollowTheFileTheMarkAndTheClipboard) {
    // No recording, nothing on the clipboard.
    EXPECT_FALSE(Enabled(CM_MARKSELECTION));
    EXPECT_FALSE(Enabled(CM_PASTEINSERT));
    EXPECT_TRUE(Enabled(CM_PASTEFROMFILE));
    // WAV audio on the clipboard: Paste Insert makes a temporary recording.
    const std::string clip = WriteWave("clip.wav", 1200);
    SilentProgress quiet;
    ASSERT_TRUE(PutFileOnClipboard(dialog->GetHandle(), clip, {"", "%d"}, quiet));
    EXPECT_TRUE(Enabled(CM_PASTEINSERT));
    Send(WM_COMMAND, CM_PASTEINSERT);
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_TRUE(dialog->CurrentFile->IsTemporary());
    EXPECT_EQ(FileNamePart(dialog->CurrentFile->GetPath()).substr(0, 5), "~rec_");
    EXPECT_EQ(dialog->CurrentFile->GetLength(), 1200u);
    dialog->CurrentFile->SetTemporary(false);

    OpenRecording(10000, 2000);
    EXPECT_FALSE(Enabled(CM_POSITION));  // no clock times in its segments
    Send(WM_COMMAND, CM_CUT);  // no mark: an accelerator cuts nothing
    EXPECT_EQ(dialog->CurrentFile->GetLength(), 10000u);
    dialog->CmMarkSelection();
    EXPECT_EQ(Ask(CM_MARKSELECTION).Check().value_or(0), 1);
    EXPECT_TRUE(Enabled(CM_CLEARMARK));
    EXPECT_FALSE(Enabled(CM_CUT));  // the mark is at the position
    EXPECT_FALSE(Enabled(CM_COPY));
    dialog->Position(6000, true);
    EXPECT_TRUE(Enabled(CM_CUT));
    EXPECT_TRUE(Enabled(CM_COPY));

    dialog->CurrentFile->SetReadOnly(true);
    EXPECT_FALSE(Enabled(CM_CUT));
    EXPECT_FALSE(Enabled(CM_PASTEINSERT));
    EXPECT_FALSE(Enabled(CM_PASTEFROMFILE));
    EXPECT_FALSE(Enabled(CM_INSERTANNOTATION));
    EXPECT_TRUE(Enabled(CM_MARKSELECTION));
    EXPECT_TRUE(Enabled(CM_COPY));
    EXPECT_TRUE(Enabled(CM_PASTETOFILE));
    // An accelerator that arrives anyway changes nothing.
    Send(WM_COMMAND, CM_CUT);
    EXPECT_EQ(dialog->CurrentFile->GetLength(), 10000u);

    // A Speex recording: nothing an edit would have to rebuild.
    dialog->CurrentFile = std::make_unique<SpeexLike>(path.c_str(), nullptr, MMIO_READWRITE);
    ASSERT_TRUE(dialog->CurrentFile->Open());
    dialog->MarkPosition = 0;
    dialog->Position(6000, true);
    EXPECT_FALSE(Enabled(CM_CUT));
    EXPECT_FALSE(Enabled(CM_COPY));
    EXPECT_FALSE(Enabled(CM_PASTEINSERT));
    EXPECT_FALSE(Enabled(CM_PASTEFROMFILE));

    // While an edit runs every command is grayed, whatever its state.
    EditBusyScope editing;
    EXPECT_FALSE(Enabled(CM_CUT));
    EXPECT_FALSE(Enabled(CM_OPEN));
    EXPECT_FALSE(Enabled(CM_PASTEFROMFILE));
}

TEST_F(EditWindowTest, TheSliderShowsTheSelectionBetweenMarkAndThumb) {
    OpenRecording(10000, 0);
    HWND slider = dialog->PositionSlider();
    dialog->CmMarkSelection();
    dialog->Position(10000, true);
    LONG_PTR style = GetWindowLongPtrA(slider, GWL_STYLE);
    EXPECT_TRUE(style & TBS_ENABLESELRANGE);
    EXPECT_FALSE(style & TBS_NOTICKS);
    EXPECT_EQ(SendMessageA(slider, TBM_GETSELSTART, 0, 0), 0);
    EXPECT_EQ(SendMessageA(slider, TBM_GETSELEND, 0, 0), 1000);
    dialog->CmClearMark();
    style = GetWindowLongPtrA(slider, GWL_STYLE);
    EXPECT_FALSE(style & TBS_ENABLESELRANGE);
    EXPECT_TRUE(style & TBS_NOTICKS);
    EXPECT_EQ(SendMessageA(slider, TBM_GETSELEND, 0, 0), 0);
    // A mark on a file that became empty goes with the selection.
    dialog->CmMarkSelection();
    dialog->CurrentFile->SetDataLength(0);
    dialog->SetSliderRange();
    EXPECT_EQ(dialog->MarkPosition, kNoPosition);
    EXPECT_FALSE(dialog->SelRangeShown);
}

// A scheduled stop that ends the event's file would drop the recording
// under the running cut: it is kept until the cut has ended, and then runs
// on the finished file. Requests, commands and closes meanwhile
// are kept or refused.
TEST_F(EditWindowTest, WhatArrivesDuringACutWaitsOrIsRefused) {
    AppState.UseWinClip = false;
    TimerEvent event = Event(kEveryDay, -1, 0, 14, 0, true);
    AppState.Events.Add(&event);
    AppState.TimerEnable = true;
    OpenRecording(10000, 2000);
    dialog->MarkPosition = 8000;
    RecFile* during = nullptr;
    bool closable = true;
    dialog->duringEdit = [&] {
        Send(WM_TIMER, TIMER_SCHEDULER);
        Send(WM_STOPTRANSPORT);
        Send(WM_COMMAND, CM_NEWWAVEFILE);
        Send(WM_CLOSE);
        closable = closable && dialog->CanClose();
        during = dialog->CurrentFile.get();
    };
    Send(WM_COMMAND, CM_CUT);
    dialog->duringEdit = nullptr;
    EXPECT_NE(during, nullptr);
    EXPECT_FALSE(closable);
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_EQ(dialog->CurrentFile->GetLength(), 4000u);
    EXPECT_EQ(dialog->CurrentFile->GetPosition(), 2000u);
    EXPECT_EQ(dialog->MarkPosition, kNoPosition);
    EXPECT_TRUE(SamePath(dialog->CurrentFile->GetPath(), path));
    // The kept request comes back once the cut is over.
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, dialog->GetHandle(), WM_STOPTRANSPORT, WM_STOPTRANSPORT, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, dialog->GetHandle(), WM_LATESCHEDULE, WM_LATESCHEDULE, PM_REMOVE));
    DispatchMessageA(&msg);  // the stop kept during the cut
    EXPECT_FALSE(dialog->CurrentFile);
    WaveFile check(path.c_str(), nullptr, MMIO_READ);
    ASSERT_TRUE(check.Open());
    EXPECT_EQ(check.GetLength(), 4000u);
    EXPECT_TRUE(IsWindow(dialog->GetHandle()));
}

TEST_F(EditWindowTest, PasteFromFileAsksForAnExistingFileAndInsertsIt) {
    OpenRecording(3000, 1000);
    const std::string other = WriteWave("other.wav", 500);
    ui.fileDialogAnswers.push_back(other);
    Send(WM_COMMAND, CM_PASTEFROMFILE);
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_FALSE(ui.fileDialogs[0].save);
    EXPECT_TRUE(ui.fileDialogs[0].flags & OFN_FILEMUSTEXIST);
    EXPECT_EQ(ui.fileDialogs[0].defaultExt, "wav");
    EXPECT_EQ(dialog->CurrentFile->GetLength(), 3500u);
    EXPECT_TRUE(SamePath(dialog->CurrentFile->GetPath(), path));
    EXPECT_TRUE(FileExists(other));
}

// The recording itself cannot be pasted into itself: the user is told so,
// as when Paste to File is pointed at a file the recorder has open.
TEST_F(EditWindowTest, PasteFromFileOfTheRecordingItselfIsRefusedWithAMessage) {
    OpenRecording(3000, 1000);
    ui.fileDialogAnswers.push_back(path);
    Send(WM_COMMAND, CM_PASTEFROMFILE);
    ASSERT_EQ(ui.messageBoxes.size(), 1u);
    EXPECT_EQ(ui.messageBoxes[0].text, SMsg::TextOf(IDS_PASTETOFILEFAILED));
    EXPECT_EQ(dialog->CurrentFile->GetLength(), 3000u);
}

// Another program holds the recording open: nothing may take its name.
class HeldRecording : public FileSystem {
public:
    explicit HeldRecording(std::string held) : held_(std::move(held)) {}
    bool Rename(const std::string& from, const std::string& to) override {
        return !SamePath(to, held_) && real_.Rename(from, to);
    }
    bool Replace(const std::string& from, const std::string& to) override {
        return !SamePath(to, held_) && real_.Replace(from, to);
    }
    bool Delete(const std::string& name) override { return real_.Delete(name); }

private:
    std::string held_;
    FileSystem& real_ = Files();
};

// A cut whose new file cannot take the recording's name leaves the recording
// whole under it, current, and no scratch file beside it.
TEST_F(EditWindowTest, ACutThatCannotReplaceTheRecordingLeavesItWhole) {
    OpenRecording(10000, 2000);
    dialog->MarkPosition = 8000;
    HeldRecording files(path);
    SetFiles(&files);
    Send(WM_COMMAND, CM_CUT);
    SetFiles(nullptr);
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_TRUE(SamePath(dialog->CurrentFile->GetPath(), path));
    EXPECT_EQ(dialog->CurrentFile->GetLength(), 10000u);
    dialog->CurrentFile.reset();
    WaveFile check(path.c_str(), nullptr, MMIO_READ);
    ASSERT_TRUE(check.Open());
    EXPECT_EQ(check.GetLength(), 10000u);
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder / "~*_take.wav").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

std::vector<std::string> rootsAsked;
BOOL WINAPI PlentyOfRoom(LPCSTR root, PULARGE_INTEGER available, PULARGE_INTEGER total, PULARGE_INTEGER free) {
    rootsAsked.push_back(root);
    available->QuadPart = total->QuadPart = free->QuadPart = 1ull << 30;
    return TRUE;
}

// A paste builds its new file beside the recording: the room it asks for is
// on the recording's drive, whatever the default folder's is.
TEST_F(EditWindowTest, APasteAsksForRoomOnTheRecordingsDrive) {
    OpenRecording(3000, 1000);
    const std::string other = WriteWave("other.wav", 500);
    CopyTextField(AppState.DefaultDirectory, "Q:\\elsewhere");
    dialog->DiskFreeSpaceEx = PlentyOfRoom;
    rootsAsked.clear();
    ui.fileDialogAnswers.push_back(other);
    Send(WM_COMMAND, CM_PASTEFROMFILE);
    EXPECT_EQ(dialog->CurrentFile->GetLength(), 3500u);
    EXPECT_EQ(rootsAsked, std::vector<std::string>{path.substr(0, 2) + "\\"});
}

}  // namespace
