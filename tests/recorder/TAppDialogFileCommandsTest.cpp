// The recorder window's file and clipboard commands on real files and the
// real clipboard: dropped files, the fresh-file test on a set clock, Open
// with the read-only box, the log command, Paste to File in both clipboard
// modes, the disk-space refusal, and the new-file commands.
#include "recorder/window/TAppDialog.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "audiofile/FileNames.h"
#include "core/AppState.h"
#include "framework/FrameWindow.h"
#include "recorder/clipboard/ClipboardExchange.h"
#include "recorder/files/FileFactory.h"
#include "recorder/files/FileNaming.h"
#include "tests/fakes/FakeAcm.h"
#include "tests/fakes/FakeMixer.h"
#include "tests/fakes/FakeWaveDevices.h"
#include "tests/fakes/FakeUserInteraction.h"
#include "tests/recorder/FilesTestFolder.h"
#include "framework/Clipboard.h"

namespace {

// A progress that lets that many steps go, then cancels (-1: never).
class CancellingProgress : public SilentProgress {
public:
    explicit CancellingProgress(int steps) : steps_(steps) {}
    bool Step(int) override { return steps_ < 0 || steps_-- > 0; }

private:
    int steps_;
};

class CommandsDialog : public TAppDialog {
public:
    using TAppDialog::TAppDialog;
    int64_t now = 0;
    int stepsBeforeCancel = -1;

protected:
    bool ArmTimer(UINT_PTR, UINT) override { return true; }
    void DisarmTimer(UINT_PTR) override {}
    int64_t CurrentUnixSeconds() const override { return now; }
    std::unique_ptr<TransferProgress> MakeTransferProgress() override {
        return std::make_unique<CancellingProgress>(stepsBeforeCancel);
    }
};

std::vector<char> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A drop of these names, as the shell hands it over (ANSI, double-null ended).
HDROP MakeDrop(const std::vector<std::string>& names) {
    size_t bytes = sizeof(DROPFILES) + 1;
    for (const auto& name : names) bytes += name.size() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    char* at = reinterpret_cast<char*>(drop) + sizeof(DROPFILES);
    for (const auto& name : names) {
        std::memcpy(at, name.c_str(), name.size() + 1);
        at += name.size() + 1;
    }
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

BOOL WINAPI NoRoom(LPCSTR, PULARGE_INTEGER available, PULARGE_INTEGER total, PULARGE_INTEGER free) {
    available->QuadPart = 1000;
    total->QuadPart = 1u << 30;
    free->QuadPart = 1000;
    return TRUE;
}

class TAppDialogFileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppState.Reset();
        AppState.UseWinClip = true;
        SetAcm(&acm);
        CopyTextField(AppState.DefaultDirectory, folder.Path().c_str());
        AppState.SampleRate = 8000;
        AppState.Resolution = true;
        auto client = std::make_unique<CommandsDialog>(nullptr);
        dialog = client.get();
        frame = std::make_unique<TFrameWindow>(nullptr, "recorder test", std::move(client), true);
        ASSERT_TRUE(frame->Create());
        ClearClipboard();
    }
    void TearDown() override {
        PasteBuffer.reset();
        ClearClipboard();
        dialog->CurrentFile.reset();
        frame.reset();
        SetAcm(nullptr);
        AppState.Reset();
    }
    void ClearClipboard() {
        ASSERT_TRUE(OpenClipboardPatiently(nullptr));
        EmptyClipboard();
        CloseClipboard();
    }
    // A named WAV recording holding bytes of audio, closed.
    std::string MakeRecording(const std::string& name, uint32_t bytes) {
        const std::string path = folder / name;
        WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 8000, 16000, 2, 16, 0};
        auto file = CreateFileObject(path.c_str(), &format, MMIO_CREATE | MMIO_READWRITE, ftWav);
        const std::vector<char> audio(bytes, 3);
        if (!file || (bytes && file->Write(audio.data(), bytes) != static_cast<int32_t>(bytes)))
            ADD_FAILURE() << "cannot make " << path;
        return path;
    }
    using Enabler = void (TAppDialog::*)(TCommandEnabler&);
    bool Enabled(Enabler enabler) {
        TCommandEnabler ce(0);
        (dialog->*enabler)(ce);
        return ce.Enabled().value_or(false);
    }
    FilesTestFolder folder;
    FakeAcm acm;
    FakeUserInteraction ui;
    ScopedUi scopedUi{ui};
    CommandsDialog* dialog = nullptr;
    std::unique_ptr<TFrameWindow> frame;
};

TEST_F(TAppDialogFileCommandsTest, DropOpensOnlyTheFirstFile) {
    const std::string first = MakeRecording("first.wav", 0);
    const std::string second = MakeRecording("second.wav", 800);
    SendMessageA(dialog->GetHandle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({first, second})), 0);
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_EQ(dialog->CurrentFile->GetPath(), first);
    EXPECT_EQ(frame->GetCaption(), "first.wav Larkspur-PRO");
    EXPECT_EQ(SendMessageA(dialog->GetHandle(), WM_DEVICECHANGE, 7, 0), TRUE);
}

TEST_F(TAppDialogFileCommandsTest, FreshMeansNamedEmptyAndUnderThreeSecondsOld) {
    EXPECT_FALSE(dialog->IsFreshFile());  // no file
    dialog->OpenFile((folder / "new.wav").c_str());
    ASSERT_TRUE(dialog->CurrentFile);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExA((folder / "new.wav").c_str(), GetFileExInfoStandard, &data));
    const int64_t created = TAppDialog::FileTimeToUnixSeconds(data.ftCreationTime);
    const struct {
        int64_t age;
        bool fresh;
    } cases[] = {{0, true}, {2, true}, {3, false}, {60, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.age);
        dialog->now = created + c.age;
        EXPECT_EQ(dialog->IsFreshFile(), c.fresh);
    }
    dialog->now = created;
    dialog->CurrentFile->SetTemporary(true);
    EXPECT_FALSE(dialog->IsFreshFile());
    dialog->CurrentFile->SetTemporary(false);
    const char audio[4] = {};
    ASSERT_EQ(dialog->CurrentFile->Write(audio, 4), 4);
    EXPECT_FALSE(dialog->IsFreshFile());
}

TEST_F(TAppDialogFileCommandsTest, FileTimesCountFrom1970) {
    const struct {
        uint64_t ticks;
        int64_t seconds;
    } cases[] = {{116444736000000000ull, 0},
                 {116444736000000000ull + 9999999, 0},
                 {116444736000000000ull + 86400ull * 10000000, 86400},
                 {116444736000000000ull + 4102444800ull * 10000000, 4102444800ll}};  // 2100
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ticks);
        FILETIME time{static_cast<DWORD>(c.ticks), static_cast<DWORD>(c.ticks >> 32)};
        EXPECT_EQ(TAppDialog::FileTimeToUnixSeconds(time), c.seconds);
    }
}

TEST_F(TAppDialogFileCommandsTest, OpenReadOnlyShowsRAndRefusesSaving) {
    const std::string path = MakeRecording("talk.wav", 1600);
    ui.fileDialogAnswers = {path};
    ui.answerReadOnly = true;
    dialog->CmOpen();
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_FALSE(ui.fileDialogs[0].save);
    EXPECT_EQ(ui.fileDialogs[0].initialDir, "");
    EXPECT_EQ(ui.fileDialogs[0].filter, TAppDialog::kOpenFilter);
    EXPECT_FALSE(ui.fileDialogs[0].flags & OFN_HIDEREADONLY);
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_TRUE(dialog->CurrentFile->IsReadOnly());
    EXPECT_EQ(frame->GetCaption(), "talk.wav R Larkspur-PRO");
    EXPECT_FALSE(Enabled(&TAppDialog::CeSave));  // Save and Save As

    ui.fileDialogAnswers = {path};
    ui.answerReadOnly = false;
    dialog->CmOpen();
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_FALSE(dialog->CurrentFile->IsReadOnly());
    EXPECT_TRUE(Enabled(&TAppDialog::CeSave));

    // The old file is saved and let go before the dialog; cancelling it
    // leaves the recording on disk.
    ui.fileDialogAnswers = {std::nullopt};
    dialog->CmOpen();
    EXPECT_FALSE(dialog->CurrentFile);
    EXPECT_GT(FileSize(path), 1600u);
}

TEST_F(TAppDialogFileCommandsTest, LogOpensInNotepad) {
    CopyTextField(AppState.LogPath, "C:\\Program Data\\Larkspur-PRO.log");
    dialog->CmLogFile();
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    ASSERT_EQ(ui.launches.size(), 1u);
    EXPECT_EQ(ui.launches[0].first,
              std::string(windows) + "\\notepad.exe \"C:\\Program Data\\Larkspur-PRO.log\"");
    EXPECT_EQ(ui.launches[0].second, SW_SHOW);
}

TEST_F(TAppDialogFileCommandsTest, PasteToFileSavesTheClipboardUnderTheChosenName) {
    EXPECT_FALSE(Enabled(&TAppDialog::CePasteToFile));
    const std::string source = MakeRecording("source.wav", 3000);
    ASSERT_TRUE(dialog->FileToClipboard(source.c_str()));
    EXPECT_TRUE(Enabled(&TAppDialog::CePasteToFile));
    ui.fileDialogAnswers = {folder / "pasted.wav"};
    dialog->CmPasteToFile();
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_TRUE(ui.fileDialogs[0].save);
    EXPECT_EQ(ui.fileDialogs[0].filter, "Wave file (*.wav)|*.wav|");
    EXPECT_EQ(ui.fileDialogs[0].defaultExt, "wav");
    EXPECT_EQ(ui.fileDialogs[0].initialDir, folder.Path());
    EXPECT_EQ(ui.fileDialogs[0].flags, static_cast<DWORD>(OFN_EXPLORER | OFN_OVERWRITEPROMPT));
    EXPECT_EQ(ReadBytes(folder / "pasted.wav"), ReadBytes(source));
    EXPECT_EQ(frame->GetCaption(), "Larkspur-PRO");

    // A WAV recording asks for WAV audio; only MP3 audio is there.
    dialog->OpenFile(MakeRecording("talk.wav", 100).c_str());
    ASSERT_TRUE(dialog->CurrentFile);
    ui.fileDialogs.clear();
    ui.fileDialogAnswers = {folder / "cancelled.wav"};
    ASSERT_TRUE(FilesTestFolder::WriteFile(folder / "a.mp3", 64));
    ASSERT_TRUE(dialog->FileToClipboard((folder / "a.mp3").c_str()));
    dialog->CmPasteToFile();
    EXPECT_TRUE(ui.fileDialogs.empty());
}

// What is pasted is what the clipboard held when Paste to File was asked
// for: while the save dialog is open another program may replace it or
// empty it. Neither a cancelled dialog nor a take cancelled in its progress
// (which then asks for no name) leaves anything in the temp folder.
TEST_F(TAppDialogFileCommandsTest, PasteToFileSavesWhatTheClipboardHeldWhenAsked) {
    const std::string source = MakeRecording("source.wav", 3000);
    const std::string other = MakeRecording("other.wav", 5000);
    std::string temp;
    ASSERT_TRUE(GetTempDirectory(temp));
    const auto tempFiles = [&temp] {
        size_t count = 0;
        WIN32_FIND_DATAA found;
        const HANDLE search = FindFirstFileA((temp + "\\*").c_str(), &found);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
            ++count;
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
        return count;
    };
    const size_t tempBefore = tempFiles();
    const struct {
        const char* target;
        std::function<void()> meanwhile;
    } cases[] = {
        {"replaced.wav", [&] { ASSERT_TRUE(dialog->FileToClipboard(other.c_str())); }},
        {"emptied.wav", [&] { ClearClipboard(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        ASSERT_TRUE(dialog->FileToClipboard(source.c_str()));
        ui.messageBoxes.clear();
        ui.whileOpen = {c.meanwhile};
        ui.fileDialogAnswers = {folder / c.target};
        dialog->CmPasteToFile();
        EXPECT_EQ(ReadBytes(folder / c.target), ReadBytes(source));
        EXPECT_TRUE(ui.messageBoxes.empty());
    }
    ASSERT_TRUE(dialog->FileToClipboard(source.c_str()));
    ui.fileDialogAnswers = {std::nullopt};
    dialog->CmPasteToFile();
    ui.fileDialogs.clear();
    dialog->stepsBeforeCancel = 0;
    dialog->CmPasteToFile();
    EXPECT_TRUE(ui.fileDialogs.empty());
    EXPECT_TRUE(ui.messageBoxes.empty());
    EXPECT_EQ(tempFiles(), tempBefore);
}

TEST_F(TAppDialogFileCommandsTest, PasteToFileUnderThePrivateClipboardSavesThePasteBuffer) {
    SendMessageA(dialog->GetHandle(), WM_COMMAND, CM_PRIVATECLIPBOARD, 0);  // checked: private
    EXPECT_FALSE(AppState.UseWinClip);
    TCommandEnabler check(CM_PRIVATECLIPBOARD);
    dialog->CePrivateClipboard(check);
    EXPECT_EQ(check.Check(), std::optional<int>(1));
    EXPECT_FALSE(Enabled(&TAppDialog::CePasteToFile));
    dialog->CmPasteToFile();
    EXPECT_TRUE(ui.fileDialogs.empty());
    const std::string buffer = MakeRecording("~rec_7.wav", 2000);
    PasteBuffer = CreateFileObject(buffer.c_str(), nullptr, MMIO_READWRITE, ftWav);
    ASSERT_TRUE(PasteBuffer && PasteBuffer->IsOpen());
    PasteBuffer->SetTemporary(true);
    EXPECT_TRUE(Enabled(&TAppDialog::CePasteToFile));
    ui.fileDialogAnswers = {folder / "kept.wav"};
    dialog->CmPasteToFile();
    EXPECT_EQ(ReadBytes(folder / "kept.wav"), ReadBytes(buffer));
    EXPECT_TRUE(PasteBuffer->IsOpen());
}

// Paste to File that cannot finish says so and leaves no half-written
// file, under either clipboard; a cancelled transfer needs no message.
TEST_F(TAppDialogFileCommandsTest, PasteToFileReportsFailuresAndLeavesNoPartialFile) {
    const std::string source = MakeRecording("source.wav", 700000);  // more than one chunk
    ASSERT_TRUE(dialog->FileToClipboard(source.c_str()));
    PasteBuffer = CreateFileObject(MakeRecording("~rec_7.wav", 2000).c_str(), nullptr, MMIO_READWRITE, ftWav);
    ASSERT_TRUE(PasteBuffer && PasteBuffer->IsOpen());
    const std::string noRoom = "Not enough disk space for this operation";
    const std::string notWritten = SMsg::TextOf(IDS_PASTETOFILEFAILED);
    const struct {
        bool windowsClipboard;
        bool full;
        int stepsBeforeCancel;
        std::string target;
        std::string message;  // empty: none
    } cases[] = {
        {true, true, -1, folder / "full.wav", noRoom},
        {true, false, -1, folder / "no such folder\\x.wav", notWritten},
        {true, false, 1, folder / "part.wav", ""},
        {false, true, -1, folder / "full.wav", noRoom},
        {false, false, -1, folder / "no such folder\\x.wav", notWritten},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        AppState.UseWinClip = c.windowsClipboard;
        dialog->DiskFreeSpaceEx = c.full ? &NoRoom : nullptr;
        dialog->stepsBeforeCancel = c.stepsBeforeCancel;
        ui.messageBoxes.clear();
        dialog->PasteToFile(c.target.c_str());
        EXPECT_FALSE(PathExists(c.target));
        if (c.message.empty()) {
            EXPECT_TRUE(ui.messageBoxes.empty());
        } else {
            ASSERT_EQ(ui.messageBoxes.size(), 1u);
            EXPECT_EQ(ui.messageBoxes[0].text, c.message);
            EXPECT_EQ(ui.messageBoxes[0].caption, "Larkspur-PRO");
        }
        EXPECT_TRUE(PasteBuffer->IsOpen());
    }

    // Never over a file the recorder has open: its object would write its
    // own idea of the file back over the pasted audio.
    AppState.UseWinClip = true;
    dialog->DiskFreeSpaceEx = nullptr;
    dialog->stepsBeforeCancel = -1;
    const std::string talk = MakeRecording("talk.wav", 100);
    dialog->OpenFile(talk.c_str());
    ASSERT_TRUE(dialog->CurrentFile);
    const std::vector<char> before = ReadBytes(talk);
    ui.messageBoxes.clear();
    dialog->PasteToFile(talk.c_str());
    EXPECT_EQ(ReadBytes(talk), before);
    ASSERT_EQ(ui.messageBoxes.size(), 1u);
    EXPECT_EQ(ui.messageBoxes[0].text, notWritten);
}

TEST_F(TAppDialogFileCommandsTest, ClipboardToFileRefusesWithoutRoom) {
    const std::string source = MakeRecording("source.wav", 3000);
    ASSERT_TRUE(dialog->FileToClipboard(source.c_str()));
    EXPECT_TRUE(dialog->ClipboardToFile((folder / "copy.wav").c_str()));
    EXPECT_EQ(ReadBytes(folder / "copy.wav"), ReadBytes(source));

    dialog->DiskFreeSpaceEx = &NoRoom;
    EXPECT_FALSE(dialog->ClipboardToFile((folder / "full.wav").c_str()));
    EXPECT_FALSE(PathExists(folder / "full.wav"));
    ASSERT_EQ(ui.messageBoxes.size(), 1u);
    EXPECT_EQ(ui.messageBoxes[0].text, "Not enough disk space for this operation");
    EXPECT_EQ(ui.messageBoxes[0].caption, "Larkspur-PRO");
    EXPECT_EQ(ui.messageBoxes[0].flags, static_cast<UINT>(MB_ICONHAND));
}

TEST_F(TAppDialogFileCommandsTest, NewFileCommandsAskAboutTheOldRecording) {
    dialog->OpenFile(nullptr);
    ASSERT_TRUE(dialog->CurrentFile);
    const char audio[100] = {};
    ASSERT_EQ(dialog->CurrentFile->Write(audio, 100), 100);
    const std::string old = dialog->CurrentFile->GetPath();
    ui.messageBoxAnswers = {IDCANCEL};
    dialog->CmNewWaveFile();
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_EQ(dialog->CurrentFile->GetPath(), old);
    ASSERT_EQ(ui.messageBoxes.size(), 1u);
    EXPECT_EQ(ui.messageBoxes[0].text, "Do you want to save?");

    ui.messageBoxAnswers = {IDNO};
    dialog->CmNewDefaultFile();
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_EQ(dialog->CurrentFile->GetFileType(), ftWav);
    EXPECT_TRUE(dialog->CurrentFile->IsTemporary());
    EXPECT_EQ(dialog->CurrentFile->GetDataLength(), 0u);  // "No" let the old recording go
}

TEST_F(TAppDialogFileCommandsTest, SourceCommandsSelectOnTheInputMixer) {
    FakeMixer mixer(MIXERCONTROL_CONTROLTYPE_MUX, {{"Line In", MIXERLINE_COMPONENTTYPE_SRC_LINE},
                                                   {"Microphone", MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE},
                                                   {"CD Player", MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC}});
    FakeWaveDevices waves;
    SetMixers(&mixer);
    SetWaves(&waves);
    const auto send = [&](UINT command) { SendMessageA(dialog->GetHandle(), WM_COMMAND, command, 0); };
    send(CM_MICROPHONE);
    EXPECT_EQ(mixer.SelectedItems(), std::vector<std::string>{"Microphone"});
    send(CM_LINEIN);
    EXPECT_EQ(mixer.SelectedItems(), std::vector<std::string>{"Line In"});
    send(CM_INPUTSOURCEFIRST + 2);  // no menu item carries it: nothing changes
    EXPECT_EQ(mixer.SelectedItems(), std::vector<std::string>{"Line In"});
    HMENU menu = CreateMenu();
    AppendMenuA(menu, MF_STRING, CM_INPUTSOURCEFIRST + 2, "CD Player");
    SetMenu(frame->GetHandle(), menu);
    send(CM_INPUTSOURCEFIRST + 2);
    EXPECT_EQ(mixer.SelectedItems(), std::vector<std::string>{"CD Player"});
    EXPECT_EQ(mixer.OpenMixers(), 0);  // released every time
    SetMenu(frame->GetHandle(), nullptr);
    DestroyMenu(menu);
    SetWaves(nullptr);
    SetMixers(nullptr);
}

}  // namespace
