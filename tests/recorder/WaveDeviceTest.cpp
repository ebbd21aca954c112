// The wave device's lending and teardown, against the scripted fake and,
// where Wine offers devices (tools/sound-rig start), against winmm itself.
#include "sound/WaveDevice.h"
#include "audiofile/PcmFormat.h"
#include "sound/WaveFormatBuffer.h"
#include "tests/fakes/FakeWaveDevices.h"
#include "tests/recorder/MessageSink.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

// Five buffers as the recorder's ring holds them.
struct Ring {
    explicit Ring(DWORD bytes) {
        for (size_t i = 0; i < headers.size(); ++i) {
            data[i].assign(bytes, 0);
            headers[i] = WAVEHDR{};
            headers[i].lpData = data[i].data();
            headers[i].dwBufferLength = bytes;
            headers[i].dwUser = i;
        }
    }
    // Prepares and lends every buffer; false at the first failure.
    bool Lend(WaveDevice& device) {
        for (WAVEHDR& h : headers) {
            if (device.Prepare(h) != MMSYSERR_NOERROR || device.Queue(h) != MMSYSERR_NOERROR) return false;
        }
        return true;
    }
    std::array<WAVEHDR, 5> headers;
    std::array<std::vector<char>, 5> data;
};

const WAVEFORMATEX kMono16 = PcmFormat(1, 8000, 16);

std::vector<std::string> CallsAfter(const FakeWaveDevices& fake, const std::string& last) {
    auto it = std::find(fake.calls.rbegin(), fake.calls.rend(), last);
    return std::vector<std::string>(it.base(), fake.calls.end());
}

}  // namespace

TEST(WaveDevice, CloseStopsResetsUnpreparesAndClosesInThatOrder) {
    struct Case {
        WaveDirection direction;
        const char* lastSetupCall;
        std::vector<std::string> teardown;
    };
    const Case cases[] = {
        {WaveDirection::Input, "waveInStart",
         {"waveInStop", "waveInReset", "waveInUnprepareHeader", "waveInUnprepareHeader", "waveInUnprepareHeader",
          "waveInUnprepareHeader", "waveInUnprepareHeader", "waveInClose"}},
        {WaveDirection::Output, "waveOutWrite",
         {"waveOutReset", "waveOutUnprepareHeader", "waveOutUnprepareHeader", "waveOutUnprepareHeader",
          "waveOutUnprepareHeader", "waveOutUnprepareHeader", "waveOutClose"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lastSetupCall);
        FakeWaveDevices fake;
        Ring ring(1600);
        {
            WaveDevice device(c.direction, fake);
            ASSERT_EQ(MMSYSERR_NOERROR, device.Open(0, kMono16, nullptr));
            ASSERT_TRUE(ring.Lend(device));
            if (c.direction == WaveDirection::Input) {
                ASSERT_EQ(MMSYSERR_NOERROR, device.Start());
            }
            EXPECT_EQ(5u, fake.Lent(c.direction));

            EXPECT_TRUE(device.Close().Ok());
            EXPECT_EQ(c.teardown, CallsAfter(fake, c.lastSetupCall));
            EXPECT_FALSE(device.IsOpen());
            EXPECT_EQ(0u, device.PreparedCount());

            // Idempotent, and the destructor finds nothing left to do.
            const size_t callsSoFar = fake.calls.size();
            EXPECT_TRUE(device.Close().Ok());
            EXPECT_EQ(callsSoFar, fake.calls.size());
        }
        EXPECT_EQ(0, fake.OpenDevices(c.direction));
        for (const WAVEHDR& h : ring.headers) {
            EXPECT_EQ(0u, h.dwFlags & (WHDR_PREPARED | WHDR_INQUEUE));
            EXPECT_NE(0u, h.dwFlags & WHDR_DONE);  // every lent buffer came back
        }
    }
}

TEST(WaveDevice, DestructorTearsDownAnOpenDevice) {
    FakeWaveDevices fake;
    Ring ring(1600);
    {
        WaveDevice device(WaveDirection::Input, fake);
        ASSERT_EQ(MMSYSERR_NOERROR, device.Open(0, kMono16, nullptr));
        ASSERT_TRUE(ring.Lend(device));
        ASSERT_EQ(MMSYSERR_NOERROR, device.Start());
    }
    EXPECT_EQ(0, fake.OpenDevices(WaveDirection::Input));
    EXPECT_EQ(5, fake.Count("waveInUnprepareHeader"));
}

TEST(WaveDevice, HandsOverOnlyAnOpenDeviceWithNoBufferPrepared) {
    FakeWaveDevices fake;
    Ring ring(1600);
    WaveDevice playing(WaveDirection::Output, fake);
    WaveDevice tail(WaveDirection::Output, fake);
    WaveDevice input(WaveDirection::Input, fake);
    EXPECT_FALSE(playing.HandOver(tail));  // nothing open
    ASSERT_EQ(MMSYSERR_NOERROR, playing.Open(0, kMono16, nullptr));
    ASSERT_TRUE(ring.Lend(playing));
    EXPECT_FALSE(playing.HandOver(tail));  // buffers still prepared
    EXPECT_FALSE(playing.HandOver(input));
    fake.Ticks(5);
    ASSERT_EQ(MMSYSERR_NOERROR, playing.UnprepareAll());
    const HWAVE handle = playing.Handle();
    ASSERT_TRUE(playing.HandOver(tail));
    EXPECT_FALSE(playing.IsOpen());
    EXPECT_EQ(handle, tail.Handle());
    EXPECT_EQ(0, fake.Count("waveOutReset"));
    EXPECT_EQ(1, fake.OpenDevices(WaveDirection::Output));
    tail.Close();
    EXPECT_EQ(0, fake.OpenDevices(WaveDirection::Output));
}

TEST(WaveDevice, EachFailingTeardownStepIsReportedAndTheRestStillRun) {
    struct Case {
        WaveCall call;
        MMRESULT WaveCloseResult::*field;
    };
    const Case cases[] = {
        {WaveCall::Stop, &WaveCloseResult::stop},
        {WaveCall::Reset, &WaveCloseResult::reset},
        {WaveCall::UnprepareHeader, &WaveCloseResult::unprepare},
        {WaveCall::Close, &WaveCloseResult::close},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.call));
        FakeWaveDevices fake;
        Ring ring(1600);
        WaveDevice device(WaveDirection::Input, fake);
        ASSERT_EQ(MMSYSERR_NOERROR, device.Open(0, kMono16, nullptr));
        ASSERT_TRUE(ring.Lend(device));
        fake.Fail(c.call, MMSYSERR_ERROR);

        const WaveCloseResult result = device.Close();
        EXPECT_FALSE(result.Ok());
        EXPECT_EQ(MMSYSERR_ERROR, result.*c.field);
        EXPECT_EQ(1, fake.Count("waveInClose"));
        EXPECT_FALSE(device.IsOpen());
    }
}

TEST(WaveDevice, OpenPassesTheCallbackFlagsAndReportsFailure) {
    FakeWaveDevices fake;
    MessageSink sink;
    WaveDevice input(WaveDirection::Input, fake);
    ASSERT_EQ(MMSYSERR_NOERROR, input.Open(WAVE_MAPPER, kMono16, sink.Hwnd()));
    EXPECT_EQ(DWORD(CALLBACK_WINDOW), fake.lastOpenFlags);
    EXPECT_EQ(sink.Hwnd(), fake.lastWindow);
    EXPECT_TRUE(input.IsHandle(WPARAM(fake.lastHandle)));

    WaveDevice output(WaveDirection::Output, fake);
    fake.Fail(WaveCall::Open, MMSYSERR_ALLOCATED);  // in use by another program
    EXPECT_EQ(MMSYSERR_ALLOCATED, output.Open(0, kMono16, sink.Hwnd()));
    EXPECT_FALSE(output.IsOpen());
    WAVEHDR header{};
    EXPECT_EQ(MMSYSERR_INVALHANDLE, output.Prepare(header));
    EXPECT_TRUE(output.Close().Ok());
    EXPECT_EQ(0, fake.Count("waveOutClose"));

    ASSERT_EQ(MMSYSERR_NOERROR, output.Open(0, kMono16, sink.Hwnd()));
    EXPECT_EQ(DWORD(CALLBACK_WINDOW | WAVE_ALLOWSYNC), fake.lastOpenFlags);
    EXPECT_EQ(MMSYSERR_NOTSUPPORTED, output.Start());
}

TEST(WaveDevice, ReopeningClosesTheOldDeviceFirst) {
    FakeWaveDevices fake;
    Ring ring(1600);
    WaveDevice device(WaveDirection::Input, fake);
    ASSERT_EQ(MMSYSERR_NOERROR, device.Open(0, kMono16, nullptr));
    ASSERT_TRUE(ring.Lend(device));
    ASSERT_EQ(MMSYSERR_NOERROR, device.Open(0, kMono16, nullptr));
    EXPECT_EQ(1, fake.OpenDevices(WaveDirection::Input));
    EXPECT_EQ(1, fake.Count("waveInClose"));
    EXPECT_EQ(0u, device.PreparedCount());
}

TEST(WaveDevice, ChoosesTheMapperOrTheLastDeviceOfTheStoredName) {
    struct Case {
        const char* stored;
        bool mapperReadable;
        UINT expected;
    };
    const Case cases[] = {
        {"-1", true, WAVE_MAPPER},
        {"-1", false, 0},
        {"USB Mic", true, 2},        // the last of two equal names
        {"usb mic", true, WAVE_MAPPER},  // case counts
        {"Gone", true, WAVE_MAPPER},
        {"Line", false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        FakeWaveDevices fake;
        fake.inputNames = {"USB Mic", "Line", "USB Mic"};
        if (!c.mapperReadable) fake.unreadable.insert(WAVE_MAPPER);
        EXPECT_EQ(c.expected, ChooseWaveDevice(WaveDirection::Input, c.stored, fake));
    }
}

TEST(WaveDevice, ListsTheMapperAndEveryReadableDevice) {
    FakeWaveDevices fake;
    fake.outputNames = {"A", "B", "C"};
    fake.unreadable.insert(1);
    EXPECT_EQ((std::vector<std::string>{"Wave Mapper", "A", "C"}), WaveDeviceNames(WaveDirection::Output, fake));
    fake.unreadable.insert(WAVE_MAPPER);
    EXPECT_EQ((std::vector<std::string>{"A", "C"}), WaveDeviceNames(WaveDirection::Output, fake));
}

// winmm itself: buffers come back in the order lent, and the device closes
// cleanly while it still holds some. (Windows refuses waveInClose while
// buffers are lent; Wine does not, so the fake keeps Windows' rule.) Needs
// Wine's sound devices (tools/sound-rig start); skipped without them.
TEST(WaveDeviceWinmm, CapturesAndClosesWhileBuffersAreLent) {
    if (Waves().NumDevs(WaveDirection::Input) == 0) {
        GTEST_SKIP() << "no wave input device (sound rig not running)";
    }
    const WAVEFORMATEX format = PcmFormat(1, 11025, 16);
    MessageSink sink;
    Ring ring(format.nAvgBytesPerSec / 5);
    WaveDevice device(WaveDirection::Input);
    ASSERT_EQ(MMSYSERR_NOERROR, device.Open(WAVE_MAPPER, format, sink.Hwnd()));
    ASSERT_TRUE(ring.Lend(device));

    ASSERT_EQ(MMSYSERR_NOERROR, device.Start());
    ASSERT_TRUE(sink.WaitFor(MM_WIM_DATA, 1, 5000)) << "no MM_WIM_DATA within 5 s";
    EXPECT_EQ(UINT(MM_WIM_OPEN), sink.messages.front().message);
    const SinkedMessage first = sink.Only(MM_WIM_DATA).front();
    EXPECT_TRUE(device.IsHandle(first.wParam));
    EXPECT_EQ(LPARAM(&ring.headers[0]), first.lParam);  // buffers come back in the order lent
    EXPECT_NE(0u, ring.headers[0].dwFlags & WHDR_DONE);
    EXPECT_EQ(ring.headers[0].dwBufferLength, ring.headers[0].dwBytesRecorded);

    const WaveCloseResult closed = device.Close();
    EXPECT_TRUE(closed.Ok()) << closed.stop << " " << closed.reset << " " << closed.unprepare << " " << closed.close;
    for (const WAVEHDR& h : ring.headers) EXPECT_EQ(0u, h.dwFlags & (WHDR_PREPARED | WHDR_INQUEUE));
    EXPECT_EQ(1u, sink.Only(MM_WIM_CLOSE).size());
}

// winmm output: a written buffer comes back done with MM_WOM_DONE.
TEST(WaveDeviceWinmm, PlaysABufferAndReportsItDone) {
    if (Waves().NumDevs(WaveDirection::Output) == 0) {
        GTEST_SKIP() << "no wave output device (sound rig not running)";
    }
    const WAVEFORMATEX format = PcmFormat(1, 11025, 16);
    MessageSink sink;
    Ring ring(format.nAvgBytesPerSec / 20);  // 50 ms of silence each
    WaveDevice device(WaveDirection::Output);
    ASSERT_EQ(MMSYSERR_NOERROR, device.Open(WAVE_MAPPER, format, sink.Hwnd()));
    ASSERT_EQ(MMSYSERR_NOERROR, device.Prepare(ring.headers[0]));
    ASSERT_EQ(MMSYSERR_NOERROR, device.Queue(ring.headers[0]));
    ASSERT_TRUE(sink.WaitFor(MM_WOM_DONE, 1, 5000)) << "no MM_WOM_DONE within 5 s";
    const SinkedMessage done = sink.Only(MM_WOM_DONE).front();
    EXPECT_TRUE(device.IsHandle(done.wParam));
    EXPECT_EQ(LPARAM(&ring.headers[0]), done.lParam);
    EXPECT_NE(0u, ring.headers[0].dwFlags & WHDR_DONE);
    EXPECT_TRUE(device.Close().Ok());
    EXPECT_EQ(0u, ring.headers[0].dwFlags & WHDR_PREPARED);
}
