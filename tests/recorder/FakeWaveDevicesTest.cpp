// The scripted wave device that the recorder's capture and playback tests
// stand on: it must hand buffers back as winmm does, in the order lent, with
// the sound the script asked for.
#include "sound/WaveDevice.h"
#include "audiofile/PcmFormat.h"
#include "sound/WaveFormatBuffer.h"
#include "tests/fakes/FakeWaveDevices.h"
#include "tests/recorder/MessageSink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Lent {
    std::array<WAVEHDR, 3> headers{};
    std::array<std::vector<char>, 3> data;
    Lent(WaveDevice& device, DWORD bytes) {
        for (size_t i = 0; i < headers.size(); ++i) {
            data[i].assign(bytes, 0x11);
            headers[i].lpData = data[i].data();
            headers[i].dwBufferLength = bytes;
            EXPECT_EQ(MMSYSERR_NOERROR, device.Prepare(headers[i]));
            EXPECT_EQ(MMSYSERR_NOERROR, device.Queue(headers[i]));
        }
    }
};

// Largest absolute sample of one channel of 16-bit interleaved audio.
int Peak16(const WAVEHDR& h, int channels, int channel) {
    int peak = 0;
    for (DWORD i = 2 * channel; i + 1 < h.dwBytesRecorded; i += 2 * channels) {
        short s;
        std::memcpy(&s, h.lpData + i, 2);
        peak = std::max(peak, std::abs(int(s)));
    }
    return peak;
}

}  // namespace

TEST(FakeWaveDevices, PlaysTheScriptIntoTheLentBuffersInOrder) {
    FakeWaveDevices fake;
    MessageSink sink;
    WaveDevice device(WaveDirection::Input, fake);
    ASSERT_EQ(MMSYSERR_NOERROR, device.Open(0, PcmFormat(2, 8000, 16), sink.Hwnd()));
    Lent lent(device, 3200);
    fake.Stereo(1, 1000, 0, 0.5);
    fake.Stall(2);
    fake.Silence(1);

    EXPECT_EQ(0, fake.Tick());  // not started: nothing moves
    ASSERT_EQ(MMSYSERR_NOERROR, device.Start());
    EXPECT_EQ(1, fake.Tick());
    EXPECT_EQ(0, fake.Ticks(2));  // the stall holds the next buffer
    EXPECT_EQ(1, fake.Tick());

    EXPECT_EQ(UINT(MM_WIM_OPEN), sink.Pump().front().message);  // as winmm posts it
    const auto messages = sink.Only(MM_WIM_DATA);
    ASSERT_EQ(2u, messages.size());
    for (size_t i = 0; i < messages.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(UINT(MM_WIM_DATA), messages[i].message);
        EXPECT_TRUE(device.IsHandle(messages[i].wParam));
        EXPECT_EQ(LPARAM(&lent.headers[i]), messages[i].lParam);
        EXPECT_EQ(DWORD(WHDR_PREPARED | WHDR_DONE), lent.headers[i].dwFlags);
        EXPECT_EQ(3200u, lent.headers[i].dwBytesRecorded);
    }
    EXPECT_NEAR(0.5 * 32767, Peak16(lent.headers[0], 2, 0), 200);  // left: the tone
    EXPECT_EQ(0, Peak16(lent.headers[0], 2, 1));                    // right: silent
    EXPECT_EQ(0, Peak16(lent.headers[1], 2, 0));
    EXPECT_NE(0u, lent.headers[2].dwFlags & WHDR_INQUEUE);  // still with the device
}

TEST(FakeWaveDevices, EightBitSilenceIsTheMidpointAndOutputIsPlayedInOrder) {
    FakeWaveDevices fake;
    MessageSink sink;
    WaveDevice input(WaveDirection::Input, fake);
    ASSERT_EQ(MMSYSERR_NOERROR, input.Open(0, PcmFormat(1, 8000, 8), sink.Hwnd()));
    Lent in(input, 1600);
    ASSERT_EQ(MMSYSERR_NOERROR, input.Start());
    fake.Silence(1);

    WaveDevice output(WaveDirection::Output, fake);
    ASSERT_EQ(MMSYSERR_NOERROR, output.Open(0, PcmFormat(1, 8000, 8), sink.Hwnd()));
    Lent out(output, 4);
    out.data[0].assign(4, 'a');  // the bytes the device "plays"
    out.headers[0].lpData = out.data[0].data();

    EXPECT_EQ(2, fake.Tick());  // one buffer of each device
    EXPECT_TRUE(std::all_of(in.data[0].begin(), in.data[0].end(), [](char c) { return (unsigned char)c == 128; }));
    EXPECT_EQ(std::vector<char>({'a', 'a', 'a', 'a'}), fake.played);
    EXPECT_EQ(1u, sink.Only(MM_WIM_DATA).size());
    EXPECT_EQ(1u, sink.Only(MM_WOM_DONE).size());
    EXPECT_TRUE(output.Close().Ok());
    EXPECT_EQ(1u, sink.Only(MM_WOM_CLOSE).size());
}

TEST(FakeWaveDevices, StopReturnsThePartlyFilledBufferAsWinmmDoes) {
    FakeWaveDevices fake;
    MessageSink sink;
    WaveDevice device(WaveDirection::Input, fake);
    ASSERT_EQ(MMSYSERR_NOERROR, device.Open(0, PcmFormat(1, 8000, 16), sink.Hwnd()));
    Lent lent(device, 3200);
    ASSERT_EQ(MMSYSERR_NOERROR, device.Start());
    fake.Tone(2, 500);
    fake.bytesCapturedAtStop = 1001;  // not a whole frame: 1000 bytes come back

    ASSERT_EQ(MMSYSERR_NOERROR, device.Stop());
    EXPECT_EQ(1u, sink.Only(MM_WIM_DATA).size());
    EXPECT_EQ(1000u, lent.headers[0].dwBytesRecorded);
    EXPECT_NE(0u, lent.headers[0].dwFlags & WHDR_DONE);
    EXPECT_NE(0u, lent.headers[1].dwFlags & WHDR_INQUEUE);  // empty buffers stay lent
    EXPECT_EQ(0, fake.Tick());                              // and nothing moves once stopped
}
