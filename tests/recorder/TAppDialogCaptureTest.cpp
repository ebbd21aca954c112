#include "recorder/window/TAppDialog.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/PrivateMessages.h"
#include "audiofile/FileNames.h"
#include "tests/fakes/FakeAcm.h"
#include "tests/recorder/CaptureWindowFixture.h"
#include "tests/recorder/FilesTestFolder.h"

namespace {

void Tone10(FakeWaveDevices& f) { f.Tone(10, 1000, 0.6); }

TEST_F(CaptureWindowTest, ListenThenStopWritesTheScriptTailIncluded)
{
    const std::string path = TempWavePath("capture_listen.wav");
    UseNewWaveFile(path, PcmFormat(1, 11025, 16));
    Tone10(waves);
    waves.bytesCapturedAtStop = 2000;  // the buffer being filled when stop comes
    dialog->Listen();
    ASSERT_TRUE(dialog->Recording);
    EXPECT_EQ(0u, waves.lastDeviceId);  // "Fake Input" by name, not the mapper
    Capture(9);
    dialog->StopCapture();
    EXPECT_FALSE(dialog->Recording);
    EXPECT_EQ(0, waves.OpenDevices(WaveDirection::Input));
    dialog->CurrentFile.reset();
    std::vector<uint8_t> expected = Scripted(Tone10, PcmFormat(1, 11025, 16), 10);
    expected.resize(9 * 4410 + 2000);
    EXPECT_EQ(expected, ReadBack(path));
    EXPECT_TRUE(DeleteFileA(path.c_str()));  // no handle left open
}

TEST_F(CaptureWindowTest, FormatAboveARingBlockIsRefusedBeforeTheDeviceOpens)
{
    const std::string path = TempWavePath("capture_fast.wav");
    WAVEFORMATEX fast = PcmFormat(2, 96000, 16);
    fast.nChannels = 8;
    fast.nBlockAlign = 16;
    fast.nAvgBytesPerSec = 96000 * 16;  // 307200 bytes per 200 ms: fits
    UseNewWaveFile(path, fast);
    dialog->Listen();
    EXPECT_TRUE(dialog->Recording);
    dialog->StopCapture();

    fast.nSamplesPerSec = 192000;
    fast.nAvgBytesPerSec = 192000 * 16;  // 614400 bytes per 200 ms
    dialog->CaptureFormat = fast;
    const int opensBefore = waves.Count("waveInOpen");
    dialog->Listen();
    EXPECT_FALSE(dialog->Recording);
    EXPECT_EQ(opensBefore, waves.Count("waveInOpen"));
    EXPECT_EQ(1u, ui.messageBoxes.size());
    dialog->CurrentFile.reset();
    DeleteFileA(path.c_str());
}

TEST_F(CaptureWindowTest, StalledDeviceIsRestartedWithoutLosingAudio)
{
    const std::string path = TempWavePath("capture_stall.wav");
    UseNewWaveFile(path, PcmFormat(1, 8000, 16));
    waves.Tone(2, 500);
    waves.Stall(20);
    dialog->Listen();
    Capture(2);
    EXPECT_EQ(3200u, dialog->CurrentFile->GetDataLength());  // one buffer written, one held back
    // Four data messages that take nothing back (the held-back buffer alone is done).
    const WAVEHDR& held = dialog->Ring.Header(1);
    for (int i = 0; i < 4; ++i)
        SendMessageA(dialog->GetHandle(), MM_WIM_DATA, reinterpret_cast<WPARAM>(waves.lastHandle),
                     reinterpret_cast<LPARAM>(&held));
    Pump();  // WM_RESTARTRECORDING
    EXPECT_EQ(2, waves.Count("waveInStart"));
    EXPECT_EQ(2u * 3200u, dialog->CurrentFile->GetDataLength());  // the held-back buffer too
    dialog->StopCapture();
    dialog->CurrentFile.reset();
    DeleteFileA(path.c_str());
}

// Buffers that come back while an edit keeps the transport busy wait in the
// ring; when the device is left holding none, that is counted, and every
// run's tally goes into the log at its end.
TEST_F(CaptureWindowTest, StoppedRecordingLogsItsBufferTallyWithTheDryDevice)
{
    const std::string path = TempWavePath("capture_tally.wav");
    const std::string log = TempWavePath("capture_tally.log");
    CopyTextField(AppState.LogPath, log.c_str());
    UseNewWaveFile(path, PcmFormat(1, 8000, 16));
    waves.Tone(10, 500);
    dialog->Listen();
    Capture(2);  // one buffer written, one held back
    dialog->BeginTransportBusy();
    Capture(5);  // the device fills the four it holds, then has none
    dialog->EndTransportBusy();
    // No notice would come again: the end of the busy time takes them back.
    EXPECT_EQ(1u, dialog->Capture.Tally().dry);
    EXPECT_EQ(4u, waves.Lent(WaveDirection::Input));
    EXPECT_EQ(5u * 3200u, dialog->CurrentFile->GetDataLength());
    Capture(1);
    dialog->StopCapture();
    EXPECT_EQ(7u * 3200u, dialog->CurrentFile->GetDataLength());
    std::ifstream in(log, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(std::string::npos,
              text.find("Capture buffers: 7 taken, 7 written, 0 skipped, 0 lost; device without buffers 1 times"))
        << text;
    in.close();
    dialog->CurrentFile.reset();
    DeleteFileA(path.c_str());
    DeleteFileA(log.c_str());
}

// The buffers the device gives back at the stop belong to the segment that
// was running: its quiet end is kept and starts no segment of its own.
TEST_F(CaptureWindowTest, StopKeepsTheRunningSegmentsLastBuffers)
{
    AppState.VoxDisable = false;
    AppState.SoundLevel = 20;
    AppState.TalkOff2 = 1;
    const std::string path = TempWavePath("capture_stop_tail.wav");
    UseNewWaveFile(path, PcmFormat(1, 8000, 16));
    waves.Tone(3, 800, 0.8);
    waves.Silence(1);
    dialog->Listen();
    Capture(4);  // the quiet fourth is held back
    dialog->CmStop();
    EXPECT_EQ(4u * 3200u, dialog->CurrentFile->GetDataLength());
    EXPECT_EQ(1, dialog->CurrentFile->TimeCodeCount());
    dialog->CurrentFile.reset();
    DeleteFileA(path.c_str());
}

}  // namespace

namespace {

void ShortThenLong(FakeWaveDevices& f)
{
    f.Tone(2, 1000, 0.8);  // 0.4 s: shorter than the discard time
    f.Silence(6);
    f.Tone(12, 1000, 0.8);  // 2.4 s: kept
    f.Silence(6);
}

TEST_F(CaptureWindowTest, ShortSegmentIsCutBackToItsOwnMark)
{
    AppState.VoxDisable = false;
    AppState.SoundLevel = 20;
    AppState.TalkOff2 = 1;
    AppState.VoxDiscard = true;
    AppState.VoxDiscardTimeTenths = 30;  // 15 blocks of 200 ms
    const std::string path = TempWavePath("capture_discard.wav");
    UseNewWaveFile(path, PcmFormat(1, 8000, 16));
    ShortThenLong(waves);
    dialog->Listen();
    Capture(26);
    dialog->StopCapture();
    // Only the long segment stays: its 12 loud blocks and 4 of hang time.
    EXPECT_EQ(16u * 3200u, dialog->CurrentFile->GetDataLength());
    ASSERT_EQ(1, dialog->CurrentFile->TimeCodeCount());
    EXPECT_EQ(0u, dialog->CurrentFile->GetTimeCodePos(0));
    dialog->CurrentFile.reset();
    DeleteFileA(path.c_str());
}

}  // namespace

namespace {

class CodecCaptureTest : public CaptureWindowTest {
protected:
    void SetUp() override
    {
        SetAcm(&acm);  // before the window: its stream binds to the service
        CaptureWindowTest::SetUp();
        AppState.CodecsAvailable = true;
    }
    void TearDown() override
    {
        CaptureWindowTest::TearDown();
        SetAcm(nullptr);
    }
    FakeAcm acm;
};

TEST_F(CodecCaptureTest, CompressedRecordingStartsFlaggedAndIsFlushedAtStop)
{
    const std::string path = TempWavePath("capture_adpcm.wav");
    const FakeAcmFormat adpcm = FakeAcm::ImaAdpcmFormat(1, 8000);
    dialog->FileFormat.Assign(*adpcm.format.Get());
    dialog->CaptureFormat = PcmFormat(1, 8000, 16);
    dialog->CurrentFile =
        std::make_unique<WaveFile>(path.c_str(), adpcm.format.Get(), MMIO_CREATE | MMIO_READWRITE);
    ASSERT_TRUE(dialog->CurrentFile->Open());
    waves.Tone(6, 700);
    waves.bytesCapturedAtStop = 1000;
    acm.tailAtUnprepare = 64;
    dialog->Listen();
    ASSERT_TRUE(dialog->Recording);
    Capture(6);
    dialog->StopCapture();
    EXPECT_TRUE(ui.messageBoxes.empty());
    ASSERT_GE(acm.convertFlags.size(), 2u);
    EXPECT_TRUE(acm.convertFlags.front() & ACM_STREAMCONVERTF_START);
    EXPECT_TRUE(acm.convertFlags.back() & ACM_STREAMCONVERTF_END);
    for (size_t i = 1; i + 1 < acm.convertFlags.size(); ++i)
        EXPECT_FALSE(acm.convertFlags[i] & ACM_STREAMCONVERTF_START) << i;
    // Every captured frame was handed to the codec and counted, the
    // held-back buffer and the partly filled one included.
    auto* wave = static_cast<WaveFile*>(dialog->CurrentFile.get());
    EXPECT_EQ((6u * 3200u + 1000u) / 2u, wave->GetFactCount());
    EXPECT_GT(wave->GetDataLength(), 0u);
    dialog->AcmClose();
    EXPECT_EQ(0, acm.PreparedHeaders());
    dialog->CurrentFile.reset();
    // The encoder's last frames, given only when the header is unprepared.
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    EXPECT_NE(std::string::npos, bytes.find(std::string(64, '\xEE'))) << "the codec's tail is not in the file";
    DeleteFileA(path.c_str());
}

// A compressed recording plays back through the decode stream: every block
// is decoded, queued in ring order and the playback ends by itself.
TEST_F(CodecCaptureTest, CompressedRecordingPlaysBackThroughTheDecodeStream)
{
    const std::string path = TempWavePath("play_adpcm.wav");
    const FakeAcmFormat adpcm = FakeAcm::ImaAdpcmFormat(1, 8000);
    dialog->FileFormat.Assign(*adpcm.format.Get());
    dialog->CaptureFormat = PcmFormat(1, 8000, 16);
    dialog->CurrentFile =
        std::make_unique<WaveFile>(path.c_str(), adpcm.format.Get(), MMIO_CREATE | MMIO_READWRITE);
    ASSERT_TRUE(dialog->CurrentFile->Open());
    waves.Tone(12, 700);
    dialog->Listen();
    Capture(12);
    dialog->CmStop();
    const uint32_t length = dialog->CurrentFile->GetLength();
    ASSERT_GT(length, 0u);
    dialog->Position(0, true);
    dialog->CmPlay();
    ASSERT_TRUE(dialog->hWaveOut.IsOpen());
    for (int i = 0; i < 200 && dialog->hWaveOut.IsOpen(); ++i) {
        if (waves.Lent(WaveDirection::Output) == 0)
            dialog->EvTimer(TIMER_PLAYSTART);  // the restart timer's tick
        waves.Tick();
        Pump();
    }
    EXPECT_FALSE(dialog->hWaveOut.IsOpen());
    EXPECT_TRUE(ui.messageBoxes.empty());
    const WAVEFORMATEX& coded = *adpcm.format.Get();
    // The decoded audio, then half a second of silence after the last block.
    const double expected = double(length) * 16000 / coded.nAvgBytesPerSec + 8000;
    EXPECT_NEAR(expected, double(waves.played.size()), 2 * 3200.0);
    EXPECT_EQ(length, dialog->CurrentFile->GetPosition());
    dialog->CurrentFile.reset();
    DeleteFileA(path.c_str());
}

}  // namespace

namespace {

TEST_F(CaptureWindowTest, RecordRequestDuringABusyTransportIsPostedAgain)
{
    const std::string path = TempWavePath("capture_busy.wav");
    UseNewWaveFile(path, PcmFormat(1, 8000, 16));
    dialog->BeginTransportBusy();  // as while a start or stop pumps messages
    dialog->Listen();
    dialog->Listen();
    Pump();  // a pump inside the busy operation must not run the request
    EXPECT_FALSE(dialog->Recording);
    EXPECT_EQ(0, waves.Count("waveInOpen"));
    dialog->EndTransportBusy();
    Pump();  // the request comes back, once, as command 150
    EXPECT_TRUE(dialog->Recording);
    EXPECT_EQ(1, waves.Count("waveInOpen"));
    dialog->StopCapture();
    dialog->CurrentFile.reset();
    DeleteFileA(path.c_str());
}


// A second copy's open request or a recent file chosen inside a pump of the
// capture keeps the recording's file until the transport is free; then the
// recording stops into it and the new file opens.
TEST_F(CaptureWindowTest, OpenRequestDuringABusyTransportWaitsForIt)
{
    const std::string recording = TempWavePath("capture_open_busy.wav");
    const std::string next = TempWavePath("capture_open_next.wav");
    UseNewWaveFile(recording, PcmFormat(1, 8000, 16));
    Tone10(waves);
    dialog->Listen();
    Capture(2);
    const RecFile* file = dialog->CurrentFile.get();
    dialog->BeginTransportBusy();  // as inside a restart's pump
    dialog->RequestOpenFile(next.c_str());
    Pump();
    EXPECT_EQ(file, dialog->CurrentFile.get());
    EXPECT_TRUE(dialog->Recording);
    EXPECT_EQ(0, waves.Count("waveInClose"));
    dialog->EndTransportBusy();
    Pump();
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_EQ(next, dialog->CurrentFile->GetPath());
    EXPECT_FALSE(dialog->Recording);
    EXPECT_FALSE(ReadBack(recording).empty());
    dialog->CurrentFile.reset();
    DeleteFileA(recording.c_str());
    DeleteFileA(next.c_str());
}

}  // namespace

namespace {

TEST_F(CaptureWindowTest, FileLimitIsAskedForOncePerRecording)
{
    AppState.FileAction = 3;  // new file
    AppState.FileSizeSel = 0;
    AppState.FileSize = 1;  // MB
    const std::string path = TempWavePath("capture_limit.wav");
    WAVEFORMATEX fast = PcmFormat(2, 96000, 16);  // 76800 bytes per buffer
    UseNewWaveFile(path, fast);
    waves.Tone(20, 440);
    dialog->Listen();
    int limitRequests = 0;
    for (int i = 0; i < 20; ++i) {
        waves.Tick();
        MSG msg;
        while (PeekMessageA(&msg, dialog->GetHandle(), MM_WIM_DATA, MM_WIM_DATA, PM_REMOVE))
            DispatchMessageA(&msg);
        while (PeekMessageA(&msg, dialog->GetHandle(), WM_FILELIMIT, WM_FILELIMIT, PM_REMOVE))
            ++limitRequests;
    }
    EXPECT_GE(dialog->CurrentFile->GetDataLength(), 1048576u);
    EXPECT_EQ(1, limitRequests);
    dialog->StopCapture();
    dialog->CurrentFile.reset();
    DeleteFileA(path.c_str());
}

TEST(CaptureLimits, LoopingFileIsMeasuredAtItsWritePosition)
{
    const std::string path = TempWavePath("capture_loop.wav");
    const WAVEFORMATEX format = PcmFormat(1, 8000, 16);
    WaveFile file(path.c_str(), &format, MMIO_CREATE | MMIO_READWRITE);
    ASSERT_TRUE(file.Open());
    const std::vector<uint8_t> block(16000, 1);
    ASSERT_EQ(16000, file.Write(block.data(), 16000));
    file.SetOverwrite(true);
    ASSERT_TRUE(file.Position(0));
    ASSERT_EQ(4000, file.Write(block.data(), 4000));
    AppState.FileAction = 1;
    EXPECT_EQ(4000u, TAppDialog::FileProgressOf(file).units);  // not the 16000 the data keeps
    EXPECT_EQ(0u, TAppDialog::FileProgressOf(file).seconds);
    AppState.FileAction = 3;
    EXPECT_EQ(16000u, TAppDialog::FileProgressOf(file).units);
    AppState.Reset();
    file.Close();
    DeleteFileA(path.c_str());
}

}  // namespace

namespace {

int segmentsEnded = 0;

LRESULT CALLBACK CountSegmentEnds(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_SEGMENTENDED && wp == 1 && lp == 1)
        ++segmentsEnded;
    return DefWindowProcA(hwnd, msg, wp, lp);
}

// The window named with /N: counts the segment-ended notices it gets.
HWND MakeNotifyWindow()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = CountSegmentEnds;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "CaptureTestNotify";
    RegisterClassA(&wc);
    segmentsEnded = 0;
    return CreateWindowA("CaptureTestNotify", "", 0, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
}

void QuietThenLoud(FakeWaveDevices& f)
{
    f.Tone(8, 300, 0.05);  // 5 % of full scale: below the threshold, kept before the trigger
    f.Tone(3, 1000, 0.8);
    f.Silence(6);
}

TEST_F(CaptureWindowTest, SegmentBringsItsPretriggerTellsTheNotifyWindowAndRunsTheCommand)
{
    AppState.VoxDisable = false;
    AppState.SoundLevel = 20;
    AppState.TalkOff2 = 1;
    AppState.Pretrigger = 1;  // five buffers of 200 ms
    AppState.VoxCommand = "notify.exe";
    HWND notified = MakeNotifyWindow();
    AppState.NotifyWindow = notified;
    const std::string path = TempWavePath("capture_pretrigger.wav");
    UseNewWaveFile(path, PcmFormat(1, 8000, 16));
    QuietThenLoud(waves);
    const int64_t before = static_cast<int64_t>(time(nullptr));
    dialog->Listen();
    Capture(17);
    dialog->StopCapture();

    // Buffers 3-7 of the quiet sound, then the three loud ones and four of hang time.
    const std::vector<uint8_t> script = Scripted(QuietThenLoud, PcmFormat(1, 8000, 16), 17);
    const std::vector<uint8_t> expected(script.begin() + 3 * 3200, script.begin() + 15 * 3200);
    dialog->CurrentFile->Position(0);
    std::vector<uint8_t> written(dialog->CurrentFile->GetDataLength());
    ASSERT_EQ(expected.size(), written.size());
    ASSERT_EQ(static_cast<int32_t>(written.size()),
              dialog->CurrentFile->Read(written.data(), static_cast<uint32_t>(written.size())));
    EXPECT_EQ(expected, written);
    ASSERT_EQ(1, dialog->CurrentFile->TimeCodeCount());
    EXPECT_EQ(0u, dialog->CurrentFile->GetTimeCodePos(0));
    EXPECT_GE(dialog->CurrentFile->GetTimeCodeAt(0), before - 2);  // heard a second before the trigger
    EXPECT_LE(dialog->CurrentFile->GetTimeCodeAt(0), before);
    ASSERT_EQ(1u, ui.launches.size());
    EXPECT_EQ("notify.exe", ui.launches[0].first);
    Pump();
    EXPECT_EQ(1, segmentsEnded);
    DestroyWindow(notified);
    dialog->CurrentFile.reset();
    DeleteFileA(path.c_str());
}

}  // namespace

namespace {

// A file opened with the read-only box takes no audio however recording is
// asked for (here the hot key's toggle, which no enabler guards): the
// recording goes into a new file and the read-only one stays as it was.
TEST_F(CaptureWindowTest, RecordingNeverGoesIntoAFileOpenedReadOnly)
{
    FilesTestFolder folder;
    CopyTextField(AppState.DefaultDirectory, folder.Path().c_str());
    AppState.SampleRate = 8000;  // the new file's format
    AppState.Resolution = true;
    const std::string kept = folder / "kept.wav";
    UseNewWaveFile(kept, PcmFormat(1, 8000, 16));
    const std::vector<char> audio(1600, 5);
    ASSERT_EQ(1600, dialog->CurrentFile->Write(audio.data(), 1600));
    dialog->CurrentFile.reset();
    const std::vector<uint8_t> before = ReadBack(kept);
    const uint64_t bytesBefore = FileSize(kept);

    ui.fileDialogAnswers = {kept};
    ui.answerReadOnly = true;
    dialog->CmOpen();
    ASSERT_TRUE(dialog->CurrentFile);
    ASSERT_TRUE(dialog->CurrentFile->IsReadOnly());
    Tone10(waves);
    Send(WM_TOGGLERECORD);
    ASSERT_TRUE(dialog->Recording);
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_NE(kept, dialog->CurrentFile->GetPath());
    EXPECT_FALSE(dialog->CurrentFile->IsReadOnly());
    Capture(3);
    EXPECT_TRUE(dialog->Recording);
    Send(WM_TOGGLERECORD);
    EXPECT_FALSE(dialog->Recording);
    EXPECT_GT(dialog->CurrentFile->GetDataLength(), 0u);  // what was heard is kept
    dialog->CurrentFile->SetTemporary(false);
    dialog->CurrentFile.reset();
    EXPECT_EQ(before, ReadBack(kept));
    EXPECT_EQ(bytesBefore, FileSize(kept));
}

}  // namespace
