#include "recorder/playback/PlayBlocks.h"

#include <gtest/gtest.h>

#include "audiofile/PcmFormat.h"
#include "recorder/playback/TransportKeys.h"

namespace {

TEST(PlayBlocksTest, BlockBytesFollowSpeedBlocksAndWhatIsLeft)
{
    WAVEFORMATEX fast = PcmFormat(2, 44100, 16);
    fast.nAvgBytesPerSec = 2250000;  // 2.0 would ask 900000 bytes
    fast.nBlockAlign = 6;
    WAVEFORMATEX noBlocks = PcmFormat(1, 8000, 8);
    noBlocks.nBlockAlign = 0;  // a malformed file
    WAVEFORMATEX adpcm = PcmFormat(1, 8000, 4);
    adpcm.nAvgBytesPerSec = 4055;
    adpcm.nBlockAlign = 1024;  // more than a fifth of a second
    struct Case {
        const char* name;
        WAVEFORMATEX format;
        bool atSpeed;
        float rate;
        uint32_t position, length, expected;
    };
    const Case cases[] = {
        {"44.1 kHz stereo", PcmFormat(2, 44100, 16), false, 1.0f, 0, 10000000, 35280},
        {"at 1.5", PcmFormat(2, 44100, 16), true, 1.5f, 0, 10000000, 52920},
        {"2.0 past a ring block", fast, true, 2.0f, 0, 100000000, 449898},
        {"what is left", PcmFormat(2, 44100, 16), false, 1.0f, 9990000, 10000000, 10000},
        {"past the end", PcmFormat(2, 44100, 16), false, 1.0f, 20000000, 10000000, 0},
        {"no block align", noBlocks, false, 1.0f, 0, 100000, 1600},
        {"one block at least", adpcm, false, 1.0f, 0, 100000, 1024},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, PlayBlockBytes(c.format, c.atSpeed, c.rate, c.position, c.length));
    }
    EXPECT_EQ(16000u, DecodedPlayBlockBytes(PcmFormat(2, 20000, 16)));
}

TEST(PlayBlocksTest, SpeedStepsStayWithinTheirBounds)
{
    EXPECT_FLOAT_EQ(2.0f, SpeedStepUp(1.95f));
    EXPECT_FLOAT_EQ(2.0f, SpeedStepUp(2.0f));
    EXPECT_FLOAT_EQ(0.2f, SpeedStepDown(0.25f));
    EXPECT_FLOAT_EQ(0.2f, SpeedStepDown(0.2f));
    EXPECT_NEAR(1.1f, SpeedStepUp(1.0f), 1e-6);
    EXPECT_NEAR(0.9f, SpeedStepDown(1.0f), 1e-6);
}

TEST(PlayBlocksTest, QueueAndRefillGoRoundTheRingInOrder)
{
    std::array<int, kRingSlots> slots{};
    const std::array<bool, kRingSlots> all{true, true, true, true, true};
    // After the start: every slot decoded, none queued yet.
    ASSERT_EQ(5, QueueOrder(4, 4, all, all, slots));
    EXPECT_EQ((std::array<int, 5>{0, 1, 2, 3, 4}), slots);
    // Header 2 still with the device: queueing stops before it.
    std::array<bool, kRingSlots> free = all;
    free[2] = false;
    ASSERT_EQ(2, QueueOrder(4, 4, all, free, slots));
    EXPECT_EQ(1, slots[1]);
    // Stops after the slot decoded last.
    EXPECT_EQ(2, QueueOrder(0, 2, all, all, slots));
    // Refill from after the decoded slot up to the one returned last.
    ASSERT_EQ(4, RefillOrder(4, 4, slots));
    EXPECT_EQ(0, slots[0]);
    EXPECT_EQ(3, slots[3]);
    EXPECT_EQ(1, RefillOrder(3, 0, slots));
    EXPECT_EQ(4, slots[0]);
    EXPECT_EQ(0, RefillOrder(3, 4, slots));
}

TEST(TransportKeysTest, KeyTableWithAndWithoutTheSwap)
{
    struct Case {
        bool shift, ctrl;
        RepositionStep plain, swapped;
    };
    const Case cases[] = {
        {false, false, RepositionStep::Minute, RepositionStep::Segment},
        {true, false, RepositionStep::Second, RepositionStep::Second},
        {false, true, RepositionStep::Segment, RepositionStep::Minute},
        {true, true, RepositionStep::Comment, RepositionStep::Comment},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "shift " << c.shift << " ctrl " << c.ctrl);
        EXPECT_EQ(c.plain, StepForKeys(c.shift, c.ctrl, 0));
        EXPECT_EQ(c.plain, StepForKeys(c.shift, c.ctrl, 1));  // bit 0 is another setting
        EXPECT_EQ(c.swapped, StepForKeys(c.shift, c.ctrl, 2));
    }
    EXPECT_TRUE(KeyHeld(static_cast<short>(0x8000)));
    EXPECT_FALSE(KeyHeld(1));  // only "pressed since the last call"
}

TEST(TransportKeysTest, JoystickButtonsNormallyOpenAndClosed)
{
    struct Case {
        int setting;
        JoyAction press, release;
    };
    const Case cases[] = {
        {0, JoyAction::None, JoyAction::None},
        {1, JoyAction::Record, JoyAction::Stop},
        {2, JoyAction::Play, JoyAction::Stop},
        {3, JoyAction::Back3Seconds, JoyAction::None},
        {4, JoyAction::Forward3Seconds, JoyAction::None},
        {5, JoyAction::Stop, JoyAction::Record},
        {6, JoyAction::Stop, JoyAction::Play},
        {7, JoyAction::None, JoyAction::Back3Seconds},
        {8, JoyAction::None, JoyAction::Forward3Seconds},
        {9, JoyAction::None, JoyAction::None},
        {-1, JoyAction::None, JoyAction::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting);
        EXPECT_EQ(c.press, JoyButtonAction(c.setting, true));
        EXPECT_EQ(c.release, JoyButtonAction(c.setting, false));
    }
    EXPECT_EQ(0x800u, JoyChangeBit(4));
    EXPECT_EQ(0x4u, JoyStateBit(3));
}

}  // namespace
