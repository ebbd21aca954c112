#include "recorder/playback/SpeedConvert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "audiofile/PcmFormat.h"

namespace {

// A 16-bit mono sine block of `frames` frames at 8000 Hz.
std::vector<uint8_t> Sine16(uint32_t frames, double hz)
{
    std::vector<uint8_t> bytes(frames * 2);
    for (uint32_t i = 0; i < frames; ++i) {
        const auto s = static_cast<int16_t>(12000 * std::sin(2 * 3.14159265358979 * hz * i / 8000.0));
        std::memcpy(&bytes[2 * i], &s, 2);
    }
    return bytes;
}

TEST(SpeedConvertTest, LengthFollowsTheRateAndEveryCutIsAtAnUpwardCrossing)
{
    const SampleLayout layout = SampleLayout::Of(PcmFormat(1, 8000, 16));
    for (float rate : {1.5f, 0.7f, 1.0f}) {
        SCOPED_TRACE(rate);
        std::vector<uint8_t> data = Sine16(8000 / 5, 440);  // one 200 ms block
        const uint32_t length = static_cast<uint32_t>(data.size());
        data.resize(450000);
        std::vector<uint8_t> work(450000);
        const uint32_t produced = SpeedConvert(data.data(), length, work.data(), layout, rate);
        const double expected = length / rate;
        EXPECT_NEAR(expected, produced, expected * 0.10);
        EXPECT_EQ(0u, produced % 2);
    }
}

// Block after block, a play keeps the rate: alone each 200 ms block of a
// tone comes out at 1.6 for 1.5, which made a play 7 % too fast.
TEST(SpeedConvertTest, APlayOfManyBlocksKeepsTheRate)
{
    const SampleLayout layout = SampleLayout::Of(PcmFormat(1, 44100, 16));
    for (float rate : {1.5f, 0.7f}) {
        SCOPED_TRACE(rate);
        SpeedBalance balance;
        uint64_t taken = 0, given = 0;
        std::vector<uint8_t> work(450000);
        for (int block = 0; block < 20; ++block) {
            std::vector<uint8_t> data(450000);
            const uint32_t frames = static_cast<uint32_t>(8820 * rate);  // 200 ms of output
            for (uint32_t i = 0; i < frames; ++i) {
                const auto s = static_cast<int16_t>(12000 * std::sin(2 * 3.14159265358979 * 1000 * (taken / 2 + i) / 44100.0));
                std::memcpy(&data[2 * i], &s, 2);
            }
            given += SpeedConvert(data.data(), frames * 2, work.data(), layout, rate, kSpeedOutputLimit, &balance);
            taken += frames * 2;
        }
        EXPECT_NEAR(rate, double(taken) / double(given), 0.02);
    }
}

// Short or flat blocks once made the loop stand still: a piece of 0 bytes
// with no crossing to move on to.
TEST(SpeedConvertTest, ShortAndFlatBlocksReturn)
{
    struct Case {
        const char* name;
        uint32_t bytes;
        uint8_t fill;
    };
    const SampleLayout mono16 = SampleLayout::Of(PcmFormat(1, 8000, 16));
    for (const Case& c : {Case{"10-byte tail", 10, 0x10}, Case{"2 bytes", 2, 0x00}, Case{"flat 4000", 4000, 0x40}}) {
        for (float rate : {1.5f, 0.7f, 0.2f, 2.0f}) {
            SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(rate));
            std::vector<uint8_t> data(450000, c.fill), work(450000);
            const uint32_t produced = SpeedConvert(data.data(), c.bytes, work.data(), mono16, rate);
            EXPECT_GT(produced, 0u);
            EXPECT_LE(produced, kSpeedOutputLimit);
        }
    }
}

TEST(SpeedConvertTest, OutputStopsAtItsLimit)
{
    const SampleLayout layout = SampleLayout::Of(PcmFormat(1, 8000, 16));
    std::vector<uint8_t> data = Sine16(4000, 300);
    const uint32_t length = static_cast<uint32_t>(data.size());
    data.resize(450000);
    std::vector<uint8_t> work(450000);
    EXPECT_LE(SpeedConvert(data.data(), length, work.data(), layout, 0.2f, 20000), 20000u);
}

TEST(FindZeroCrossingTest, FindsTheUpwardCrossingOfEachLayout)
{
    struct Case {
        const char* name;
        WAVEFORMATEX format;
        std::vector<uint8_t> bytes;
        uint32_t expected;
    };
    const std::vector<Case> cases = {
        {"8-bit mono", PcmFormat(1, 8000, 8), {200, 150, 100, 120, 128, 160}, 4},
        {"8-bit stereo (left decides)", PcmFormat(2, 8000, 8), {100, 200, 110, 200, 140, 0}, 4},
        {"16-bit mono", PcmFormat(1, 8000, 16), {0, 0x40, 0, 0xF0, 0, 0xFF, 0x10, 0x00}, 6},
        {"16-bit stereo", PcmFormat(2, 8000, 16), {0, 0xF0, 0, 0x10, 0, 0x20, 0, 0xF0}, 4},
        // 24-bit: the high byte is the third; the middle bytes are no sample.
        {"24-bit mono", PcmFormat(1, 8000, 24), {0, 0, 0xF0, 0, 0, 0xF8, 0, 0, 0x10}, 6},
        {"32-bit mono", PcmFormat(1, 8000, 32), {0, 0, 0, 0x80, 0, 0, 0, 0x20}, 4},
        {"none", PcmFormat(1, 8000, 16), {0, 0x10, 0, 0x20, 0, 0x30}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, FindZeroCrossing(c.bytes.data(), c.bytes.data() + c.bytes.size(),
                                               SampleLayout::Of(c.format)));
    }
}

}  // namespace
