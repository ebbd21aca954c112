#include "recorder/capture/CaptureSession.h"
#include "audiofile/PcmFormat.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/fakes/FakeWaveDevices.h"

namespace {

struct MemorySink : CaptureSink {
    std::vector<uint8_t> data;
    bool full = false;  // refuses every write (a full disk)
    int32_t Write(const void* d, uint32_t n) override
    {
        if (full)
            return -1;
        auto p = static_cast<const uint8_t*>(d);
        data.insert(data.end(), p, p + n);
        return static_cast<int32_t>(n);
    }
    uint32_t WriteSamples(const int16_t* pcm, uint32_t n) override { return static_cast<uint32_t>(Write(pcm, n)); }
    void AddSamples(uint32_t) override {}
    uint32_t MarkSegment(int64_t) override { return static_cast<uint32_t>(data.size()); }
};

struct RecordingHost : CaptureHost {
    VoxSettings vox;  // threshold 0: every block is recorded
    std::vector<uint32_t> peaks;
    std::vector<int> warnings;
    int started = 0, ended = 0;
    VoxSettings CurrentVox() override { return vox; }
    void SegmentStarted() override { ++started; }
    void SegmentEnded(const VoxEvents&, bool, uint32_t) override { ++ended; }
    void NewFileDue() override {}
    void BlockWritten(const WriteReport& r) override
    {
        for (int id : r.warnings)
            if (id)
                warnings.push_back(id);
    }
    void ShowPeak(uint32_t peak) override { peaks.push_back(peak); }
    void Warn(int id) override { warnings.push_back(id); }
    void Trace(const char*) override {}
};

// What a device with the same script delivers, buffer after buffer.
std::vector<uint8_t> Reference(void (*script)(FakeWaveDevices&), const WAVEFORMATEX& format, int buffers)
{
    FakeWaveDevices fake;
    fake.postMessages = false;
    script(fake);
    HWAVE handle = nullptr;
    fake.Open(WaveDirection::Input, &handle, 0, format, nullptr, CALLBACK_WINDOW);
    std::vector<char> block(CaptureBufferBytes(format));
    WAVEHDR header{};
    header.lpData = block.data();
    header.dwBufferLength = static_cast<DWORD>(block.size());
    fake.PrepareHeader(WaveDirection::Input, handle, &header);
    fake.Start(handle);
    std::vector<uint8_t> out;
    for (int i = 0; i < buffers; ++i) {
        fake.Queue(WaveDirection::Input, handle, &header);
        fake.Tick();
        out.insert(out.end(), block.begin(), block.begin() + header.dwBytesRecorded);
    }
    fake.Reset(WaveDirection::Input, handle);
    fake.UnprepareHeader(WaveDirection::Input, handle, &header);
    fake.Close(WaveDirection::Input, handle);
    return out;
}

struct CaptureSessionTest : ::testing::Test {
    FakeWaveDevices waves;
    WaveDevice device{WaveDirection::Input, waves};
    AudioRing ring;
    CaptureSession session{device, ring};
    MemorySink file;
    RecordingHost host;

    void SetUp() override { waves.postMessages = false; }

    CaptureStartError Start(const WAVEFORMATEX& format, int channel = 0)
    {
        CaptureRequest request;
        request.capture = format;
        request.recordChannel = channel;
        return session.Start(request);
    }
    void Capture(int buffers)
    {
        for (int i = 0; i < buffers; ++i) {
            ASSERT_EQ(1, waves.Tick());
            session.TakeBack(nullptr, &file, host);
        }
    }
};

void ToneScript(FakeWaveDevices& f) { f.Tone(9, 440, 0.5); }

TEST_F(CaptureSessionTest, FileHoldsEveryCapturedByteTailIncluded)
{
    ToneScript(waves);
    waves.bytesCapturedAtStop = 1000;  // the buffer being filled when stop comes
    ASSERT_EQ(CaptureStartError::None, Start(PcmFormat(1, 8000, 16)));
    EXPECT_EQ(5u, waves.Lent(WaveDirection::Input));
    Capture(7);
    EXPECT_EQ(6u * 3200u, file.data.size());  // one buffer is held back
    session.Stop(&file, host);
    std::vector<uint8_t> expected = Reference(ToneScript, PcmFormat(1, 8000, 16), 8);
    expected.resize(7 * 3200 + 1000);
    EXPECT_EQ(expected, file.data);
    EXPECT_FALSE(session.IsRecording());
    EXPECT_EQ(0, waves.OpenDevices(WaveDirection::Input));
    EXPECT_TRUE(host.warnings.empty());
}

void RightToneScript(FakeWaveDevices& f) { f.Stereo(3, 0, 1000, 0.5); }

TEST_F(CaptureSessionTest, KeepsTheRightChannelOfAWidenedMonoRecording)
{
    RightToneScript(waves);
    ASSERT_EQ(CaptureStartError::None, Start(PcmFormat(1, 8000, 16), +1));
    EXPECT_EQ(2, waves.lastFormat.nChannels);
    EXPECT_EQ(32000u, waves.lastFormat.nAvgBytesPerSec);
    Capture(3);
    session.Stop(&file, host);
    std::vector<uint8_t> stereo = Reference(RightToneScript, PcmFormat(2, 8000, 16), 3);
    const uint32_t mono = ExtractChannel(stereo.data(), static_cast<uint32_t>(stereo.size()), 16, true);
    stereo.resize(mono);
    EXPECT_EQ(stereo, file.data);
    EXPECT_NE(std::vector<uint8_t>(mono, 0), file.data);  // the sounding channel, not the silent one
}

TEST_F(CaptureSessionTest, StereoRecordingIsNotHalved)
{
    waves.Stereo(2, 500, 1000);
    ASSERT_EQ(CaptureStartError::None, Start(PcmFormat(2, 8000, 16), -1));
    Capture(2);
    session.Stop(&file, host);
    EXPECT_EQ(2u * 6400u, file.data.size());
}

TEST_F(CaptureSessionTest, FourthIdleMessageAsksForRestartThatLosesNothing)
{
    waves.Tone(3, 440);
    ASSERT_EQ(CaptureStartError::None, Start(PcmFormat(1, 8000, 8)));
    Capture(2);  // buffer 0 written, buffer 1 held back
    EXPECT_EQ(1600u, file.data.size());
    EXPECT_FALSE(session.TakeBack(nullptr, &file, host));
    EXPECT_FALSE(session.TakeBack(nullptr, &file, host));
    EXPECT_FALSE(session.TakeBack(nullptr, &file, host));
    EXPECT_TRUE(session.TakeBack(nullptr, &file, host));
    ASSERT_TRUE(session.Restart(&file, host));
    EXPECT_EQ(3200u, file.data.size());  // the held-back buffer was written
    EXPECT_EQ(5u, waves.Lent(WaveDirection::Input));
    EXPECT_EQ(2, waves.Count("waveInStart"));
    Capture(2);
    session.Stop(&file, host);
    EXPECT_EQ(4u * 1600u, file.data.size());
}

// Every buffer that comes back with audio is written, skipped or lost; a
// device left holding none of the buffers (the window did not take them
// back in time) is counted too.
TEST_F(CaptureSessionTest, TallyCountsEveryReturnedBufferAndTheDeviceRunningDry)
{
    waves.Tone(12, 440);
    ASSERT_EQ(CaptureStartError::None, Start(PcmFormat(1, 8000, 8)));
    Capture(2);  // buffer 0 written, buffer 1 held back
    EXPECT_EQ(0u, session.Tally().dry);
    // The window stalls: the device returns all it holds and is left without any.
    EXPECT_EQ(4, waves.Ticks(4));
    EXPECT_EQ(0, waves.Tick());
    file.full = true;
    session.TakeBack(nullptr, &file, host);  // buffers 1-4 refused by the file, 0 held back
    file.full = false;
    Capture(1);
    session.Stop(nullptr, host);  // what the reset returns has no file to go to
    const CaptureTally tally = session.Tally();
    EXPECT_EQ(1u, tally.dry);
    EXPECT_EQ(7u, tally.taken);
    EXPECT_EQ(2u, tally.written);
    EXPECT_EQ(5u, tally.lost);
    EXPECT_EQ(0u, tally.skipped);
    EXPECT_EQ("Capture buffers: 7 taken, 2 written, 0 skipped, 5 lost; device without buffers 1 times; 0 restarts",
              CaptureTallyText(tally, session.Restarts()));
    // A new run starts from nothing.
    ASSERT_EQ(CaptureStartError::None, Start(PcmFormat(1, 8000, 8)));
    EXPECT_EQ(0u, session.Tally().taken);
}

TEST_F(CaptureSessionTest, NoticeOfABufferAlreadyLentAgainIsNotAStall)
{
    ASSERT_EQ(CaptureStartError::None, Start(PcmFormat(1, 8000, 8)));
    const WAVEHDR& lent = session.Ring().Header(0);
    for (int i = 0; i < 6; ++i)
        EXPECT_FALSE(session.TakeBack(&lent, &file, host));
    // Only real idle messages count towards the restart.
    EXPECT_FALSE(session.TakeBack(nullptr, &file, host));
    EXPECT_FALSE(session.TakeBack(nullptr, &file, host));
    EXPECT_FALSE(session.TakeBack(nullptr, &file, host));
    EXPECT_TRUE(session.TakeBack(nullptr, &file, host));
}

TEST_F(CaptureSessionTest, RefusedStartsLeaveNoDeviceOpen)
{
    struct Case { const char* name; WaveCall fail; WAVEFORMATEX format; CaptureStartError error; } cases[] = {
        {"buffer above a ring block", WaveCall::NumDevs, PcmFormat(2, 600000, 16), CaptureStartError::BufferTooLarge},
        {"open", WaveCall::Open, PcmFormat(1, 8000, 8), CaptureStartError::Open},
        {"prepare", WaveCall::PrepareHeader, PcmFormat(1, 8000, 8), CaptureStartError::Prepare},
        {"queue", WaveCall::Queue, PcmFormat(1, 8000, 8), CaptureStartError::Queue},
        {"start", WaveCall::Start, PcmFormat(1, 8000, 8), CaptureStartError::Start},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        waves.Fail(c.fail, MMSYSERR_ERROR);
        EXPECT_EQ(c.error, Start(c.format));
        EXPECT_FALSE(session.IsRecording());
        EXPECT_EQ(0, waves.OpenDevices(WaveDirection::Input));
        EXPECT_EQ(0u, waves.Lent(WaveDirection::Input));
        waves.Fail(c.fail, MMSYSERR_NOERROR, 0);
    }
    EXPECT_EQ(0, waves.Count("waveInOpen") - 4);  // never opened for the oversized format
}

TEST_F(CaptureSessionTest, VoiceActivationWritesOnlySegments)
{
    host.vox.threshold = 20;
    waves.Silence(2);
    waves.Tone(2, 440, 0.8);
    waves.Silence(7);
    ASSERT_EQ(CaptureStartError::None, Start(PcmFormat(1, 8000, 16)));
    Capture(11);
    session.Stop(&file, host);
    EXPECT_EQ(1, host.started);
    EXPECT_EQ(1, host.ended);
    EXPECT_EQ(6u * 3200u, file.data.size());  // two loud blocks and four of hang time
    EXPECT_EQ(11u, host.peaks.size());
}

}  // namespace
