#include "recorder/capture/PretriggerRing.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<uint8_t> Bytes(uint8_t from, int count)
{
    std::vector<uint8_t> v;
    for (int i = 0; i < count; ++i)
        v.push_back(static_cast<uint8_t>(from + i));
    return v;
}

std::vector<uint8_t> DrainAll(PretriggerRing& store, uint32_t piece, int* pieces = nullptr)
{
    std::vector<uint8_t> out;
    store.Drain(piece, [&](const uint8_t* data, uint32_t bytes) {
        out.insert(out.end(), data, data + bytes);
        if (pieces)
            ++*pieces;
    });
    return out;
}

TEST(PretriggerRing, GivesTheNewestSoundInTimeOrder)
{
    PretriggerRing store;
    ASSERT_TRUE(store.Create(1, 10, 2));  // 10 bytes
    struct Case { const char* name; std::vector<int> blocks; std::vector<uint8_t> expected; } cases[] = {
        {"not yet full", {4}, Bytes(0, 4)},
        {"exactly full", {4, 4, 2}, Bytes(0, 10)},
        {"wrapped: oldest part first", {4, 4, 4, 2}, Bytes(4, 10)},
        {"block larger than the store", {14}, Bytes(4, 10)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        uint8_t next = 0;
        for (int bytes : c.blocks) {
            const std::vector<uint8_t> block = Bytes(next, bytes);
            store.Add(block.data(), bytes);
            next = static_cast<uint8_t>(next + bytes);
        }
        EXPECT_EQ(c.expected, DrainAll(store, 4));
        EXPECT_EQ(0u, store.Bytes());
    }
}

TEST(PretriggerRing, DrainsInWholeBlockPieces)
{
    PretriggerRing store;
    ASSERT_TRUE(store.Create(2, 12, 4));  // 24 bytes, 4-byte frames
    const std::vector<uint8_t> block = Bytes(0, 24);
    store.Add(block.data(), 24);
    int pieces = 0;
    EXPECT_EQ(block, DrainAll(store, 10, &pieces));  // pieces of 8
    EXPECT_EQ(3, pieces);
}

TEST(PretriggerRing, SizeIsComputedWithoutOverflow)
{
    PretriggerRing store;
    // 60 s at 2,250,000 bytes per second is past 2^27 and fine; a product past
    // 2^32 is bounded instead of wrapping to a tiny store.
    ASSERT_TRUE(store.Create(60, 192000, 4));
    EXPECT_EQ(11520000u, store.Capacity());
    EXPECT_FALSE(store.Create(0, 192000, 4));
    EXPECT_FALSE(store.Exists());
}

}  // namespace
