// Playback beside recording and the other transport requests, on the
// scripted devices: one transport state, play at speed chosen while playing,
// Play after a recording in record mode 4, where each road to play begins,
// requests asked for while busy and the keys of the Back and Forward moves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/PrivateMessages.h"
#include "recorder/playback/TransportKeys.h"
#include "resources/ResourceIds.h"
#include "tests/recorder/FilesTestFolder.h"
#include "tests/recorder/CaptureWindowFixture.h"

namespace {

// 8000 Hz 16-bit mono: 16000 bytes a second, 3200 bytes a block; the
// silence after the last block is 8000 bytes.
constexpr uint32_t kSecondBytes = 16000;
constexpr uint32_t kBlockBytes = 3200;
constexpr uint32_t kEndSilenceBytes = 8000;

class PlayTransportTest : public CaptureWindowTest {
protected:
    void SetUp() override
    {
        CaptureWindowTest::SetUp();
        path = TempWavePath("play_transport_test.wav");
        UseNewWaveFile(path, PcmFormat(1, 8000, 16));
        std::vector<char> audio(4 * kSecondBytes);  // 4 s of 440 Hz
        for (uint32_t i = 0; i + 1 < audio.size(); i += 2) {
            const auto s = static_cast<int16_t>(10000 * std::sin(2 * 3.14159265358979 * 440 * (i / 2) / 8000.0));
            std::memcpy(&audio[i], &s, 2);
        }
        ASSERT_EQ(int32_t(audio.size()), dialog->CurrentFile->Write(audio.data(), uint32_t(audio.size())));
        ASSERT_TRUE(dialog->CurrentFile->Update());
        dialog->Position(0, true);
        waves.Tone(40, 500);
    }
    void TearDown() override
    {
        dialog->CurrentFile.reset();
        CaptureWindowTest::TearDown();
        DeleteFileA(path.c_str());
    }
    void PlayToTheEnd()
    {
        for (int i = 0; i < 400 && dialog->hWaveOut.IsOpen(); ++i) {
            waves.Tick();
            Pump();
        }
    }

    std::string path;
};

// A recording started while playing ends the playback completely: no move,
// no second copy's /X and no settings reload during the recording plays the
// file again.
TEST_F(PlayTransportTest, RecordingStartedWhilePlayingEndsThePlayback)
{
    Send(WM_COMMAND, CM_PLAY);
    waves.Tick();
    Pump();
    Send(WM_TOGGLERECORD);
    ASSERT_TRUE(dialog->Recording);
    EXPECT_FALSE(dialog->Playing);
    EXPECT_FALSE(dialog->hWaveOut.IsOpen());
    Capture(2);
    Send(WM_SETTINGSCHANGED);
    EXPECT_TRUE(dialog->Recording);
    Send(WM_COMMAND, CM_FORWARD1SECOND);
    EXPECT_FALSE(dialog->Recording);
    EXPECT_FALSE(dialog->Playing);
    EXPECT_FALSE(dialog->hWaveOut.IsOpen());
    Send(WM_TOGGLERECORD);
    Send(WM_REPOSITION, REMOTE_WPARAM, -1);
    EXPECT_FALSE(dialog->hWaveOut.IsOpen());
}

// Play at speed chosen while a normal play runs changes the blocks read after
// it: 5 blocks were with the device, the other 15 play at 1.5.
TEST_F(PlayTransportTest, PlayAtSpeedChosenWhilePlayingTakesEffect)
{
    AppState.PlayRate = 1.5f;
    Send(WM_COMMAND, CM_PLAY);
    Send(WM_COMMAND, CM_PLAYATSPEED);
    EXPECT_EQ(1, dialog->SpeedMode);
    PlayToTheEnd();
    const double expected = 5 * kBlockBytes + 15 * kBlockBytes / 1.5 + kEndSilenceBytes;
    EXPECT_NEAR(expected, double(waves.played.size()), expected * 0.05);
}

// Record mode 4: the stop that Play makes saves the recording and opens a
// new, empty file; what plays is the recording the user was looking at.
TEST_F(PlayTransportTest, PlayAfterARecordingInModeFourPlaysTheSavedRecording)
{
    FilesTestFolder folder;  // where new files are named
    CopyTextField(AppState.DefaultDirectory, folder.Path().c_str());
    AppState.AutoName = true;
    AppState.AutoPrompt = false;
    AppState.RecordMode = 4;
    Send(WM_TOGGLERECORD);
    Capture(3);
    Send(WM_COMMAND, CM_PLAY);
    EXPECT_TRUE(ui.messageBoxes.empty());
    // The new file the stop made was never used: none is left behind.
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder / "*.wav").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search) << found.cFileName;
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_EQ(path, dialog->CurrentFile->GetPath());
    EXPECT_TRUE(dialog->Playing);
    EXPECT_EQ(4 * kSecondBytes + 3 * kBlockBytes, dialog->CurrentFile->GetDataLength());
    Send(WM_COMMAND, CM_STOP);
}

// Record mode 4 with a temporary file that Save As moves to a new name: the
// new file takes the freed name, and the recording plays from its new name.
TEST_F(PlayTransportTest, PlayAfterARecordingMovedBySaveAsPlaysItUnderItsNewName)
{
    FilesTestFolder folder;
    CopyTextField(AppState.DefaultDirectory, folder.Path().c_str());
    AppState.AutoName = false;  // a temporary file, named by Save As when saved
    AppState.SampleRate = 8000;  // the new recording's format
    AppState.Resolution = true;
    AppState.RecordMode = 4;
    dialog->OpenFile(nullptr);
    ASSERT_TRUE(dialog->CurrentFile);
    ASSERT_EQ(folder / "~rec_1.wav", dialog->CurrentFile->GetPath());
    Send(WM_TOGGLERECORD);
    Capture(3);
    ui.fileDialogAnswers.push_back(folder / "talk.wav");
    Send(WM_COMMAND, CM_PLAY);
    EXPECT_TRUE(ui.messageBoxes.empty());
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_EQ(folder / "talk.wav", dialog->CurrentFile->GetPath());
    EXPECT_TRUE(dialog->Playing);
    Send(WM_COMMAND, CM_STOP);
    dialog->CurrentFile.reset();
    // The new file the stop made was never used: none is left behind.
    EXPECT_FALSE(PathExists(folder / "~rec_1.wav"));
}

// Every way of starting a play hands the device the file from its first
// byte: Play from the end, /P, a play after a recording (record mode 0 and
// 4), the play toggle, play at speed and a sound byte.
TEST_F(PlayTransportTest, EveryRoadToPlayBeginsAtTheFilesFirstByte)
{
    FilesTestFolder folder;  // where record mode 4 names its new file
    CopyTextField(AppState.DefaultDirectory, folder.Path().c_str());
    AppState.AutoName = true;
    AppState.AutoPrompt = false;
    AppState.PlayRate = 1.5f;
    AppState.SoundByte = 1;
    std::vector<char> first(kBlockBytes);
    ASSERT_EQ(int32_t(kBlockBytes), dialog->CurrentFile->Read(first.data(), kBlockBytes));
    const auto record = [&](int mode) {
        AppState.RecordMode = mode;
        Send(WM_TOGGLERECORD);
        Capture(3);
    };
    const auto atStart = [&] { dialog->Position(0, true); };
    const struct {
        const char* road;
        std::function<void()> before, start;
        size_t compared;  // at speed the block's first piece is copied as it is
    } roads[] = {
        {"Play at the end", [&] { dialog->Position(dialog->CurrentFile->GetLength(), true); },
         [&] { Send(WM_COMMAND, CM_PLAY); }, kBlockBytes},
        {"/P", atStart, [&] { Send(WM_STOPTHENPLAY, REMOTE_WPARAM); }, kBlockBytes},
        {"after a recording", [&] { record(0); }, [&] { Send(WM_COMMAND, CM_PLAY); }, kBlockBytes},
        {"after a recording, mode 4", [&] { record(4); }, [&] { Send(WM_COMMAND, CM_PLAY); }, kBlockBytes},
        {"play toggle", atStart, [&] { Send(WM_TOGGLEPLAY); }, kBlockBytes},
        {"at speed", atStart, [&] { Send(WM_COMMAND, CM_PLAYATSPEED); }, kBlockBytes * 3 / 2 / 8},
        {"sound byte", atStart,
         [&] { Send(WM_COMMAND, MAKEWPARAM(CM_PLAY, BN_DOUBLECLICKED), LPARAM(dialog->GetDlgItem(CM_PLAY))); },
         kBlockBytes},
    };
    for (const auto& r : roads) {
        SCOPED_TRACE(r.road);
        r.before();
        waves.played.clear();
        r.start();
        ASSERT_TRUE(dialog->Playing);
        waves.Tick();
        Pump();
        ASSERT_GE(waves.played.size(), r.compared);
        EXPECT_TRUE(std::equal(first.begin(), first.begin() + r.compared, waves.played.begin()));
        Send(WM_COMMAND, CM_STOP);
    }
    EXPECT_TRUE(ui.messageBoxes.empty());
    dialog->CurrentFile.reset();
}

// While the transport is busy every move, joystick button and record toggle
// asked for is kept: two equal moves are two moves, two presses of a
// "Rewind NO" button two steps, two toggles a recording started and stopped.
TEST_F(PlayTransportTest, MovesJoystickButtonsAndTogglesAskedWhileBusyAreEachKept)
{
    dialog->BeginTransportBusy();
    Send(WM_COMMAND, CM_FORWARD1SECOND);
    Send(WM_COMMAND, CM_FORWARD1SECOND);
    Send(WM_REPOSITION, REMOTE_WPARAM, 1);
    Send(WM_REPOSITION, REMOTE_WPARAM, 1);
    dialog->EndTransportBusy();
    Pump();
    EXPECT_EQ(4 * kSecondBytes, dialog->CurrentFile->GetPosition());
    AppState.JoyButton1 = 3;  // "Rewind NO": back 3 seconds
    dialog->BeginTransportBusy();
    for (int press = 0; press < 2; ++press) {
        Send(MM_JOY1BUTTONDOWN, JOY_BUTTON1CHG | JOY_BUTTON1);
        Send(MM_JOY1BUTTONUP, JOY_BUTTON1CHG);
    }
    dialog->EndTransportBusy();
    Pump();
    EXPECT_EQ(0u, dialog->CurrentFile->GetPosition());  // one step would leave it at 1 s
    dialog->BeginTransportBusy();
    Send(WM_TOGGLERECORD);
    Send(WM_TOGGLERECORD);
    dialog->EndTransportBusy();
    Pump();
    EXPECT_EQ(1, waves.Count("waveInOpen"));
    EXPECT_FALSE(dialog->Recording);
}

// A move takes the step of the keys held when its key press was made (the
// thread's key state), not of those held when it runs: after they were let
// go, or once a busy transport is free again.
TEST_F(PlayTransportTest, AMoveKeepsTheStepOfTheKeysItWasAskedWith)
{
    RecFile& file = *dialog->CurrentFile;
    file.AddTimeCode(0, 1000000, true);
    file.AddTimeCode(2 * kSecondBytes, 1000100, true);
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80;  // Ctrl+Left: back one segment
    ASSERT_TRUE(SetKeyboardState(keys));
    dialog->Position(3 * kSecondBytes + kSecondBytes / 2, true);
    Send(WM_COMMAND, CM_REWIND);
    EXPECT_EQ(2 * kSecondBytes, file.GetPosition());
    dialog->Position(3 * kSecondBytes + kSecondBytes / 2, true);
    dialog->BeginTransportBusy();
    Send(WM_COMMAND, CM_REWIND);
    keys[VK_CONTROL] = 0;
    ASSERT_TRUE(SetKeyboardState(keys));
    dialog->EndTransportBusy();
    Pump();
    EXPECT_EQ(2 * kSecondBytes, file.GetPosition());
}

// Left and Ctrl+Left go through the same step choice as the Back button, so
// the swap of the File page's mode word reaches the keys, and the menu names
// the key that makes each move.
TEST_F(PlayTransportTest, TheKeysAndTheMenuFollowTheSwappedSteps)
{
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDA_MAIN));
    ASSERT_NE(nullptr, table);
    ACCEL keys[64];
    const int count = CopyAcceleratorTableA(table, keys, 64);
    auto commandOf = [&](WORD key, BYTE modifiers) {
        for (int i = 0; i < count; ++i)
            if (keys[i].key == key && (keys[i].fVirt & (FSHIFT | FCONTROL | FALT)) == modifiers)
                return UINT(keys[i].cmd);
        return 0u;
    };
    EXPECT_EQ(UINT(CM_REWIND), commandOf(VK_LEFT, 0));
    EXPECT_EQ(UINT(CM_REWIND), commandOf(VK_LEFT, FCONTROL));
    EXPECT_EQ(UINT(CM_FASTFORWARD), commandOf(VK_RIGHT, 0));
    EXPECT_EQ(UINT(CM_FASTFORWARD), commandOf(VK_RIGHT, FCONTROL));
    EXPECT_STREQ("&Back 1 minute\tLeft-cursor", MoveMenuText(RepositionStep::Minute, false, 0));
    EXPECT_STREQ("Forward 1 segment\tCtrl+Right-cursor", MoveMenuText(RepositionStep::Segment, true, 0));
    EXPECT_STREQ("&Back 1 minute\tCtrl+Left-cursor", MoveMenuText(RepositionStep::Minute, false, 2));
    EXPECT_STREQ("Back 1 segment\tLeft-cursor", MoveMenuText(RepositionStep::Segment, false, 2));
    AppState.LHMode = 2;
    TCommandEnabler minute(CM_BACK1MINUTE);
    dialog->CeBack1Minute(minute);
    EXPECT_EQ("&Back 1 minute\tCtrl+Left-cursor", minute.Text().value_or(""));
}

// Sound-byte mode (a double click on Play) plays the first second of each
// segment and jumps to the next; the segment and minute moves go to the
// segment starts and the ends of the file.
TEST_F(PlayTransportTest, SoundBytesAndTheSegmentAndMinuteMoves)
{
    RecFile& file = *dialog->CurrentFile;
    file.AddTimeCode(0, 1000000, true);
    file.AddTimeCode(2 * kSecondBytes, 1000100, true);
    AppState.SoundByte = 1;
    Send(WM_COMMAND, MAKEWPARAM(CM_PLAY, BN_DOUBLECLICKED), LPARAM(dialog->GetDlgItem(CM_PLAY)));
    ASSERT_TRUE(dialog->Playing);
    PlayToTheEnd();
    EXPECT_EQ(2 * kSecondBytes + kEndSilenceBytes, waves.played.size());
    dialog->Position(3 * kSecondBytes + kSecondBytes / 2, true);
    Send(WM_COMMAND, CM_BACK1SEGMENT);
    EXPECT_EQ(2 * kSecondBytes, file.GetPosition());
    Send(WM_COMMAND, CM_BACK1SEGMENT);  // just after a segment start: the one before
    EXPECT_EQ(0u, file.GetPosition());
    Send(WM_COMMAND, CM_FORWARD1SEGMENT);
    EXPECT_EQ(2 * kSecondBytes, file.GetPosition());
    Send(WM_COMMAND, CM_FORWARD1MINUTE);
    EXPECT_EQ(4 * kSecondBytes, file.GetPosition());
    Send(WM_COMMAND, CM_BACK1MINUTE);
    EXPECT_EQ(0u, file.GetPosition());
}

// A second copy's flush while recording leaves the recording going; its
// stop-and-save ends the recording in the file.
TEST_F(PlayTransportTest, FlushAndStopAndSaveWhileRecording)
{
    Send(WM_TOGGLERECORD);
    Capture(3);
    Send(WM_FLUSHFILES);
    EXPECT_TRUE(dialog->Recording);
    EXPECT_EQ(1, waves.OpenDevices(WaveDirection::Input));
    Capture(2);
    Send(WM_STOPANDSAVE);
    EXPECT_FALSE(dialog->Recording);
    EXPECT_EQ(0, waves.OpenDevices(WaveDirection::Input));
    EXPECT_FALSE(dialog->CurrentFile);
    EXPECT_EQ(4 * kSecondBytes + 5 * kBlockBytes, ReadBack(path).size());
}

}  // namespace
