// The recorder window's files on real files in a scratch folder: naming and
// opening, the codec test with the fake codec manager, saving and closing
// with scripted answers, Save As by rename and by copy, the window caption.
#include "recorder/window/TAppDialog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <deque>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "core/AppState.h"
#include "audiofile/FileSystem.h"
#include "audiofile/Mp3File.h"
#include "audiofile/WaveFile.h"
#include "framework/FrameWindow.h"
#include "recorder/files/FileNaming.h"
#include "tests/fakes/FakeAcm.h"
#include "tests/audiofile/WithoutMp3Encoder.h"
#include "tests/fakes/FakeUserInteraction.h"
#include "tests/recorder/FilesTestFolder.h"

namespace {

class FilesDialog : public TAppDialog {
public:
    using TAppDialog::TAppDialog;
    std::deque<std::string> categoryAnswers;  // "" = Cancel
    int cancelCopyAt = -1;                    // the call that cancels; -1 = never
    bool windowProgress = false;              // the window's own progress dialog
    std::vector<int> copyPercents;

protected:
    bool ArmTimer(UINT_PTR, UINT) override { return true; }
    void DisarmTimer(UINT_PTR) override {}
    bool AskCategory(std::string& category) override {
        const std::string answer = categoryAnswers.empty() ? "" : categoryAnswers.front();
        if (!categoryAnswers.empty()) categoryAnswers.pop_front();
        category = answer;
        return !answer.empty();
    }
    bool ReportCopyProgress(int percent) override {
        if (windowProgress) return TAppDialog::ReportCopyProgress(percent);
        copyPercents.push_back(percent);
        return static_cast<int>(copyPercents.size()) - 1 != cancelCopyAt;
    }
};

class TAppDialogFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppState.Reset();
        SetAcm(&acm);
        SetNamingClock(&clock);
        CopyTextField(AppState.DefaultDirectory, folder.Path().c_str());
        AppState.SampleRate = 44100;
        AppState.Stereo = true;
        AppState.Resolution = true;
        auto client = std::make_unique<FilesDialog>(nullptr);
        dialog = client.get();
        frame = std::make_unique<TFrameWindow>(nullptr, "recorder test", std::move(client), true);
        ASSERT_TRUE(frame->Create());
    }
    void TearDown() override {
        dialog->CurrentFile.reset();
        Mp3File::EnableTag(true);
        frame.reset();
        SetNamingClock(nullptr);
        SetAcm(nullptr);
        AppState.Reset();
    }
    // A new recording holding bytes of audio.
    void Record(uint32_t bytes) {
        dialog->OpenFile(nullptr);
        ASSERT_TRUE(dialog->CurrentFile);
        const std::vector<char> audio(bytes, 1);
        ASSERT_EQ(dialog->CurrentFile->Write(audio.data(), bytes), static_cast<int32_t>(bytes));
    }
    std::string Caption() const { return frame->GetCaption(); }
    std::string Text(int id) const { return dialog->GetItemText(id); }

    FilesTestFolder folder;
    FakeAcm acm;
    FakeUserInteraction ui;
    ScopedUi scopedUi{ui};
    class Clock : public NamingClock {
        std::tm LocalNow() const override { return SampleLocalTime(); }
    } clock;
    FilesDialog* dialog = nullptr;
    std::unique_ptr<TFrameWindow> frame;
};

TEST_F(TAppDialogFilesTest, NewRecordingsAreNamedAndShown) {
    dialog->OpenFile(nullptr);
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_EQ(dialog->CurrentFile->GetPath(), folder / "~rec_1.wav");
    EXPECT_TRUE(dialog->CurrentFile->IsTemporary());
    EXPECT_EQ(Caption(), "[~rec_1.wav] Larkspur-PRO");
    EXPECT_EQ(Text(IDC_FORMATTEXT), "44kHz 16 bit ST 1411kbps");
    EXPECT_EQ(Text(IDC_CODECTEXT), "PCM    ");

    AppState.AutoName = true;
    CopyTextField(AppState.ImprovedFilePrefix, "%Y%m%d");
    dialog->OpenFile(nullptr, 0);  // the empty temporary file goes without a question
    EXPECT_FALSE(PathExists(folder / "~rec_1.wav"));
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_EQ(dialog->CurrentFile->GetPath(), folder / "20260307_1.wav");
    EXPECT_FALSE(dialog->CurrentFile->IsTemporary());
    EXPECT_EQ(Caption(), "20260307_1.wav Larkspur-PRO");
    EXPECT_TRUE(ui.messageBoxes.empty());
}

TEST_F(TAppDialogFilesTest, FilesThatCannotOpenNameThemselves) {
    ASSERT_TRUE(FilesTestFolder::WriteFile(folder / "empty.wav"));
    const struct {
        std::string path;
        const char* start;
    } cases[] = {
        {folder / "empty.wav", "Cannot read audio format for this file.\n   "},
        {folder / "talk.OGA", "Can't open file \n\t"},  // Ogg Vorbis has no file class yet
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        ui.messageBoxes.clear();
        dialog->OpenFile(c.path.c_str());
        EXPECT_FALSE(dialog->CurrentFile);
        ASSERT_EQ(ui.messageBoxes.size(), 1u);
        EXPECT_EQ(ui.messageBoxes[0].text.rfind(c.start, 0), 0u) << ui.messageBoxes[0].text;
        EXPECT_NE(ui.messageBoxes[0].text.find(c.path), std::string::npos);
        EXPECT_EQ(Caption(), "Larkspur-PRO");
        EXPECT_EQ(Text(IDC_FORMATTEXT), "");
    }
}

TEST_F(TAppDialogFilesTest, CompressedWaveNeedsItsCodec) {
    CopyTextField(AppState.ACMDriver, "IMA ADPCM");
    AppState.ACMFormatTag = WAVE_FORMAT_IMA_ADPCM;
    const WaveFormatBuffer ima(*FakeAcm::ImaAdpcmFormat(2, 44100).format.Get());
    std::memcpy(AppState.WaveFormat.bytes, ima.Get(), ima.Bytes());
    const struct {
        AcmCall failing;
        const char* message;  // null: opens
    } cases[] = {
        {AcmCall::FormatTagDetails,
         "This compressed sound format may not be available on this computer.\n(acmopen formattagdetails)"},
        {AcmCall::StreamOpen, "Cannot open this file using Audio Compression for Windows."},
        {AcmCall::Metrics, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.failing));
        ui.messageBoxes.clear();
        if (c.message) acm.Fail(c.failing, MMSYSERR_ERROR);
        dialog->OpenFile(nullptr);
        acm.Fail(c.failing, MMSYSERR_NOERROR, 0);
        EXPECT_EQ(dialog->CurrentFile != nullptr, c.message == nullptr);
        if (c.message) {
            ASSERT_EQ(ui.messageBoxes.size(), 1u);
            EXPECT_EQ(ui.messageBoxes[0].text.rfind(c.message, 0), 0u);
            EXPECT_FALSE(PathExists(folder / "~rec_1.wav"));
        } else {
            EXPECT_TRUE(ui.messageBoxes.empty());
            EXPECT_EQ(dialog->FileFormat->wFormatTag, WAVE_FORMAT_IMA_ADPCM);
            EXPECT_EQ(Text(IDC_CODECTEXT), "IMA ADPCM");
        }
        EXPECT_EQ(acm.OpenStreams(), 0);
    }
}

TEST_F(TAppDialogFilesTest, Mp3WithoutAnEncoderOpensForPlaying) {
    const std::string path = folder / "talk.mp3";
    ASSERT_TRUE(FilesTestFolder::WriteMp3Frames(path));
    WithoutMp3Encoder noEncoder;
    {
        Mp3File probe(path.c_str(), nullptr, MMIO_READ);
        ASSERT_TRUE(probe.Open()) << probe.GetError();
        ASSERT_FALSE(probe.CanEncode());
        acm.drivers.push_back(FakeAcm::Mp3Driver());
        acm.drivers.back().tags[0].formats.push_back({WaveFormatBuffer(*probe.GetFormat()), "the file's"});
    }
    dialog->OpenFile(path.c_str());
    ASSERT_TRUE(dialog->CurrentFile) << (ui.messageBoxes.empty() ? "" : ui.messageBoxes[0].text);
    EXPECT_TRUE(ui.messageBoxes.empty());
    EXPECT_EQ(dialog->CurrentFile->GetFileType(), ftMp3);
    EXPECT_EQ(acm.lastStreamSource->wFormatTag, WAVE_FORMAT_MPEGLAYER3) << "a decoding stream, not an encoding one";
    EXPECT_EQ(acm.OpenStreams(), 0);
    dialog->CurrentFile.reset();
    ASSERT_TRUE(noEncoder.Restore());
    if (noEncoder.RemovedOne()) {
        Mp3File again(path.c_str(), nullptr, MMIO_READ);
        ASSERT_TRUE(again.Open());
        EXPECT_TRUE(again.CanEncode()) << "the encoder is back for the tests after this one";
    }
}

TEST_F(TAppDialogFilesTest, ClosingAsksOnlyForTemporaryAudioWithoutAutoNaming) {
    const struct {
        const char* what;
        bool autoName;
        uint32_t bytes;
        std::vector<int> answers;             // "Do you want to save?"
        std::optional<std::string> saveAs;   // the Save As dialog
        bool canClose;
        bool asked;
        const char* kept;                    // the file left on disk, or null
    } cases[] = {
        {"empty", false, 0, {}, std::nullopt, true, false, nullptr},
        {"no", false, 10, {IDNO}, std::nullopt, true, true, nullptr},
        {"cancel", false, 10, {IDCANCEL}, std::nullopt, false, true, "~rec_1.wav"},
        {"yes, named", false, 10, {IDYES}, std::string("talk.wav"), true, true, "talk.wav"},
        {"yes, Save As cancelled", false, 10, {IDYES}, std::nullopt, true, true, "~rec_1.wav"},
        {"auto naming", true, 10, {}, std::nullopt, true, false, "~rec_1.wav"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AppState.AutoName = c.autoName;
        ui.messageBoxes.clear();
        ui.messageBoxAnswers.assign(c.answers.begin(), c.answers.end());
        ui.fileDialogAnswers = {c.saveAs ? std::optional<std::string>(folder / *c.saveAs) : std::nullopt};
        AppState.AutoName = false;
        Record(c.bytes);
        AppState.AutoName = c.autoName;
        EXPECT_EQ(dialog->FileCanClose(), c.canClose);
        EXPECT_EQ(!ui.messageBoxes.empty(), c.asked);
        if (c.asked) {
            EXPECT_EQ(ui.messageBoxes[0].text, "Do you want to save?");
        }
        EXPECT_EQ(dialog->CurrentFile != nullptr, !c.canClose);
        dialog->CurrentFile.reset();
        if (c.kept) {
            EXPECT_TRUE(PathExists(folder / c.kept));
            DeleteFileA((folder / c.kept).c_str());
        }
        EXPECT_FALSE(PathExists(folder / "~rec_1.wav"));
    }
}

// A name the file cannot take (its folder is missing) must not lose the
// recording: the file class would delete a temporary file let go unchanged.
TEST_F(TAppDialogFilesTest, ARenameThatFailsAtClosingKeepsTheRecording) {
    Record(10);
    ui.messageBoxAnswers = {IDYES};
    ui.fileDialogAnswers = {folder / "missing\\talk.wav"};
    EXPECT_TRUE(dialog->FileCanClose());
    EXPECT_FALSE(dialog->CurrentFile);
    EXPECT_TRUE(PathExists(folder / "~rec_1.wav"));
    ASSERT_EQ(ui.messageBoxes.size(), 2u);
    EXPECT_EQ(ui.messageBoxes[1].text.rfind("Can't save the recording under the new name", 0), 0u);
}

TEST_F(TAppDialogFilesTest, CategoryNamesTheRecordingAndCancelKeepsIt) {
    AppState.AutoName = true;
    AppState.AutoPrompt = true;
    dialog->categoryAnswers = {"meeting", ""};
    Record(10);
    EXPECT_TRUE(dialog->SaveFile(nullptr, true));
    EXPECT_TRUE(PathExists(folder / "meeting_1.wav"));

    Record(10);
    EXPECT_FALSE(dialog->SaveFile(nullptr, true));  // cancelled while closing
    EXPECT_FALSE(dialog->CurrentFile);
    EXPECT_TRUE(PathExists(folder / "~rec_1.wav"));
}

TEST_F(TAppDialogFilesTest, SaveAsOntoItselfOnlyUpdates) {
    Record(10);
    const std::string path = dialog->CurrentFile->GetPath();
    char shortName[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameA(path.c_str(), shortName, MAX_PATH), 0u);
    for (const std::string& same : {std::string(shortName), folder / "~REC_1.WAV"}) {
        SCOPED_TRACE(same);
        EXPECT_TRUE(dialog->SaveFile(same.c_str(), false));
        ASSERT_TRUE(dialog->CurrentFile);
        EXPECT_EQ(dialog->CurrentFile->GetDataLength(), 10u);
        EXPECT_TRUE(PathExists(path));
        EXPECT_FALSE(dialog->CurrentFile->IsTemporary());
    }
}

TEST_F(TAppDialogFilesTest, SaveAsCopiesANamedFileAndACancelledCopyReopensIt) {
    dialog->OpenFile((folder / "first.wav").c_str());
    ASSERT_TRUE(dialog->CurrentFile);
    const std::vector<char> audio(1000000, 2);
    ASSERT_GT(dialog->CurrentFile->Write(audio.data(), 1000000), 0);

    dialog->cancelCopyAt = 1;
    EXPECT_TRUE(dialog->SaveFile((folder / "second.wav").c_str(), false));
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_EQ(dialog->CurrentFile->GetPath(), folder / "first.wav");
    EXPECT_FALSE(PathExists(folder / "second.wav"));
    EXPECT_EQ(dialog->copyPercents, (std::vector<int>{0, 44}));  // 1000044 bytes with the header

    dialog->cancelCopyAt = -1;
    EXPECT_TRUE(dialog->SaveFile((folder / "second.wav").c_str(), false));
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_EQ(dialog->CurrentFile->GetPath(), folder / "second.wav");
    EXPECT_EQ(dialog->CurrentFile->GetDataLength(), 1000000u);
    EXPECT_TRUE(PathExists(folder / "first.wav"));
    EXPECT_EQ(Caption(), "second.wav Larkspur-PRO");

    dialog->windowProgress = true;  // the progress dialog comes and goes
    EXPECT_TRUE(dialog->SaveFile((folder / "third.wav").c_str(), false));
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_EQ(dialog->CurrentFile->GetPath(), folder / "third.wav");
    EXPECT_EQ(Caption(), "third.wav Larkspur-PRO");
    EXPECT_EQ(FindWindowA(nullptr, "Copying audio data"), nullptr);
}

// Save As by copy: annotations kept beside the file (an MP3 with tags off)
// go with the copy, and a journal left beside the target by the file it
// replaces is not taken for the copy's.
TEST_F(TAppDialogFilesTest, SaveAsCopyKeepsTheAnnotations) {
    struct Case {
        const char* first;
        const char* second;
        bool tags;
    };
    for (const Case& c : {Case{"first.mp3", "second.mp3", false}, Case{"first.wav", "second.wav", true}}) {
        SCOPED_TRACE(c.first);
        Mp3File::EnableTag(c.tags);
        if (!c.tags) {
            ASSERT_TRUE(FilesTestFolder::WriteMp3Frames(folder / c.first));
            Mp3File probe((folder / c.first).c_str(), nullptr, MMIO_READ);
            ASSERT_TRUE(probe.Open());
            acm.drivers.push_back(FakeAcm::Mp3Driver());
            acm.drivers.back().tags[0].formats.push_back({WaveFormatBuffer(*probe.GetFormat()), "the file's"});
        }
        const std::string stale = RecFile::JournalNameFor(folder / c.second);
        ASSERT_TRUE(FilesTestFolder::WriteFile(folder / c.second, 100));
        {
            std::ofstream journal(stale, std::ios::binary);
            journal << BuildJournalImage({}, {CommentRec{0, 0, "stale"}});
            ASSERT_TRUE(journal);
        }
        dialog->OpenFile((folder / c.first).c_str());
        ASSERT_TRUE(dialog->CurrentFile) << (ui.messageBoxes.empty() ? "" : ui.messageBoxes[0].text);
        if (c.tags) {
            ASSERT_GT(dialog->CurrentFile->Write("abcd", 4), 0);
        }
        dialog->CurrentFile->AddComment("kept", 0, 0);
        ASSERT_TRUE(dialog->SaveFile((folder / c.second).c_str(), false));
        ASSERT_TRUE(dialog->CurrentFile);
        ASSERT_EQ(dialog->CurrentFile->GetPath(), folder / c.second);
        ASSERT_EQ(dialog->CurrentFile->CommentCount(), 1);
        EXPECT_EQ(dialog->CurrentFile->GetCommentText(0), "kept");
        dialog->CurrentFile.reset();
    }
}

TEST_F(TAppDialogFilesTest, AFailedCopyKeepsTheFileOpen) {
    dialog->OpenFile((folder / "first.wav").c_str());
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_FALSE(dialog->SaveFile((folder / "no such folder\\x.wav").c_str(), false));
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_EQ(dialog->CurrentFile->GetPath(), folder / "first.wav");
    ASSERT_FALSE(ui.messageBoxes.empty());
    EXPECT_EQ(ui.messageBoxes.back().text, "Can't open output file for rename/copy");
}

// The file's other name through Wine's Z: drive (every file of the prefix
// has one); empty elsewhere.
std::string SecondDriveName(const std::string& path) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    wchar_t wide[MAX_PATH] = {};
    if (!toUnix || !MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH))
        return std::string();
    char* unixName = toUnix(wide);
    if (!unixName)
        return std::string();
    std::string name = std::string("Z:") + unixName;
    HeapFree(GetProcessHeap(), 0, unixName);
    for (char& c : name)
        if (c == '/')
            c = '\\';
    return name;
}

uint32_t DataLengthOnDisk(const std::string& path) {
    WaveFile file(path.c_str(), nullptr, MMIO_READ);
    return file.Open() ? file.GetDataLength() : 0;
}

std::string BytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Save As under another name of the recording itself (the overwrite question
// answered yes) only brings it up to date: named or temporary, it stays
// whole on disk and the current file.
TEST_F(TAppDialogFilesTest, SaveAsUnderAnotherNameOfTheSameFileLeavesItWhole) {
    dialog->OpenFile((folder / "first.wav").c_str());
    ASSERT_TRUE(dialog->CurrentFile);
    const std::vector<char> audio(100000, 3);
    ASSERT_EQ(dialog->CurrentFile->Write(audio.data(), 100000), 100000);
    const std::string named = dialog->CurrentFile->GetPath();
    const std::string second = SecondDriveName(named);
    if (second.empty())
        GTEST_SKIP() << "no second drive mapping here";
    EXPECT_TRUE(dialog->SaveFile(second.c_str(), false));
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_EQ(dialog->CurrentFile->GetPath(), named);
    EXPECT_EQ(dialog->CurrentFile->GetDataLength(), 100000u);
    dialog->CurrentFile.reset();
    EXPECT_EQ(DataLengthOnDisk(named), 100000u);

    Record(5000);
    const std::string temporary = dialog->CurrentFile->GetPath();
    EXPECT_TRUE(dialog->SaveFile(SecondDriveName(temporary).c_str(), false));
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_EQ(dialog->CurrentFile->GetPath(), temporary);
    EXPECT_FALSE(dialog->CurrentFile->IsTemporary());
    dialog->CurrentFile.reset();
    EXPECT_EQ(DataLengthOnDisk(temporary), 5000u);
}

// Save As onto a file that exists, on a disk with no room for the copy: the
// old file stays whole under its name, by the copy of a named recording on
// that disk and by the move of a temporary one from another disk. The disk
// is a small file system that tests/recorder/save_full_disk.sh mounts.
TEST_F(TAppDialogFilesTest, SaveAsOntoAFileOfAFullDiskKeepsThatFile) {
    char disk[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("LARKSPUR_FULL_DIR", disk, MAX_PATH))
        GTEST_SKIP() << "run through save_full_disk.sh";
    const std::string full = disk;
    dialog->OpenFile((full + "\\first.wav").c_str());
    ASSERT_TRUE(dialog->CurrentFile);
    const std::vector<char> audio(100000, 4);
    ASSERT_EQ(dialog->CurrentFile->Write(audio.data(), 100000), 100000);
    ASSERT_TRUE(dialog->CurrentFile->Update());
    const std::string target = full + "\\old.wav";
    ASSERT_TRUE(FilesTestFolder::WriteFile(target, 30000));
    const std::string old = BytesOf(target);
    for (int n = 0; FilesTestFolder::WriteFile(full + "\\filler" + std::to_string(n), 4096) && n < 1000; ++n) {
    }

    EXPECT_FALSE(dialog->SaveFile(target.c_str(), false));
    EXPECT_EQ(BytesOf(target), old);
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_EQ(dialog->CurrentFile->GetPath(), full + "\\first.wav");

    Record(40000);
    const std::string temporary = dialog->CurrentFile->GetPath();
    (void)dialog->SaveFile(target.c_str(), false);
    EXPECT_EQ(BytesOf(target), old);
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_EQ(dialog->CurrentFile->GetPath(), temporary);
    EXPECT_EQ(dialog->CurrentFile->GetDataLength(), 40000u);
}

TEST_F(TAppDialogFilesTest, SaveRunsTheAfterSaveCommandWithTheQuotedPath) {
    CopyTextField(AppState.SaveCommand, "notify.exe");
    dialog->OpenFile((folder / "my talk.wav").c_str());
    ASSERT_TRUE(dialog->CurrentFile);
    dialog->CmSave();
    ASSERT_EQ(ui.launches.size(), 1u);
    EXPECT_EQ(ui.launches[0].first, "notify.exe \"" + (folder / "my talk.wav") + "\"");
    EXPECT_EQ(ui.launches[0].second, SW_SHOWNORMAL);
    TCommandEnabler ce(CM_SAVE);
    dialog->CeSave(ce);
    EXPECT_EQ(ce.Enabled(), std::optional<bool>(true));
}

}  // namespace
