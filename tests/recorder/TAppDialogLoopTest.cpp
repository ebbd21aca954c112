// The File page's loop action on the scripted input device and real files:
// whatever the user does to a full or wrapped loop recording (records again
// from the middle, drags the slider, picks a position, saves it under a new
// name, or the re-ordering fails), no audio it holds is lost and the file
// ends in time order or says why not.
#include "recorder/window/TAppDialog.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "resources/ResourceIds.h"
#include "tests/recorder/CaptureWindowFixture.h"

namespace {

const WAVEFORMATEX kFast = PcmFormat(2, 96000, 16);
constexpr uint32_t kBuffer = 76800;  // a 200 ms buffer of kFast
constexpr uint32_t kFullLap = 14;    // buffers: the first count at or over 1 MB
constexpr int64_t kOldClock = 1700000000;

void TwoTones(FakeWaveDevices& f)
{
    f.Tone(1, 500, 0.5);
    f.Tone(1, 900, 0.5);
}

void FourTones(FakeWaveDevices& f)
{
    for (int i = 0; i < 4; ++i)
        f.Tone(1, 300 + 200 * i, 0.5);
}

// A recording whose reads fail once asked to.
class UnreadableWave : public WaveFile {
public:
    using WaveFile::WaveFile;
    bool failReads = false;
    int32_t Read(void* data, uint32_t bytes) override { return failReads ? -1 : WaveFile::Read(data, bytes); }
};

class LoopTest : public CaptureWindowTest {
protected:
    void SetUp() override
    {
        CaptureWindowTest::SetUp();
        AppState.FileAction = 1;  // loop
        AppState.FileSizeSel = 0;
        AppState.FileSize = 1;
    }
    // A recording that filled its 1 MB loop: buffer i holds the byte 0x20 + i;
    // one segment from the start, a comment over buffer 10.
    void UseFullLoop(const std::string& path, uint32_t position, std::unique_ptr<WaveFile> file = nullptr)
    {
        dialog->FileFormat.Assign(kFast);
        dialog->CaptureFormat = kFast;
        if (!file)
            file = std::make_unique<WaveFile>(path.c_str(), &kFast, MMIO_CREATE | MMIO_READWRITE);
        ASSERT_TRUE(file->Open());
        for (uint32_t i = 0; i < kFullLap; ++i) {
            const std::vector<uint8_t> old(kBuffer, static_cast<uint8_t>(0x20 + i));
            ASSERT_EQ(static_cast<int32_t>(kBuffer), file->Write(old.data(), kBuffer));
        }
        file->AddTimeCode(0, kOldClock);
        file->AddComment("old", 10 * kBuffer, 11 * kBuffer);
        ASSERT_TRUE(file->Update());
        ASSERT_TRUE(file->Position(position));
        dialog->CurrentFile = std::move(file);
    }
    // The old buffers [from, kFullLap) followed by the new audio.
    static std::vector<uint8_t> OldFrom(uint32_t from, const std::vector<uint8_t>& after)
    {
        std::vector<uint8_t> out;
        for (uint32_t i = from; i < kFullLap; ++i)
            out.insert(out.end(), kBuffer, static_cast<uint8_t>(0x20 + i));
        out.insert(out.end(), after.begin(), after.end());
        return out;
    }
    // Two tones went over the first two buffers of the full file: the current
    // file at path holds the rest of the older audio first, with its comment
    // and clock, and the tones after it. The file is let go.
    void ExpectTwoTonesAfterTheOlderAudio(const std::string& path)
    {
        ASSERT_EQ(1, dialog->CurrentFile->CommentCount());
        EXPECT_EQ(8 * kBuffer, dialog->CurrentFile->GetCommentStart(0));
        EXPECT_EQ(kOldClock, dialog->CurrentFile->GetTimeCodeAt(0));
        dialog->CurrentFile.reset();
        EXPECT_EQ(OldFrom(2, Scripted(TwoTones, kFast, 2)), ReadBack(path));
    }
    // Starts recording and lets the held wrap of a full file run.
    void Record()
    {
        dialog->Listen();
        Pump();
        ASSERT_TRUE(dialog->Recording);
        ASSERT_TRUE(dialog->CurrentFile->GetOverwrite());
    }
};

// A play stopped part way left the full file at 4 buffers: recording again
// wraps from the end of the data, so the stop keeps everything the new audio
// did not go over, with its marks.
TEST_F(LoopTest, RecordingAgainFromTheMiddleKeepsEveryOlderBytePastTheNewAudio)
{
    const std::string path = TempWavePath("loop_restart.wav");
    UseFullLoop(path, 4 * kBuffer);
    TwoTones(waves);
    Record();
    EXPECT_EQ(kFullLap * kBuffer, dialog->WrapPoint);
    EXPECT_EQ(0u, dialog->CurrentFile->GetPosition());
    Capture(2);
    dialog->CmStop();

    ExpectTwoTonesAfterTheOlderAudio(path);
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

// After the wrap the file's position is where the audio goes: a drag of the
// slider and OK in the position dialog leave it there.
TEST_F(LoopTest, SliderAndPositionDialogLeaveTheWriteHeadOfAWrappedRecording)
{
    const std::string path = TempWavePath("loop_moves.wav");
    UseFullLoop(path, kFullLap * kBuffer);
    FourTones(waves);
    Record();
    Capture(2);
    dialog->CurrentFile->AddTimeCode(0, kOldClock + 100);  // as a new segment would
    const HWND slider = dialog->PositionSlider();
    ::SendMessageA(slider, TBM_SETPOS, TRUE, 700);
    Send(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 700), reinterpret_cast<LPARAM>(slider));
    Send(WM_HSCROLL, SB_ENDSCROLL, reinterpret_cast<LPARAM>(slider));
    ui.modalScripts.push_back([](ModalRun& modal) {
        auto& position = dynamic_cast<TDialog&>(modal);
        if (!position.Create())
            return -1;
        const HWND thumb = position.GetDlgItem(IDC_POSSLIDER);
        ::SendMessageA(thumb, TBM_SETPOS, TRUE, 300);
        position.SendMessage(WM_HSCROLL, SB_ENDSCROLL, reinterpret_cast<LPARAM>(thumb));
        position.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return IDOK;
    });
    dialog->CmPosition();
    Capture(2);
    dialog->CmStop();

    dialog->CurrentFile.reset();
    EXPECT_EQ(OldFrom(4, Scripted(FourTones, kFast, 4)), ReadBack(path));
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

// Save As of a named file copies it: the recording stops, and the copy is
// the file in time order with the older lap's marks.
TEST_F(LoopTest, SaveAsDuringAWrappedRecordingSavesItInTimeOrderWithItsMarks)
{
    const std::string path = TempWavePath("loop_saveas.wav");
    const std::string target = TempWavePath("loop_saveas_copy.wav");
    UseFullLoop(path, kFullLap * kBuffer);
    TwoTones(waves);
    Record();
    Capture(2);
    ui.fileDialogAnswers.push_back(target);
    dialog->CmSaveAs();

    EXPECT_FALSE(dialog->Recording);
    EXPECT_EQ(nullptr, dialog->ContinuationFile);
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_EQ(target, dialog->CurrentFile->GetPath());
    EXPECT_FALSE(dialog->CurrentFile->GetOverwrite());
    ExpectTwoTonesAfterTheOlderAudio(target);
    EXPECT_TRUE(DeleteFileA(target.c_str()));
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

// A re-ordering that cannot read its audio, or cannot replace the file
// another program holds open, leaves the file as recorded, and says so.
TEST_F(LoopTest, ARecordingLeftOutOfOrderIsNamedWithWhatItHoldsWhere)
{
    for (const bool held : {false, true}) {
        SCOPED_TRACE(held ? "held by another program" : "unreadable");
        ui.messageBoxes.clear();
        const std::string path = TempWavePath("loop_unordered.wav");
        auto file = std::make_unique<UnreadableWave>(path.c_str(), &kFast, MMIO_CREATE | MMIO_READWRITE);
        UnreadableWave* unreadable = file.get();
        UseFullLoop(path, kFullLap * kBuffer, std::move(file));
        TwoTones(waves);
        Record();
        Capture(2);
        HANDLE other = INVALID_HANDLE_VALUE;
        if (held)
            other = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
        else
            unreadable->failReads = true;
        dialog->CmStop();
        if (other != INVALID_HANDLE_VALUE)
            CloseHandle(other);

        ASSERT_EQ(1u, ui.messageBoxes.size());
        const std::string& text = ui.messageBoxes[0].text;
        EXPECT_NE(std::string::npos, text.find("could not be put in time order")) << text;
        EXPECT_NE(std::string::npos, text.find(path)) << text;
        EXPECT_NE(std::string::npos, text.find("to 0:00 it holds the newest audio")) << text;
        dialog->CurrentFile.reset();
        std::vector<uint8_t> asRecorded = Scripted(TwoTones, kFast, 2);
        const std::vector<uint8_t> older = OldFrom(2, {});
        asRecorded.insert(asRecorded.end(), older.begin(), older.end());
        EXPECT_EQ(asRecorded, ReadBack(path));
        EXPECT_TRUE(DeleteFileA(path.c_str()));
    }
}

}  // namespace
