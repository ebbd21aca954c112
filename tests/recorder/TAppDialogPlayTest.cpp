// Playback on the scripted output device: the ring of five buffers, the end
// of the file in each record mode, play at speed, and the moves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/PrivateMessages.h"
#include "core/SMsg.h"
#include "audiofile/OggVorbisFile.h"
#include "recorder/controls/CoolButton.h"
#include "resources/ResourceIds.h"
#include "tests/audiofile/OggTestSupport.h"
#include "tests/recorder/CaptureWindowFixture.h"

namespace {

// 8000 Hz 16-bit mono: a playback block is 3200 bytes; the silence after
// the last block, half a second, 8000 bytes.
constexpr uint32_t kBlockBytes = 3200;
constexpr uint32_t kEndSilenceBytes = 8000;

// What the device is given for a file: its audio, then the silence.
std::vector<char> ThenSilence(std::vector<char> audio, size_t silence = kEndSilenceBytes)
{
    audio.resize(audio.size() + silence, 0);
    return audio;
}

std::vector<char> Sine(uint32_t bytes, double hz)
{
    std::vector<char> data(bytes);
    for (uint32_t i = 0; i + 1 < bytes; i += 2) {
        const auto s = static_cast<int16_t>(10000 * std::sin(2 * 3.14159265358979 * hz * (i / 2) / 8000.0));
        std::memcpy(&data[i], &s, 2);
    }
    return data;
}

// Reads stop short of the data length, as in a file whose data chunk was cut.
class CutWaveFile : public WaveFile {
public:
    CutWaveFile(const char* path, uint32_t readable) : WaveFile(path, nullptr, MMIO_READWRITE), readable_(readable) {}
    int32_t Read(void* data, uint32_t bytes) override
    {
        const uint32_t at = GetPosition();
        if (at >= readable_)
            return 0;
        return WaveFile::Read(data, std::min(bytes, readable_ - at));
    }

private:
    uint32_t readable_;
};

class PlayTest : public CaptureWindowTest {
protected:
    void SetUp() override
    {
        CaptureWindowTest::SetUp();
        path = TempWavePath("play_test.wav");
        UseNewWaveFile(path, PcmFormat(1, 8000, 16));
        audio = Sine(7 * kBlockBytes + 1600, 440);
        ASSERT_EQ(int32_t(audio.size()), dialog->CurrentFile->Write(audio.data(), uint32_t(audio.size())));
        ASSERT_TRUE(dialog->CurrentFile->Update());
        dialog->Position(0, true);
    }
    void TearDown() override
    {
        dialog->CurrentFile.reset();
        CaptureWindowTest::TearDown();
        DeleteFileA(path.c_str());
    }
    // Ticks the devices until playback has ended (or a bound is reached).
    void PlayToTheEnd()
    {
        for (int i = 0; i < 200 && dialog->hWaveOut.IsOpen(); ++i) {
            waves.Tick();
            Pump();
        }
    }

    std::string path;
    std::vector<char> audio;
};

TEST_F(PlayTest, PlaysTheWholeFileThroughFiveBuffersAndStopsAtTheEnd)
{
    Send(WM_COMMAND, CM_PLAY);
    ASSERT_TRUE(dialog->Playing);
    EXPECT_EQ(1, waves.OpenDevices(WaveDirection::Output));
    EXPECT_EQ(5u, waves.Lent(WaveDirection::Output));
    EXPECT_EQ(kBlockBytes, dialog->Ring.Header(0).dwBufferLength);
    EXPECT_EQ(WAVE_MAPPER, waves.lastDeviceId);
    EXPECT_EQ(CALLBACK_WINDOW | WAVE_ALLOWSYNC, waves.lastOpenFlags);
    // The last block came back: the silence after it is still with the
    // device, so the end of the file is heard before the play ends.
    while (waves.played.size() < audio.size() && waves.Tick() > 0)
        Pump();
    ASSERT_EQ(audio.size(), waves.played.size());
    EXPECT_TRUE(dialog->Playing);
    EXPECT_EQ(1u, waves.Lent(WaveDirection::Output));
    PlayToTheEnd();
    EXPECT_FALSE(dialog->hWaveOut.IsOpen());
    EXPECT_FALSE(dialog->Playing);
    const std::vector<char> expected = ThenSilence(audio);
    EXPECT_EQ(expected.size(), waves.played.size());
    for (size_t k = 0; k < expected.size() && k < waves.played.size(); ++k)
        if (expected[k] != waves.played[k]) { ADD_FAILURE() << "first difference at " << k; break; }
    EXPECT_EQ(uint32_t(audio.size()), dialog->CurrentFile->GetPosition());
    // The device is not reset at the end: it stays open, holding no buffer,
    // until its tail timer closes it, so the last buffer is heard whole.
    EXPECT_EQ(0, waves.Count("waveOutReset"));
    EXPECT_EQ(1, waves.OpenDevices(WaveDirection::Output));
    EXPECT_EQ(0u, waves.Lent(WaveDirection::Output));
    Send(WM_TIMER, TIMER_PLAYTAIL);
    EXPECT_EQ(0, waves.OpenDevices(WaveDirection::Output));
    // Play at the end starts from the beginning; playing again closes a
    // tail still open before the device is opened anew.
    waves.played.clear();
    Send(WM_COMMAND, CM_PLAY);
    PlayToTheEnd();
    EXPECT_EQ(expected, waves.played);
    Send(WM_COMMAND, CM_PLAY);
    EXPECT_EQ(1, waves.OpenDevices(WaveDirection::Output));
    Send(WM_COMMAND, CM_STOP);
}

TEST_F(PlayTest, TheLastDeviceOfTheChosenNameIsUsed)
{
    waves.outputNames = {"Speakers", "Headset", "Speakers"};
    CopyTextField(AppState.WaveOutDriver, "Speakers");
    Send(WM_COMMAND, CM_PLAY);
    EXPECT_EQ(2u, waves.lastDeviceId);
}

TEST_F(PlayTest, StopPutsTheFileAtTheEndOfWhatWasHeard)
{
    Send(WM_COMMAND, CM_PLAY);
    waves.Ticks(2);
    Pump();
    Send(WM_COMMAND, CM_STOP);
    EXPECT_FALSE(dialog->hWaveOut.IsOpen());
    EXPECT_EQ(2 * kBlockBytes, dialog->CurrentFile->GetPosition());
    EXPECT_EQ(0u, waves.Lent(WaveDirection::Output));
    // A stop before the end silences the device at once.
    EXPECT_EQ(1, waves.Count("waveOutReset"));
    EXPECT_EQ(0, waves.OpenDevices(WaveDirection::Output));
}

// Every buffer handed to the device is counted when the playback ends:
// played, cut short by the stop, or lost when the device never gives it
// back while it gives back the ones after it.
TEST_F(PlayTest, TheBufferTallyCountsABufferTheDeviceNeverGaveBack)
{
    const std::string log = TempWavePath("play_tally.log");
    CopyTextField(AppState.LogPath, log.c_str());
    Send(WM_COMMAND, CM_PLAY);
    waves.Tick();  // the first comes back; its slot takes the sixth block
    Pump();
    waves.keepOutput = 1;  // the second never comes back
    waves.Ticks(4);
    Pump();
    Send(WM_COMMAND, CM_STOP);
    Send(WM_COMMAND, CM_PLAY);
    waves.Tick();
    Pump();
    Send(WM_COMMAND, CM_STOP);
    dialog->Position(0, true);
    Send(WM_COMMAND, CM_PLAY);
    PlayToTheEnd();
    std::ifstream in(log, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    DeleteFileA(log.c_str());
    const size_t kept = text.find("Play buffers: 6 handed, 5 played, 0 cut by the stop, 1 lost");
    const size_t stopped = text.find("Play buffers: 6 handed, 1 played, 5 cut by the stop, 0 lost", kept);
    // The whole file: eight blocks and the silence after them.
    const size_t whole = text.find("Play buffers: 9 handed, 9 played, 0 cut by the stop, 0 lost", stopped);
    EXPECT_TRUE(kept != std::string::npos && stopped != std::string::npos && whole != std::string::npos) << text;
}

TEST_F(PlayTest, TheEndOfTheFileStopsOrRecordsAgainInEchoMode)
{
    AppState.SampleRate = 8000;  // the new recording's format
    AppState.Resolution = true;
    for (int mode : {0, 4, 1}) {
        SCOPED_TRACE(mode);
        AppState.RecordMode = mode;
        dialog->Position(0, true);
        Send(WM_COMMAND, CM_PLAY);
        PlayToTheEnd();
        EXPECT_FALSE(dialog->hWaveOut.IsOpen());
        EXPECT_EQ(mode == 1, dialog->Recording != 0);
    }
    // Echo mode: the file the user had (a named one) is kept on disk and the
    // new recording goes into a file of its own.
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_NE(path, dialog->CurrentFile->GetPath());
    Send(WM_COMMAND, CM_STOP);
    WaveFile kept(path.c_str(), nullptr, MMIO_READ);
    ASSERT_TRUE(kept.Open());
    EXPECT_EQ(uint32_t(audio.size()), kept.GetDataLength());
    const std::string made = dialog->CurrentFile->GetPath();
    dialog->CurrentFile.reset();
    DeleteFileA(made.c_str());
}

TEST_F(PlayTest, PlaybackEndsWhenReadsStopBeforeTheLength)
{
    dialog->CurrentFile.reset();
    dialog->CurrentFile = std::make_unique<CutWaveFile>(path.c_str(), 2 * kBlockBytes + 100);
    ASSERT_TRUE(dialog->CurrentFile->Open());
    Send(WM_COMMAND, CM_PLAY);
    PlayToTheEnd();
    EXPECT_FALSE(dialog->hWaveOut.IsOpen());
    EXPECT_EQ(2 * kBlockBytes + 100 + kEndSilenceBytes, waves.played.size());
}

TEST_F(PlayTest, AtSpeedTheBlocksShortenOrLengthen)
{
    for (float rate : {1.5f, 0.7f}) {
        SCOPED_TRACE(rate);
        waves.played.clear();
        AppState.PlayRate = rate;
        dialog->Position(0, true);
        Send(WM_COMMAND, CM_PLAYATSPEED);
        EXPECT_EQ(1, dialog->SpeedMode);
        PlayToTheEnd();
        EXPECT_EQ(0, dialog->SpeedMode);
        const double expected = audio.size() / rate + kEndSilenceBytes;  // the silence plays as it is
        EXPECT_NEAR(expected, double(waves.played.size()), expected * 0.10);
    }
}

TEST_F(PlayTest, SpeedCommandsKeepTheirBoundsAndApplyWhilePlaying)
{
    AppState.PlayRate = 1.95f;
    Send(WM_COMMAND, CM_SPEEDUP);
    EXPECT_FLOAT_EQ(2.0f, AppState.PlayRate);
    EXPECT_EQ(0, dialog->SpeedMode);  // not playing: only the rate
    AppState.PlayRate = 0.25f;
    Send(WM_COMMAND, CM_PLAY);
    Send(WM_COMMAND, CM_SPEEDDOWN);
    EXPECT_FLOAT_EQ(0.2f, AppState.PlayRate);
    EXPECT_EQ(1, dialog->SpeedMode);
}

TEST_F(PlayTest, ABusyOutputDeviceIsReported)
{
    waves.Fail(WaveCall::Open, MMSYSERR_ALLOCATED);
    Send(WM_COMMAND, CM_PLAY);
    EXPECT_FALSE(dialog->Playing);
    ASSERT_EQ(1u, ui.messageBoxes.size());
    EXPECT_NE(std::string::npos, ui.messageBoxes[0].text.find("wave output device not available"));
}

TEST_F(PlayTest, MovesBySecondsCommentsAndTheJoystick)
{
    RecFile& file = *dialog->CurrentFile;
    // Forward by comment without comments stays where it is.
    dialog->Position(8000, true);
    Send(WM_COMMAND, CM_FORWARD1COMMENT);
    EXPECT_EQ(8000u, file.GetPosition());
    file.AddComment("here", 20000, 0);
    Send(WM_COMMAND, CM_FORWARD1COMMENT);
    EXPECT_EQ(20000u, file.GetPosition());
    // A second copy's /X -1 and the joystick's three-second steps.
    Send(WM_REPOSITION, REMOTE_WPARAM, -1);
    EXPECT_EQ(20000u - 16000u, file.GetPosition());
    AppState.JoyButton1 = 3;  // "Rewind NO"
    Send(MM_JOY1BUTTONDOWN, JOY_BUTTON1CHG | JOY_BUTTON1);
    EXPECT_EQ(0u, file.GetPosition());  // near the start: to 0, never round to the end
    AppState.JoyButton2 = 8;  // "Fast-forward NC"
    Send(MM_JOY1BUTTONDOWN, JOY_BUTTON2CHG | JOY_BUTTON2);
    EXPECT_EQ(0u, file.GetPosition());
    Send(MM_JOY1BUTTONUP, JOY_BUTTON2CHG);
    EXPECT_EQ(uint32_t(audio.size()), file.GetPosition());  // at most the end
}

TEST_F(PlayTest, JoystickRecordNormallyOpenAndNormallyClosed)
{
    CopyTextField(AppState.DefaultDirectory, "");
    waves.Tone(20, 500);
    AppState.JoyButton1 = 1;  // "Record NO"
    Send(MM_JOY1BUTTONDOWN, JOY_BUTTON1CHG | JOY_BUTTON1);
    EXPECT_TRUE(dialog->Recording);
    Send(MM_JOY1BUTTONUP, JOY_BUTTON1CHG);
    EXPECT_FALSE(dialog->Recording);
    AppState.JoyButton1 = 5;  // "Record NC"
    Send(MM_JOY1BUTTONDOWN, JOY_BUTTON1CHG | JOY_BUTTON1);
    EXPECT_FALSE(dialog->Recording);
    Send(MM_JOY1BUTTONUP, JOY_BUTTON1CHG);
    EXPECT_TRUE(dialog->Recording);
    Send(WM_COMMAND, CM_STOP);
}

TEST_F(PlayTest, TogglePlayAndStopTransportWhileIdle)
{
    const int stopState = dialog->StopButton->GetState();
    EXPECT_EQ(0, Send(WM_STOPTRANSPORT));
    EXPECT_EQ(stopState, dialog->StopButton->GetState());
    Send(WM_TOGGLEPLAY);
    EXPECT_TRUE(dialog->hWaveOut.IsOpen());
    Send(WM_TOGGLEPLAY);
    EXPECT_FALSE(dialog->hWaveOut.IsOpen());
}

}  // namespace

namespace {

// Windows ending the session inside a start: the recording is finished in
// its file when the start is done, not under it.
TEST_F(PlayTest, AnEndOfSessionDuringAStartWaitsForIt)
{
    waves.Tone(10, 500);
    Send(WM_TOGGLERECORD);
    ASSERT_TRUE(dialog->Recording);
    Capture(3);
    dialog->BeginTransportBusy();
    dialog->EndSession();
    EXPECT_TRUE(dialog->Recording);
    EXPECT_TRUE(dialog->CurrentFile);
    dialog->EndTransportBusy();
    Pump();
    EXPECT_FALSE(dialog->Recording);
    EXPECT_FALSE(dialog->CurrentFile);
    WaveFile kept(path.c_str(), nullptr, MMIO_READ);
    ASSERT_TRUE(kept.Open());
    EXPECT_EQ(uint32_t(audio.size()) + 3 * kBlockBytes, kept.GetDataLength());
}

}  // namespace

namespace {

// An Ogg Vorbis file decodes itself: what it plays is its own samples, as
// long as the file lasts.
TEST_F(PlayTest, AnOggVorbisFilePlaysItsDecodedSamples)
{
    const std::string ogg = TempWavePath("play_test.ogg");
    {
        const WAVEFORMATEX format = CodecFormat(kVorbisFormatTag, 2, 44100);
        OggVorbisFile file(ogg.c_str(), &format, 4, MMIO_CREATE | MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(WriteTone(file, 2.0, 2, 44100, 4410));
        file.SetTemporary(false);
        ASSERT_TRUE(file.Close());
    }
    dialog->CurrentFile.reset();
    dialog->OpenFile(ogg.c_str());
    ASSERT_TRUE(dialog->CurrentFile);
    ASSERT_EQ(ftOgg, dialog->CurrentFile->GetFileType());
    const uint32_t frames = dialog->CurrentFile->GetLength();
    ASSERT_NEAR(frames, 2 * 44100, 2048);
    Send(WM_COMMAND, CM_PLAY);
    ASSERT_TRUE(dialog->Playing);
    PlayToTheEnd();
    EXPECT_FALSE(dialog->Playing);
    EXPECT_TRUE(ui.messageBoxes.empty());
    // Every frame was played, and it is the tone (the left channel peaks
    // near 12000), not silence.
    EXPECT_EQ(size_t(frames) * 4 + 44100 * 4 / 2, waves.played.size());
    int peak = 0;
    for (size_t i = 0; i + 1 < waves.played.size(); i += 4) {
        int16_t left;
        std::memcpy(&left, &waves.played[i], 2);
        peak = std::max(peak, std::abs(int(left)));
    }
    EXPECT_GT(peak, 9000);
    EXPECT_EQ(frames, dialog->CurrentFile->GetPosition());
    dialog->CurrentFile.reset();
    DeleteFileA(ogg.c_str());
}

// A file none of whose audio can be read is refused with a message; the
// device is not left playing silence.
TEST_F(PlayTest, AFileThatCannotBeReadIsRefusedNotPlayedAsSilence)
{
    dialog->CurrentFile.reset();
    dialog->CurrentFile = std::make_unique<CutWaveFile>(path.c_str(), 0);
    ASSERT_TRUE(dialog->CurrentFile->Open());
    ASSERT_GT(dialog->CurrentFile->GetDataLength(), 0u);
    Send(WM_COMMAND, CM_PLAY);
    Pump();
    ASSERT_EQ(1u, ui.messageBoxes.size());
    EXPECT_EQ(SMsg::TextOf(IDS_CANTPLAYFILE), ui.messageBoxes[0].text);
    EXPECT_FALSE(dialog->Playing);
    EXPECT_FALSE(dialog->hWaveOut.IsOpen());
    EXPECT_EQ(0u, waves.Lent(WaveDirection::Output));
    EXPECT_TRUE(waves.played.empty());
}

}  // namespace
