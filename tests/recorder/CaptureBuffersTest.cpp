#include "recorder/capture/CaptureBuffers.h"
#include "audiofile/PcmFormat.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(CaptureBuffers, BufferIsOneFifthSecondInWholeBlocks)
{
    struct Case { WAVEFORMATEX format; uint32_t bytes; } cases[] = {
        {PcmFormat(2, 44100, 16), 35280},
        {PcmFormat(2, 11113, 16), 8888},  // 8890 rounded down to whole frames
        {PcmFormat(1, 11025, 8), 2205},
        {PcmFormat(1, 8000, 8), 1600},
        {PcmFormat(2, 562500, 16), 450000},  // exactly one ring block
        {PcmFormat(2, 562505, 16), 0},       // 450004 bytes, more than a ring block: refused
        {PcmFormat(2, 0, 16), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format.nSamplesPerSec);
        EXPECT_EQ(c.bytes, CaptureBufferBytes(c.format));
    }
}

TEST(CaptureBuffers, MonoIsWidenedOnlyWhenAChannelIsKept)
{
    bool widened = false;
    WAVEFORMATEX device = CaptureDeviceFormat(PcmFormat(1, 22050, 16), +1, widened);
    EXPECT_TRUE(widened);
    EXPECT_EQ(2, device.nChannels);
    EXPECT_EQ(4, device.nBlockAlign);
    EXPECT_EQ(88200u, device.nAvgBytesPerSec);
    EXPECT_EQ(17640u, CaptureBufferBytes(device));

    CaptureDeviceFormat(PcmFormat(1, 22050, 16), 0, widened);
    EXPECT_FALSE(widened);
    // A stereo recording is captured as it is: nothing to extract later.
    device = CaptureDeviceFormat(PcmFormat(2, 22050, 16), -1, widened);
    EXPECT_FALSE(widened);
    EXPECT_EQ(2, device.nChannels);
}

TEST(CaptureBuffers, RingIsBuiltWhole)
{
    AudioRing ring;
    ASSERT_TRUE(ring.Allocate(true));
    for (int slot = 0; slot < kRingSlots; ++slot) {
        EXPECT_EQ(DWORD_PTR(slot), ring.Header(slot).dwUser);
        ASSERT_NE(nullptr, ring.Header(slot).lpData);
        ASSERT_NE(nullptr, ring.Conversion(slot));
        EXPECT_EQ(kRingBlockBytes, ring.Conversion(slot)->cbSrcLength);
        EXPECT_NE(ring.Conversion(slot)->pbSrc, ring.Conversion(slot)->pbDst);
    }
    ring.Free();
    EXPECT_FALSE(ring.IsAllocated());
    ASSERT_TRUE(ring.Allocate(false));
    EXPECT_EQ(nullptr, ring.Conversion(0));
}

TEST(CaptureBuffers, RingOrderHoldsOneDoneBufferBack)
{
    using Done = std::array<bool, kRingSlots>;
    struct Case { const char* name; int last; Done done; int next; } cases[] = {
        {"one done buffer: nothing", -1, {true, false, false, false, false}, -1},
        {"two done: the first", -1, {true, true, false, false, false}, 0},
        {"later slot done out of order", -1, {false, true, true, false, false}, -1},
        {"wraps around the ring", 3, {true, false, false, false, true}, 4},
        {"after the last processed", 1, {true, true, true, true, false}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.next, NextReadySlot(c.last, c.done));
    }
}

TEST(CaptureBuffers, DrainTakesRecordedBuffersInRingOrder)
{
    std::array<int, kRingSlots> slots{};
    const int count = DrainOrder(2, {100, 0, 0, 200, 50}, slots);
    ASSERT_EQ(3, count);
    EXPECT_EQ(3, slots[0]);
    EXPECT_EQ(4, slots[1]);
    EXPECT_EQ(0, slots[2]);
}

TEST(CaptureBuffers, FourthIdleMessageAsksForOneRestart)
{
    StallWatch watch;
    EXPECT_FALSE(watch.Note(false));
    EXPECT_FALSE(watch.Note(false));
    EXPECT_FALSE(watch.Note(false));
    EXPECT_TRUE(watch.Note(false));
    EXPECT_FALSE(watch.Note(false));  // already asked
    EXPECT_FALSE(watch.Note(true));
    EXPECT_EQ(0, watch.Count());
}

TEST(CaptureBuffers, ExtractChannelInPlace)
{
    std::vector<uint8_t> eight = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(3u, ExtractChannel(eight.data(), 6, 8, false));
    EXPECT_EQ((std::vector<uint8_t>{1, 3, 5}), std::vector<uint8_t>(eight.begin(), eight.begin() + 3));

    std::vector<uint8_t> sixteen = {0x11, 0x12, 0x21, 0x22, 0x31, 0x32, 0x41, 0x42};
    EXPECT_EQ(4u, ExtractChannel(sixteen.data(), 8, 16, true));
    EXPECT_EQ((std::vector<uint8_t>{0x21, 0x22, 0x41, 0x42}),
              std::vector<uint8_t>(sixteen.begin(), sixteen.begin() + 4));

    std::vector<uint8_t> wide = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};  // 24-bit stereo, two frames
    EXPECT_EQ(6u, ExtractChannel(wide.data(), 12, 24, false));
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 3, 7, 8, 9}), std::vector<uint8_t>(wide.begin(), wide.begin() + 6));
}

TEST(CaptureBuffers, PeakLevelPerFormat)
{
    struct Case { const char* name; WAVEFORMATEX format; std::vector<uint8_t> data; uint32_t peak; } cases[] = {
        {"8-bit mono silence", PcmFormat(1, 8000, 8), {128, 128, 127, 129}, 1},
        {"8-bit mono extremes", PcmFormat(1, 8000, 8), {128, 0, 255}, 127},
        {"8-bit stereo", PcmFormat(2, 8000, 8), {0, 128, 128, 255}, 127 * 256 + 126},
        {"16-bit mono", PcmFormat(1, 8000, 16), {0x00, 0x10, 0xFF, 0xC0}, 64},
        {"16-bit mono full negative", PcmFormat(1, 8000, 16), {0x00, 0x80}, 128},
        {"16-bit stereo", PcmFormat(2, 8000, 16), {0, 0x20, 0, 0xF0, 0, 0x05, 0, 0x00}, 0x20 * 256 + 16},
        // Wider samples by their own size: the low bytes of one are no sample of their own.
        {"24-bit mono", PcmFormat(1, 8000, 24), {0x7F, 0x7F, 0x08, 0x00, 0x00, 0xF0}, 16},
        {"32-bit stereo", PcmFormat(2, 8000, 32), {0x7F, 0x7F, 0x7F, 0x10, 0, 0, 0, 0xE0}, 0x10 * 256 + 32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.peak, PeakLevel(c.data.data(), static_cast<uint32_t>(c.data.size()), c.format));
    }
    EXPECT_EQ(100, PeakPercent(128));
    EXPECT_EQ(100, PeakPercent(127 * 256 + 3));
    EXPECT_EQ(50, PeakPercent(64));
}

}  // namespace
