#include "recorder/window/TAppDialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/PrivateMessages.h"
#include "framework/Application.h"
#include "recorder/controls/CoolButton.h"
#include "tests/recorder/CaptureWindowFixture.h"

namespace {

// The data chunk's size as the file on disk says it, read beside the open
// recording: what another program would see after a stop.
uint32_t DataSizeOnDisk(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, file);
    std::vector<char> bytes(4096);
    DWORD got = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    for (DWORD at = 12; at + 8 <= got;) {
        uint32_t size = 0;
        std::memcpy(&size, &bytes[at + 4], 4);
        if (std::memcmp(&bytes[at], "data", 4) == 0)
            return size;
        at += 8 + size + (size & 1);
    }
    return 0xFFFFFFFFu;
}

// Every test records into a new 8000 Hz 16-bit mono file; the device plays
// a tone.
class TransportTest : public CaptureWindowTest {
protected:
    void SetUp() override
    {
        CaptureWindowTest::SetUp();
        path = TempWavePath("transport_test.wav");
        UseNewWaveFile(path, PcmFormat(1, 8000, 16));
        waves.Tone(20, 500);
    }
    void TearDown() override
    {
        CaptureWindowTest::TearDown();
        DeleteFileA(path.c_str());
    }

    std::string path;
};

// 8000 Hz 16-bit mono: 3200 bytes per 200 ms buffer.
constexpr uint32_t kBufferBytes = 3200;

TEST_F(TransportTest, ToggleRecordStartsAndStopsAndTheFileOnDiskIsComplete)
{
    waves.bytesCapturedAtStop = 1000;
    EXPECT_EQ(0, Send(WM_TOGGLERECORD));
    ASSERT_TRUE(dialog->Recording);
    EXPECT_EQ(1, waves.OpenDevices(WaveDirection::Input));
    Capture(4);
    EXPECT_EQ(0, Send(WM_TOGGLERECORD));
    EXPECT_FALSE(dialog->Recording);
    EXPECT_EQ(0, waves.OpenDevices(WaveDirection::Input));
    EXPECT_EQ(CoolButton::kPressed, dialog->StopButton->GetState());
    // Everything captured, tail included, and the header says so without a close.
    EXPECT_EQ(4 * kBufferBytes + 1000, dialog->CurrentFile->GetDataLength());
    EXPECT_EQ(4 * kBufferBytes + 1000, DataSizeOnDisk(path));
    EXPECT_EQ(dialog->CurrentFile->GetDataLength(), dialog->CurrentFile->GetPosition());
}

TEST_F(TransportTest, StopTransportActsOnlyWhileRecording)
{
    struct Case {
        const char* name;
        bool recording;
    };
    for (const Case& c : {Case{"idle", false}, Case{"recording", true}}) {
        SCOPED_TRACE(c.name);
        if (c.recording) {
            Send(WM_TOGGLERECORD);
            Capture(2);
        }
        const int closesBefore = waves.Count("waveInClose");
        const int stateBefore = dialog->StopButton->GetState();
        EXPECT_EQ(0, Send(WM_STOPTRANSPORT, REMOTE_WPARAM, 0));
        EXPECT_FALSE(dialog->Recording);
        EXPECT_EQ(c.recording ? closesBefore + 1 : closesBefore, waves.Count("waveInClose"));
        if (!c.recording) {
            EXPECT_EQ(stateBefore, dialog->StopButton->GetState());  // not even a repaint
        }
    }
    EXPECT_EQ(2 * kBufferBytes, DataSizeOnDisk(path));  // the held-back buffer too
}

TEST_F(TransportTest, StopDuringABusyTransportRunsWhenItEnds)
{
    Send(WM_TOGGLERECORD);
    Capture(2);
    dialog->BeginTransportBusy();  // as inside a pump of Listen or a restart
    Send(WM_STOPTRANSPORT, REMOTE_WPARAM, 0);
    Send(WM_TOGGLERECORD);
    EXPECT_TRUE(dialog->Recording);
    EXPECT_EQ(1, waves.OpenDevices(WaveDirection::Input));
    dialog->EndTransportBusy();
    Pump();
    // The stop ran once; the toggle that came after it then started again.
    EXPECT_EQ(1, waves.Count("waveInClose"));
    EXPECT_TRUE(dialog->Recording);
    Send(WM_STOPTRANSPORT, REMOTE_WPARAM, 0);
    EXPECT_FALSE(dialog->Recording);
}

// Closing while recording: the recording ends in its file before the file
// is saved; inside a busy start or stop the close waits for it instead.
TEST_F(TransportTest, ClosingStopsTheRecordingIntoItsFileFirst)
{
    waves.bytesCapturedAtStop = 1000;
    Send(WM_TOGGLERECORD);
    Capture(2);
    const RecFile* file = dialog->CurrentFile.get();
    dialog->BeginTransportBusy();
    EXPECT_FALSE(dialog->CanClose());
    EXPECT_EQ(file, dialog->CurrentFile.get());
    EXPECT_TRUE(dialog->Recording);
    dialog->DeferredRequests.clear();  // the close it kept would end the test's frame
    dialog->EndTransportBusy();

    EXPECT_TRUE(dialog->CanClose());
    EXPECT_FALSE(dialog->CurrentFile);
    EXPECT_EQ(0, waves.OpenDevices(WaveDirection::Input));
    EXPECT_EQ(2 * kBufferBytes + 1000, DataSizeOnDisk(path));
}

// Save As by copy while recording: the recording ends in the first file,
// so the copy holds every byte captured.
TEST_F(TransportTest, SaveAsCopyWhileRecordingCopiesTheWholeRecording)
{
    waves.bytesCapturedAtStop = 1000;
    Send(WM_TOGGLERECORD);
    Capture(2);
    const std::string copy = TempWavePath("transport_copy.wav");
    ASSERT_TRUE(dialog->SaveFile(copy.c_str(), false));
    EXPECT_FALSE(dialog->Recording);
    EXPECT_EQ(0, waves.OpenDevices(WaveDirection::Input));
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_EQ(copy, dialog->CurrentFile->GetPath());
    EXPECT_EQ(2 * kBufferBytes + 1000, dialog->CurrentFile->GetDataLength());
    EXPECT_EQ(2 * kBufferBytes + 1000, DataSizeOnDisk(path));
    dialog->DiscardFile();
    DeleteFileA(copy.c_str());
}

// Requests kept during a busy start or stop run in the order of their
// latest asking, so the last one decides.
TEST_F(TransportTest, TheLastRequestKeptWhileBusyDecides)
{
    dialog->BeginTransportBusy();
    dialog->Listen();
    dialog->CmStop();
    dialog->Listen();
    dialog->EndTransportBusy();
    Pump();
    EXPECT_TRUE(dialog->Recording);
    EXPECT_EQ(1, waves.OpenDevices(WaveDirection::Input));
}

// The stop closes the codec stream, which pumps messages: a record request
// arriving then starts after the stop, not inside it with the window
// believing it stopped.
TEST_F(TransportTest, ARecordRequestDuringTheStopsPumpStartsAfterIt)
{
    TApplication app("transport test");  // its pump runs inside the stop
    AppState.CodecsAvailable = true;
    Send(WM_TOGGLERECORD);
    Capture(2);
    PostMessageA(dialog->GetHandle(), WM_COMMAND, CM_RECORD, 0);
    Send(WM_TOGGLERECORD);
    Pump();
    EXPECT_TRUE(dialog->Recording);
    EXPECT_EQ(1, waves.OpenDevices(WaveDirection::Input));
    EXPECT_EQ(1, waves.Count("waveInClose"));
    Send(WM_TOGGLERECORD);
    EXPECT_FALSE(dialog->Recording);
    EXPECT_EQ(0, waves.OpenDevices(WaveDirection::Input));
}

// A window that goes while recording (the program ended without a close)
// still ends the recording in its file.
TEST_F(TransportTest, AWindowDestroyedWhileRecordingKeepsTheTail)
{
    waves.bytesCapturedAtStop = 1000;
    Send(WM_TOGGLERECORD);
    Capture(2);
    frame.reset();
    EXPECT_EQ(0, waves.OpenDevices(WaveDirection::Input));
    EXPECT_EQ(2 * kBufferBytes + 1000, DataSizeOnDisk(path));
}

// A record request arriving while Save As copies (its progress pumps
// messages with no current file) records into the copy once it is current.
TEST_F(TransportTest, ARecordRequestDuringACopyRecordsIntoTheCopy)
{
    TApplication app("transport test");  // its pump runs inside the copy
    Send(WM_TOGGLERECORD);
    Capture(2);
    const std::string copy = TempWavePath("transport_copy_busy.wav");
    PostMessageA(dialog->GetHandle(), WM_COMMAND, CM_RECORD, 0);
    ASSERT_TRUE(dialog->SaveFile(copy.c_str(), false));
    EXPECT_FALSE(dialog->Recording);
    Pump();
    EXPECT_TRUE(dialog->Recording);
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_EQ(copy, dialog->CurrentFile->GetPath());
    Send(WM_TOGGLERECORD);
    dialog->DiscardFile();
    DeleteFileA(copy.c_str());
}

// A user-interaction service whose next message box lets a request in, as
// the real one's message loop would.
struct PumpingUi : FakeUserInteraction {
    std::function<void()> during;
    int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) override
    {
        if (during) {
            const std::function<void()> run = std::move(during);
            during = nullptr;
            run();
        }
        return FakeUserInteraction::MessageBox(owner, text, caption, flags);
    }
};

// "Do you want to save?" answered No deletes the recording it asked about,
// never a file an open request brought in while the question was shown.
TEST_F(TransportTest, AnOpenRequestDuringTheSaveQuestionIsNotDeleted)
{
    Send(WM_TOGGLERECORD);
    Capture(2);
    Send(WM_TOGGLERECORD);
    dialog->CurrentFile->SetTemporary(true);
    const std::string other = TempWavePath("transport_other.wav");
    {
        WaveFile file(other.c_str(), dialog->FileFormat.Get(), MMIO_CREATE | MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        const char bytes[4] = {};
        ASSERT_EQ(4, file.Write(bytes, 4));
    }
    PumpingUi pumping;
    pumping.messageBoxAnswers.push_back(IDNO);
    pumping.during = [&] { dialog->RequestOpenFile(other.c_str()); };
    ScopedUi scoped{pumping};
    EXPECT_TRUE(dialog->FileCanClose());
    EXPECT_EQ(1u, pumping.messageBoxes.size());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));  // the one asked about
    Pump();
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_EQ(other, dialog->CurrentFile->GetPath());
    dialog->CurrentFile.reset();
    EXPECT_EQ(4u, DataSizeOnDisk(other));
    DeleteFileA(other.c_str());
}

// Moving a temporary recording onto another drive copies it in one go: the
// recording ends in it first rather than losing what the device captured
// meanwhile.
TEST_F(TransportTest, MovingARecordingToAnotherDriveEndsItFirst)
{
    waves.bytesCapturedAtStop = 1000;
    Send(WM_TOGGLERECORD);
    Capture(2);
    dialog->CurrentFile->SetTemporary(true);
    const std::string target = "Z:\\tmp\\transport_moved.wav";  // the temporary folder is on C:
    DeleteFileA(target.c_str());
    ASSERT_TRUE(dialog->SaveFile(target.c_str(), false));
    EXPECT_FALSE(dialog->Recording);
    EXPECT_EQ(0, waves.OpenDevices(WaveDirection::Input));
    EXPECT_EQ(2 * kBufferBytes + 1000, DataSizeOnDisk(target));
    dialog->DiscardFile();
    DeleteFileA(target.c_str());
}

TEST_F(TransportTest, NewFileAfterEachStopFinishesTheOldFile)
{
    AppState.RecordMode = 4;
    Send(WM_TOGGLERECORD);
    Capture(3);
    Send(WM_TOGGLERECORD);
    ASSERT_TRUE(dialog->CurrentFile);
    const std::string next = dialog->CurrentFile->GetPath();
    EXPECT_NE(path, next);
    EXPECT_EQ(0u, dialog->CurrentFile->GetDataLength());
    WaveFile old(path.c_str(), nullptr, MMIO_READ);
    ASSERT_TRUE(old.Open());
    EXPECT_EQ(3 * kBufferBytes, old.GetDataLength());
    old.Close();
    dialog->DiscardFile();
    DeleteFileA(next.c_str());
}

}  // namespace
