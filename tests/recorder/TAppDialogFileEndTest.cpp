// Ending a file while recording and going on: every buffer lands in exactly
// one of the two files, and the recording never pauses for good.
#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <string>
#include <vector>

#include "core/PrivateMessages.h"
#include "framework/UserInteraction.h"
#include "recorder/capture/CaptureBuffers.h"
#include "schedule/ScheduleClock.h"
#include "tests/prefs/EventBuilder.h"
#include "tests/fakes/FakeAcm.h"
#include "tests/recorder/CaptureWindowFixture.h"
#include "tests/recorder/FilesTestFolder.h"

namespace {

class FileEndTest : public CaptureWindowTest {
protected:
    void SetUp() override {
        CaptureWindowTest::SetUp();
        CopyTextField(AppState.DefaultDirectory, folder.Path().c_str());
        CopyTextField(AppState.ImprovedFilePrefix, "part");
        AppState.AutoName = true;  // final names from the start: nothing to ask
        AppState.SampleRate = 44100;
        AppState.Stereo = true;
        AppState.Resolution = true;
    }
    void TearDown() override {
        dialog->CurrentFile.reset();
        CaptureWindowTest::TearDown();
    }
    void StartRecording() {
        dialog->OpenFile(nullptr);
        ASSERT_TRUE(dialog->CurrentFile);
        waves.Tone(10, 1000, 0.5);
        dialog->Listen();
        ASSERT_TRUE(dialog->Recording);
    }
    uint32_t BufferBytes() const { return CaptureBufferBytes(dialog->CaptureFormat); }
    // files[0] and [1] get the paths of the full file and the next one.
    void RecordAcrossTheLimit(int total, std::vector<bool>& tone, std::string (&files)[2]);
    static uint32_t LengthOf(const std::string& path) {
        WaveFile file(path.c_str(), nullptr, MMIO_READ);
        return file.Open() ? file.GetDataLength() : 0;
    }

    FilesTestFolder folder;
};

TEST_F(FileEndTest, ASplitSavesTheFileAndGoesOnInANewOne) {
    StartRecording();
    const std::string first = dialog->CurrentFile->GetPath();
    Capture(3);
    Send(WM_SPLITFILE);
    ASSERT_TRUE(dialog->Recording);
    const std::string second = dialog->CurrentFile->GetPath();
    EXPECT_NE(first, second);
    // Between two buffers: the device was never stopped.
    EXPECT_EQ(1, waves.Count("waveInStart"));
    EXPECT_EQ(0, waves.Count("waveInStop"));
    Capture(2);
    Send(WM_COMMAND, CM_STOP);
    dialog->CurrentFile.reset();
    // The buffer held back at the split goes into the new file.
    EXPECT_GE(LengthOf(first), 2 * BufferBytes());
    EXPECT_EQ(5 * BufferBytes(), LengthOf(first) + LengthOf(second));
}

// The File page's limit of 1 MB with its "Stop" and "New File" actions.
TEST_F(FileEndTest, TheSizeLimitStopsOrContinuesInANewFile) {
    const uint32_t limit = 1048576;
    for (int action : {2, 3}) {
        SCOPED_TRACE(action);
        AppState.FileAction = action;
        AppState.FileSizeSel = 0;
        AppState.FileSize = 1;
        StartRecording();
        const std::string first = dialog->CurrentFile->GetPath();
        const int buffersToLimit = int((limit + BufferBytes() - 1) / BufferBytes());
        Capture(buffersToLimit + 2);
        const uint32_t firstLength = LengthOf(first);
        EXPECT_GE(firstLength, limit);
        if (action == 2) {
            EXPECT_FALSE(dialog->Recording);
        } else {
            ASSERT_TRUE(dialog->Recording);
            EXPECT_NE(first, dialog->CurrentFile->GetPath());
            const std::string second = dialog->CurrentFile->GetPath();
            Send(WM_COMMAND, CM_STOP);
            dialog->CurrentFile.reset();
            // Every buffer captured is in one of the two files.
            EXPECT_EQ(uint32_t(buffersToLimit + 2) * BufferBytes(), firstLength + LengthOf(second));
        }
        dialog->CurrentFile.reset();
    }
}

// Without automatic names a recording starts in a temporary file. The full
// one is kept, with its audio, whether the device keeps running (the next
// file takes the same audio) or is started again (its format differs).
TEST_F(FileEndTest, TheNewFileActionKeepsAFullTemporaryFile) {
    const uint32_t limit = 1048576;
    AppState.AutoName = false;
    AppState.FileAction = 3;
    AppState.FileSizeSel = 0;
    AppState.FileSize = 1;
    for (bool sameFormat : {true, false}) {
        SCOPED_TRACE(sameFormat);
        AppState.SampleRate = 44100;
        StartRecording();
        ASSERT_TRUE(dialog->CurrentFile->IsTemporary());
        const std::string first = dialog->CurrentFile->GetPath();
        const int buffersToLimit = int((limit + BufferBytes() - 1) / BufferBytes());
        if (!sameFormat) AppState.SampleRate = 22050;
        const int startsBefore = waves.Count("waveInStart");
        Capture(buffersToLimit + 2);
        ASSERT_TRUE(dialog->Recording);
        EXPECT_NE(first, dialog->CurrentFile->GetPath());
        EXPECT_EQ(sameFormat ? 0 : 1, waves.Count("waveInStart") - startsBefore);
        Send(WM_COMMAND, CM_STOP);
        dialog->CurrentFile.reset();
        EXPECT_GE(LengthOf(first), limit);
    }
}

// Data of a WAV file, read back from disk.
std::vector<char> AudioOf(const std::string& path) {
    WaveFile file(path.c_str(), nullptr, MMIO_READ);
    std::vector<char> data;
    if (!file.Open()) return data;
    data.resize(file.GetDataLength());
    if (!data.empty() && file.Read(data.data(), uint32_t(data.size())) != int32_t(data.size())) data.clear();
    return data;
}

// Whether every byte of the block is `silence` (0 for PCM; what the fake
// codec makes of a silent source).
bool IsSilent(const char* block, uint32_t bytes, char silence = 0) {
    for (uint32_t i = 0; i < bytes; ++i)
        if (block[i] != silence) return false;
    return true;
}

// Scripts buffers of tone and silence (every third one silent); true for a tone.
std::vector<bool> ScriptToneAndSilence(FakeWaveDevices& waves, int buffers) {
    std::vector<bool> tone;
    for (int k = 0; k < buffers; ++k) {
        tone.push_back(k % 3 != 1);
        if (tone.back()) waves.Tone(1, 1000, 0.5);
        else waves.Silence(1);
    }
    return tone;
}

// Records `total` scripted buffers of tone and silence with the "New File"
// action at a 1 MB limit: the split comes while the device runs, and the
// new file's first mark is at its start.
void FileEndTest::RecordAcrossTheLimit(int total, std::vector<bool>& tone, std::string (&files)[2]) {
    AppState.FileAction = 3;
    AppState.FileSizeSel = 0;
    AppState.FileSize = 1;
    dialog->OpenFile(nullptr);
    ASSERT_TRUE(dialog->CurrentFile);
    tone = ScriptToneAndSilence(waves, total);
    dialog->Listen();
    ASSERT_TRUE(dialog->Recording);
    files[0] = dialog->CurrentFile->GetPath();
    Capture(total);
    ASSERT_TRUE(dialog->Recording);
    files[1] = dialog->CurrentFile->GetPath();
    ASSERT_NE(files[0], files[1]);
    EXPECT_EQ(1, waves.Count("waveInStart"));
    EXPECT_EQ(0, waves.Count("waveInStop"));
    ASSERT_GE(dialog->CurrentFile->TimeCodeCount(), 1);
    EXPECT_EQ(0u, dialog->CurrentFile->GetTimeCodePos(0));
}

// The audio of the two files, one after the other, is the script's buffers
// in order, each `bytes` long once written (silence: every byte `silence`).
void ExpectBuffersInOrder(const std::string (&files)[2], const std::vector<bool>& tone, size_t bytes,
                          char silence) {
    std::vector<char> all = AudioOf(files[0]);
    EXPECT_GE(all.size(), 1048576u);
    const std::vector<char> rest = AudioOf(files[1]);
    all.insert(all.end(), rest.begin(), rest.end());
    ASSERT_GT(bytes, 0u);
    ASSERT_EQ(tone.size() * bytes, all.size());
    for (size_t k = 0; k < tone.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(!tone[k], IsSilent(&all[k * bytes], uint32_t(bytes), silence));
    }
}

// "New File" at the size limit switches files between two buffers: the
// device never stops, and every scripted buffer is in one of the two files,
// in order.
TEST_F(FileEndTest, TheNewFileActionKeepsTheDeviceRunningAndEveryBuffer) {
    const int total = 36;
    std::vector<bool> tone;
    std::string files[2];
    RecordAcrossTheLimit(total, tone, files);
    if (HasFatalFailure()) return;
    Send(WM_COMMAND, CM_STOP);
    dialog->CurrentFile.reset();
    ExpectBuffersInOrder(files, tone, BufferBytes(), 0);
}

// The same switch for a compressed WAV recording: the codec stream keeps
// nothing of the old file, and nothing captured goes missing.
class CodecFileEndTest : public FileEndTest {
protected:
    void SetUp() override {
        SetAcm(&acm);  // before the window: its stream binds to the service
        FileEndTest::SetUp();
        AppState.CodecsAvailable = true;
        CopyTextField(AppState.ACMDriver, "IMA ADPCM");
        AppState.ACMFormatTag = WAVE_FORMAT_IMA_ADPCM;
        const WaveFormatBuffer ima(*FakeAcm::ImaAdpcmFormat(2, 44100).format.Get());
        std::memcpy(AppState.WaveFormat.bytes, ima.Get(), ima.Bytes());
    }
    void TearDown() override {
        FileEndTest::TearDown();
        SetAcm(nullptr);
    }
    static uint32_t FactCountOf(const std::string& path) {
        WaveFile file(path.c_str(), nullptr, MMIO_READ);
        return file.Open() ? file.GetFactCount() : 0;
    }
    int Flagged(DWORD flag) const {
        int count = 0;
        for (DWORD flags : acm.convertFlags) count += (flags & flag) ? 1 : 0;
        return count;
    }

    FakeAcm acm;
};

TEST_F(CodecFileEndTest, TheNewFileActionKeepsTheDeviceRunningAndEveryBufferThroughTheCodec) {
    const int total = 130;  // about 8.7 kB each once compressed: the limit comes near 121
    std::vector<bool> tone;
    std::string files[2];
    RecordAcrossTheLimit(total, tone, files);
    if (HasFatalFailure()) return;
    EXPECT_EQ(WAVE_FORMAT_IMA_ADPCM, dialog->FileFormat->wFormatTag);
    // The old stream ended into the old file; the new one started afresh.
    EXPECT_EQ(2, Flagged(ACM_STREAMCONVERTF_START));
    EXPECT_EQ(1, Flagged(ACM_STREAMCONVERTF_END));
    EXPECT_TRUE(ui.messageBoxes.empty());
    Send(WM_COMMAND, CM_STOP);
    dialog->CurrentFile.reset();
    dialog->AcmClose();
    EXPECT_EQ(0, acm.OpenStreams());

    // Every captured frame was converted and counted in one of the files.
    const uint32_t frameBytes = dialog->CaptureFormat.nBlockAlign;
    EXPECT_GT(FactCountOf(files[0]), 0u);
    EXPECT_EQ(uint64_t(total) * BufferBytes() / frameBytes,
              uint64_t(FactCountOf(files[0])) + FactCountOf(files[1]));
    // In order: the fake codec makes a silent buffer into a block of 0x5A.
    ExpectBuffersInOrder(files, tone, (LengthOf(files[0]) + LengthOf(files[1])) / total, 0x5A);
}

// How many times the codec's tail (the fake's 64 bytes of 0xEE) is in the file.
int TailsIn(const std::string& path) {
    const std::vector<char> data = AudioOf(path);
    const std::string bytes(data.begin(), data.end()), tail(64, '\xEE');
    int count = 0;
    for (size_t at = bytes.find(tail); at != std::string::npos; at = bytes.find(tail, at + tail.size())) ++count;
    return count;
}

// The schedule's clock while it lives: Friday 7:00, which no other test reports.
class StopMinuteClock : public ScheduleClock {
public:
    StopMinuteClock() { SetScheduleClock(this); }
    ~StopMinuteClock() override { SetScheduleClock(nullptr); }
    WallClockTime Now() const override { return {5, 7, 0}; }
};

// Every way a compressed recording ends a run of the codec and starts the
// next, through a codec that gives its tail only when the header is
// unprepared and starts its encoder afresh at each prepare (LAME's): each
// run's tail is in the file the run went into, no prepare falls inside a
// run, and each run after the first starts on a freshly prepared encoder.
TEST_F(CodecFileEndTest, EachRunOfTheCodecEndsWithItsTailAndTheNextStartsAfresh) {
    struct Road {
        const char* name;
        void (*set)();
        int loud, quiet, loudAgain;  // 200 ms buffers; the stop comes after one more quiet one
        bool scheduledStop;          // a scheduled new-file stop, then recording again
        std::vector<int> runsPerFile;
    };
    const Road roads[] = {
        // The second segment starts on another slot than the first ended on.
        {"segments in one file", [] { AppState.Pretrigger = 1; }, 4, 8, 4, false, {2}},
        {"new file after the quiet", [] { AppState.RecordMode = 2; AppState.TalkOff = 2; }, 4, 12, 4, false, {1, 1}},
        {"file limit, new file", [] { AppState.VoxDisable = true; AppState.FileAction = 3; AppState.FileSizeSel = 0;
                                      AppState.FileSize = 1; }, 125, 0, 0, false, {1, 1}},
        {"scheduled new-file stop", [] { AppState.VoxDisable = true; }, 4, 0, 4, true, {1, 1}},
    };
    const StopMinuteClock clock;
    const AppStateValues settings = AppState;
    for (const Road& road : roads) {
        SCOPED_TRACE(road.name);
        static_cast<AppStateValues&>(AppState) = settings;
        acm.convertFlags.clear();
        acm.tailAtUnprepare = 64;
        acm.tailsLostAtPrepare = acm.startsOnEndedEncoder = 0;
        AppState.VoxDisable = false;
        AppState.SoundLevel = 20;
        AppState.TalkOff2 = 1;
        road.set();
        waves.Tone(road.loud, 1000, 0.5);
        waves.Silence(road.quiet);
        waves.Tone(road.loudAgain, 1000, 0.5);
        waves.Silence(1);
        dialog->OpenFile(nullptr);
        ASSERT_TRUE(dialog->CurrentFile);
        dialog->Listen();
        ASSERT_TRUE(dialog->Recording);
        std::vector<std::string> files{dialog->CurrentFile->GetPath()};
        const auto note = [&] {
            if (dialog->CurrentFile && dialog->CurrentFile->GetPath() != files.back())
                files.push_back(dialog->CurrentFile->GetPath());
        };
        for (int i = 0; i < road.loud + road.quiet; ++i) {
            Capture(1);
            note();
        }
        if (road.scheduledStop) {
            TimerEvent stop = Event(kEveryDay, -1, 0, 7, 0, true);
            AppState.Events.Add(&stop);
            AppState.TimerEnable = true;
            Send(WM_TIMER, TIMER_SCHEDULER);
            EXPECT_FALSE(dialog->Recording);
            AppState.Events.Clear();
            dialog->Listen();
            note();
        }
        for (int i = 0; i < road.loudAgain + 1; ++i) {
            Capture(1);
            note();
        }
        Send(WM_COMMAND, CM_STOP);
        dialog->CurrentFile.reset();
        EXPECT_TRUE(ui.messageBoxes.empty());
        const int runs = std::accumulate(road.runsPerFile.begin(), road.runsPerFile.end(), 0);
        EXPECT_EQ(runs, Flagged(ACM_STREAMCONVERTF_START));
        EXPECT_EQ(runs, Flagged(ACM_STREAMCONVERTF_END));
        EXPECT_EQ(0, acm.tailsLostAtPrepare);
        EXPECT_EQ(0, acm.startsOnEndedEncoder);
        EXPECT_EQ(road.runsPerFile.size(), files.size());
        for (size_t f = 0; f < files.size() && f < road.runsPerFile.size(); ++f)
            EXPECT_EQ(road.runsPerFile[f], TailsIn(files[f])) << files[f];
    }
}

// What keeps the capture going and its audio on disk does not wait for an
// open dialog: the split at the format's ceiling goes on in the new file, and
// a stalled device is restarted, both while the dialog is still open.
TEST_F(FileEndTest, TheSplitAndARestartRunUnderAnOpenDialog) {
    StartRecording();
    const std::string first = dialog->CurrentFile->GetPath();
    Capture(3);
    std::string second;
    ui.whileOpen.push_back([&] {
        Send(WM_SPLITFILE);
        ASSERT_TRUE(dialog->CurrentFile);
        second = dialog->CurrentFile->GetPath();
        EXPECT_NE(first, second);
        Capture(2);
        dialog->RestartPending = true;
        Send(WM_RESTARTRECORDING, 1, 2);
        EXPECT_EQ(2, waves.Count("waveInStart"));
        EXPECT_TRUE(dialog->Recording);
    });
    (void)Ui().MessageBox(dialog->GetHandle(), "open", "test", MB_OK);
    Capture(2);
    Send(WM_COMMAND, CM_STOP);
    dialog->CurrentFile.reset();
    EXPECT_EQ(7 * BufferBytes(), LengthOf(first) + LengthOf(second));
}

}  // namespace
