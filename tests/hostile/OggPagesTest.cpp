// The Ogg page tools of the harness against files of oggenc and speexenc:
// the walk finds every page, the checksum of an untouched page is the one
// stored, and a field mutation leaves a page whose checksum is right again.
#include <gtest/gtest.h>

#include "tests/hostile/OggPages.h"

namespace hostile {
namespace {

uint32_t StoredCrc(const std::string& bytes, size_t page) {
    uint32_t crc = 0;
    for (int i = 0; i < 4; ++i)
        crc |= uint32_t{static_cast<uint8_t>(bytes[page + 22 + i])} << (8 * i);
    return crc;
}

TEST(HostileOggPages, WalkAndChecksumMatchTheEncoders) {
    std::vector<std::string> seeds = SeedFiles("ogg");
    for (std::string& s : SeedFiles("spx"))
        seeds.push_back(std::move(s));
    if (seeds.empty())
        GTEST_SKIP() << "no Ogg seeds (run through hostile_sox.sh)";
    for (const std::string& seed : seeds) {
        const std::vector<size_t> pages = OggPages(seed);
        ASSERT_GE(pages.size(), 2u);
        for (size_t page : pages)
            EXPECT_EQ(OggPageCrc(seed, page), StoredCrc(seed, page)) << "page at " << page;
        for (uint64_t n = 0; n < 50; ++n) {
            Prng rng(n);
            const std::string damaged = OggMutations()[n % 6].apply(seed, rng);
            for (size_t page : OggPages(damaged))
                EXPECT_EQ(OggPageCrc(damaged, page), StoredCrc(damaged, page));
        }
    }
}

}  // namespace
}  // namespace hostile
