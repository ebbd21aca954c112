// Recording that edits the recording, on the scripted input device and real
// files: record-overwrite, record-insert under both clipboards, and the File
// page's loop action, whose file must end in time order with nothing stale.
#include "recorder/window/TAppDialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "audiofile/OggVorbisFile.h"
#include "framework/Clipboard.h"
#include "core/PrivateMessages.h"
#include "recorder/clipboard/ClipboardExchange.h"
#include "recorder/editing/AudioEdit.h"
#include "tests/audiofile/OggTestSupport.h"
#include "tests/recorder/CaptureWindowFixture.h"

namespace {

constexpr uint8_t kOldByte = 0x11;

class RecordModesTest : public CaptureWindowTest {
protected:
    void SetUp() override
    {
        CaptureWindowTest::SetUp();
        AppState.TalkOff2 = 1;  // a segment runs on for a second of quiet
    }
    // A recording of `bytes` old bytes, positioned at `position`.
    void UseFilledWaveFile(const std::string& path, const WAVEFORMATEX& format, uint32_t bytes,
                           uint32_t position)
    {
        UseNewWaveFile(path, format);
        const std::vector<uint8_t> old(bytes, kOldByte);
        ASSERT_EQ(static_cast<int32_t>(bytes), dialog->CurrentFile->Write(old.data(), bytes));
        ASSERT_TRUE(dialog->CurrentFile->Update());
        ASSERT_TRUE(dialog->CurrentFile->Position(position));
    }
    void Command(UINT id) { Send(WM_COMMAND, id, 0); }
    void CloseAndCheck(const std::string& path, const std::vector<uint8_t>& expected)
    {
        dialog->CurrentFile.reset();
        EXPECT_EQ(expected, ReadBack(path));
        EXPECT_TRUE(DeleteFileA(path.c_str()));
    }
};

void Tone3(FakeWaveDevices& f) { f.Tone(3, 700, 0.5); }

std::vector<uint8_t> Inserted(uint32_t before, const std::vector<uint8_t>& audio, uint32_t after)
{
    std::vector<uint8_t> out(before, kOldByte);
    out.insert(out.end(), audio.begin(), audio.end());
    out.insert(out.end(), after, kOldByte);
    return out;
}

const WAVEFORMATEX kMono11k = PcmFormat(1, 11025, 16);  // 4410 bytes a buffer

TEST_F(RecordModesTest, RecordOverwriteReplacesFromThePositionAndKeepsTheLength)
{
    const std::string path = TempWavePath("modes_overwrite.wav");
    UseFilledWaveFile(path, kMono11k, 10 * 4410, 2 * 4410);
    Tone3(waves);
    dialog->CmRecordOverwrite();
    ASSERT_TRUE(dialog->Recording);
    EXPECT_TRUE(dialog->OverwriteMode);
    Capture(3);
    dialog->CmStop();
    EXPECT_FALSE(dialog->OverwriteMode);
    EXPECT_FALSE(dialog->CurrentFile->GetOverwrite());
    EXPECT_EQ(10u * 4410, dialog->CurrentFile->GetDataLength());
    // The overwritten stretch is marked as a segment of its own.
    ASSERT_EQ(2, dialog->CurrentFile->TimeCodeCount());
    EXPECT_EQ(2u * 4410, dialog->CurrentFile->GetTimeCodePos(0));
    EXPECT_GT(dialog->CurrentFile->GetTimeCodeAt(0), 0);
    EXPECT_EQ(5u * 4410, dialog->CurrentFile->GetTimeCodePos(1));
    std::vector<uint8_t> expected = Inserted(2 * 4410, Scripted(Tone3, kMono11k, 3), 5 * 4410);
    CloseAndCheck(path, expected);
}

// Voice activation hears nothing: nothing is overwritten, and the stop
// leaves the file's segments as they were.
TEST_F(RecordModesTest, QuietRecordOverwriteLeavesTheSegmentsAlone)
{
    AppState.VoxDisable = false;
    AppState.SoundLevel = 50;
    const std::string path = TempWavePath("modes_overwrite_quiet.wav");
    UseFilledWaveFile(path, kMono11k, 10 * 4410, 0);
    dialog->CurrentFile->AddTimeCode(0, 1000000);
    dialog->CurrentFile->AddTimeCode(6 * 4410, 2000000);
    ASSERT_TRUE(dialog->CurrentFile->Position(4410));
    waves.Tone(3, 300, 0.05);
    dialog->CmRecordOverwrite();
    Capture(3);
    dialog->CmStop();
    ASSERT_EQ(2, dialog->CurrentFile->TimeCodeCount());
    EXPECT_EQ(6u * 4410, dialog->CurrentFile->GetTimeCodePos(1));
    EXPECT_EQ(2000000, dialog->CurrentFile->GetTimeCodeAt(1));
    CloseAndCheck(path, std::vector<uint8_t>(10 * 4410, kOldByte));
}

// Under the private clipboard the user's last cut stays the paste buffer;
// the recording gets exactly the captured bytes at the position.
TEST_F(RecordModesTest, RecordInsertPutsTheCapturedAudioAtThePositionAndLeavesThePasteBuffer)
{
    AppState.UseWinClip = false;
    const std::string cutPath = TempWavePath("modes_lastcut.wav");
    PasteBuffer = std::make_unique<WaveFile>(cutPath.c_str(), &kMono11k, MMIO_CREATE | MMIO_READWRITE);
    ASSERT_TRUE(PasteBuffer->Open());
    const std::vector<uint8_t> cut(882, 0x5A);
    ASSERT_EQ(882, PasteBuffer->Write(cut.data(), 882));
    const RecFile* lastCut = PasteBuffer.get();

    const std::string path = TempWavePath("modes_insert.wav");
    UseFilledWaveFile(path, kMono11k, 6 * 4410, 4 * 4410);
    Tone3(waves);
    dialog->CmRecordInsert();
    ASSERT_TRUE(dialog->RecordInsertActive);
    ASSERT_TRUE(dialog->Recording);
    const std::string scratch = dialog->CurrentFile->GetPath();
    Capture(3);
    dialog->CmStop();
    EXPECT_FALSE(dialog->RecordInsertActive);
    EXPECT_EQ(nullptr, dialog->TempFile);
    EXPECT_EQ(path, dialog->CurrentFile->GetPath());
    EXPECT_EQ(4u * 4410, dialog->CurrentFile->GetPosition());  // where the insert began, as a paste
    EXPECT_EQ(0xFFFFFFFFu, GetFileAttributesA(scratch.c_str()));  // the scratch recording is gone
    ASSERT_EQ(lastCut, PasteBuffer.get());
    EXPECT_EQ(882u, PasteBuffer->GetDataLength());
    CloseAndCheck(path, Inserted(4 * 4410, Scripted(Tone3, kMono11k, 3), 2 * 4410));
    DiscardPasteBuffer();
    DeleteFileA(cutPath.c_str());
}

// With the Windows clipboard the audio goes in directly; a transfer onto the
// clipboard that fails afterwards loses nothing and leaves the clipboard as
// it was, one that works leaves the inserted audio there.
TEST_F(RecordModesTest, RecordInsertUnderTheWindowsClipboardDoesNotDependOnTheTransfer)
{
    AppState.UseWinClip = true;
    HWND owner = dialog->ClipboardOwner();
    ASSERT_TRUE(OpenClipboardPatiently(owner));
    EmptyClipboard();
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 4);
    memcpy(GlobalLock(text), "old", 4);
    GlobalUnlock(text);
    SetClipboardData(CF_TEXT, text);
    CloseClipboard();

    const std::string path = TempWavePath("modes_insert_winclip.wav");
    UseFilledWaveFile(path, kMono11k, 2 * 4410, 4410);
    Tone3(waves);
    dialog->failTransfers = true;
    dialog->CmRecordInsert();
    const std::string take = dialog->CurrentFile->GetPath();
    Capture(3);
    dialog->CmStop();
    EXPECT_EQ(5u * 4410, dialog->CurrentFile->GetDataLength());
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_WAVE));
    // The take never reached the clipboard: it stays on disk, and the user is told where.
    EXPECT_EQ(Scripted(Tone3, kMono11k, 3), ReadBack(take));
    ASSERT_FALSE(ui.messageBoxes.empty());
    EXPECT_NE(std::string::npos, ui.messageBoxes.back().text.find("kept in:\n" + take));
    EXPECT_TRUE(DeleteFileA(take.c_str()));

    dialog->failTransfers = false;
    waves.Tone(2, 900, 0.5);
    dialog->CmRecordInsert();
    Capture(2);
    dialog->CmStop();
    EXPECT_EQ(7u * 4410, dialog->CurrentFile->GetDataLength());
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_WAVE));
    std::vector<uint8_t> first = Scripted(Tone3, kMono11k, 3);
    std::vector<uint8_t> expected = Inserted(4410, first, 4410);
    // The second insert went in where the first began.
    std::vector<uint8_t> second = Scripted([](FakeWaveDevices& f) { f.Tone(2, 900, 0.5); }, kMono11k, 2);
    expected.insert(expected.begin() + 4410, second.begin(), second.end());
    CloseAndCheck(path, expected);
}

// Cancel in the progress of the merge is no success: the recording stays as
// it was, and the take stays on disk where the user is told it is.
TEST_F(RecordModesTest, ACancelledRecordInsertKeepsTheTakeAndSaysWhere)
{
    AppState.UseWinClip = false;
    const std::string path = TempWavePath("modes_insert_cancelled.wav");
    UseFilledWaveFile(path, kMono11k, 2 * 4410, 4410);
    Tone3(waves);
    dialog->CmRecordInsert();
    const std::string take = dialog->CurrentFile->GetPath();
    Capture(3);
    dialog->cancelEdits = true;
    dialog->CmStop();
    EXPECT_EQ(path, dialog->CurrentFile->GetPath());
    EXPECT_EQ(2u * 4410, dialog->CurrentFile->GetDataLength());
    EXPECT_EQ(Scripted(Tone3, kMono11k, 3), ReadBack(take));
    ASSERT_FALSE(ui.messageBoxes.empty());
    EXPECT_NE(std::string::npos, ui.messageBoxes.back().text.find("kept in:\n" + take));
    EXPECT_TRUE(DeleteFileA(take.c_str()));
    CloseAndCheck(path, std::vector<uint8_t>(2 * 4410, kOldByte));
}

// A split (quiet time in record mode 2, the ceiling of the format) would
// save part of the insert away as a file of its own: it is ignored.
TEST_F(RecordModesTest, DuringARecordInsertASplitIsIgnoredAndRecordOverwriteOnlyStops)
{
    const std::string path = TempWavePath("modes_insert_stop.wav");
    UseFilledWaveFile(path, kMono11k, 4410, 0);
    Tone3(waves);
    dialog->CmRecordInsert();
    const std::string scratch = dialog->CurrentFile->GetPath();
    Capture(1);
    Send(WM_SPLITFILE);
    EXPECT_TRUE(dialog->Recording);
    EXPECT_EQ(scratch, dialog->CurrentFile->GetPath());
    Capture(1);
    dialog->CmRecordOverwrite();
    EXPECT_FALSE(dialog->Recording);
    EXPECT_FALSE(dialog->OverwriteMode);
    EXPECT_FALSE(dialog->RecordInsertActive);
    EXPECT_EQ(3u * 4410, dialog->CurrentFile->GetDataLength());
    CloseAndCheck(path, Inserted(0, Scripted(Tone3, kMono11k, 2), 4410));
}

// The scratch file of a record-insert cannot be made: the message names
// it, the recording stays the current file and nothing records.
TEST_F(RecordModesTest, RecordInsertWithoutItsScratchFileRecordsNothing)
{
    const std::string path = TempWavePath("modes_insert_noscratch.wav");
    UseFilledWaveFile(path, kMono11k, 4410, 0);
    dialog->failScratchFiles = true;
    dialog->CmRecordInsert();
    EXPECT_FALSE(dialog->Recording);
    EXPECT_FALSE(dialog->RecordInsertActive);
    EXPECT_EQ(nullptr, dialog->TempFile);
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_EQ(path, dialog->CurrentFile->GetPath());
    ASSERT_EQ(1u, ui.messageBoxes.size());
    EXPECT_NE(std::string::npos, ui.messageBoxes[0].text.find("Can't open file"));
    CloseAndCheck(path, std::vector<uint8_t>(4410, kOldByte));
}

// 20 buffers of distinct tones into a 1 MB loop of 14 buffers: the file
// wraps after the 14th and, once stopped, holds buffers 7 to 20 in order.
void TwentyTones(FakeWaveDevices& f)
{
    for (int i = 0; i < 20; ++i)
        f.Tone(1, 200 + 90 * i, 0.5);
}

TEST_F(RecordModesTest, LoopedRecordingEndsAsTheLastLapInTimeOrder)
{
    AppState.FileAction = 1;
    AppState.FileSizeSel = 0;
    AppState.FileSize = 1;
    const WAVEFORMATEX fast = PcmFormat(2, 96000, 16);  // 76800 bytes a buffer
    const uint32_t buffer = 76800;
    const std::string path = TempWavePath("modes_loop.wav");
    UseNewWaveFile(path, fast);
    TwentyTones(waves);
    dialog->Listen();
    Capture(12);  // the newest buffer is taken with the next one
    dialog->CurrentFile->AddComment("lap one", 9 * buffer, 10 * buffer);
    Capture(3);
    ASSERT_TRUE(dialog->CurrentFile->GetOverwrite());  // wrapped after the 14th
    ASSERT_TRUE(dialog->ContinuationFile);
    EXPECT_EQ(14 * buffer, dialog->WrapPoint);
    EXPECT_EQ(0u, dialog->CurrentFile->GetPosition());
    const int64_t lapStart = dialog->ContinuationFile->GetTimeCodeAt(0);
    ASSERT_GT(lapStart, 0);
    Capture(5);
    dialog->CmStop();  // takes the 20th

    EXPECT_EQ(nullptr, dialog->ContinuationFile);
    EXPECT_FALSE(dialog->CurrentFile->GetOverwrite());
    EXPECT_EQ(path, dialog->CurrentFile->GetPath());
    // The newest audio is at the end, where recording stopped.
    EXPECT_EQ(14 * buffer, dialog->CurrentFile->GetPosition());
    // The lap's first segment, 6 buffers (1.2 s) older than the new start.
    EXPECT_EQ(lapStart + 1, dialog->CurrentFile->GetTimeCodeAt(0));
    ASSERT_EQ(1, dialog->CurrentFile->CommentCount());
    EXPECT_EQ(3 * buffer, dialog->CurrentFile->GetCommentStart(0));
    EXPECT_EQ(4 * buffer, dialog->CurrentFile->GetCommentEnd(0));
    const std::vector<uint8_t> all = Scripted(TwentyTones, fast, 20);
    CloseAndCheck(path, std::vector<uint8_t>(all.begin() + 6 * buffer, all.end()));
}

// The scratch recording of an Ogg record-insert carries the recording's own
// encoder set-up whatever the Vorbis quality setting says now: its packets
// go into the recording as they are and must decode there.
TEST_F(RecordModesTest, OggRecordInsertDecodesWhateverTheQualitySetting)
{
    const std::string path = TempWavePath("modes_insert.ogg");
    const WAVEFORMATEX format = CodecFormat(kVorbisFormatTag, 2, 44100);
    {
        OggVorbisFile file(path.c_str(), &format, 2, MMIO_CREATE | MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(WriteTone(file, 2.0, 2, 44100, 4410));
        file.SetTemporary(false);
        ASSERT_TRUE(file.Close());
    }
    AppState.VorQ = 9;
    dialog->CurrentFile = std::make_unique<OggVorbisFile>(path.c_str(), nullptr, 2, MMIO_READWRITE);
    ASSERT_TRUE(dialog->CurrentFile->Open());
    dialog->FileFormat.Assign(*dialog->CurrentFile->GetFormat());
    dialog->CaptureFormat = PcmFormat(2, 44100, 16);
    const uint32_t before = dialog->CurrentFile->GetLength();
    ASSERT_TRUE(dialog->CurrentFile->Position(44100));
    waves.Tone(6, 440, 0.5);
    dialog->CmRecordInsert();
    ASSERT_TRUE(dialog->RecordInsertActive);
    Capture(6);
    dialog->CmStop();
    EXPECT_FALSE(dialog->RecordInsertActive);
    EXPECT_EQ(path, dialog->CurrentFile->GetPath());
    const uint32_t after = dialog->CurrentFile->GetLength();
    EXPECT_NEAR(after - before, 6 * 8820, 4096);  // six 0.2 s buffers, less the first block's overlap
    (void)dialog->CurrentFile->Position(0);
    const std::vector<int16_t> pcm = DecodeAll(*dialog->CurrentFile);
    EXPECT_NEAR(pcm.size() / 2.0, after, 2048);
    dialog->CurrentFile.reset();
    DeleteFileA(path.c_str());
}

bool NewFileAskedFor(HWND window)
{
    MSG msg;
    return PeekMessageA(&msg, window, WM_FILELIMIT, WM_FILELIMIT, PM_REMOVE) && msg.wParam != 0;
}

// Ogg files cannot be overwritten, and a lap whose marks cannot be kept must
// not be overwritten: at the limit the loop action goes on in a new file, as
// the new-file action does. Record-Overwrite is grayed for Ogg files.
TEST_F(RecordModesTest, LoopThatCannotOverwriteGoesOnInANewFile)
{
    AppState.FileAction = 1;
    const std::string oggPath = TempWavePath("modes_loop_fallback.ogg");
    const WAVEFORMATEX format = PcmFormat(2, 44100, 16);
    dialog->FileFormat.Assign(format);
    dialog->CurrentFile = std::make_unique<OggVorbisFile>(oggPath.c_str(), &format, 3, MMIO_CREATE | MMIO_READWRITE);
    ASSERT_TRUE(dialog->CurrentFile->Open());
    TCommandEnabler overwrite(CM_RECORDOVERWRITE);
    dialog->CeRecordOverwrite(overwrite);
    EXPECT_EQ(false, overwrite.Enabled());
    dialog->Recording = 1;  // the limit comes only to a running recording
    dialog->EvFileLimit(0, 0);
    EXPECT_FALSE(dialog->CurrentFile->GetOverwrite());
    EXPECT_EQ(nullptr, dialog->ContinuationFile);
    EXPECT_TRUE(NewFileAskedFor(dialog->GetHandle()));
    dialog->CurrentFile.reset();
    DeleteFileA(oggPath.c_str());

    const std::string wavPath = TempWavePath("modes_loop_nolap.wav");
    UseFilledWaveFile(wavPath, kMono11k, 4410, 4410);
    dialog->CurrentFile->AddTimeCode(0, 1000000);
    dialog->failScratchFiles = true;
    dialog->LimitPosted = false;
    dialog->EvFileLimit(0, 0);
    EXPECT_FALSE(dialog->CurrentFile->GetOverwrite());
    EXPECT_EQ(1, dialog->CurrentFile->TimeCodeCount());
    EXPECT_EQ(4410u, dialog->CurrentFile->GetPosition());
    EXPECT_TRUE(NewFileAskedFor(dialog->GetHandle()));
    dialog->Recording = 0;
    CloseAndCheck(wavPath, std::vector<uint8_t>(4410, kOldByte));
}

}  // namespace
