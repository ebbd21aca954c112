// Format records from files and settings can claim any number of extra
// bytes; copying them must never run past the source or the buffer.
#include "sound/WaveFormatBuffer.h"
#include "audiofile/PcmFormat.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

TEST(WaveFormatBuffer, BoundsEveryCopyByTheSourceAndTheLargestFormat) {
    struct Case {
        const char* what;
        size_t sourceBytes;
        WORD claimedExtra;
        bool ok;
        WORD keptExtra;
    };
    const Case cases[] = {
        {"record without cbSize", 16, 0, true, 0},
        {"claims more than it holds", 18, 12, true, 0},
        {"MP3 record", 30, 12, true, 12},
        {"partly present extra bytes", 25, 12, true, 7},
        {"claims the whole 16-bit range", 5000, 0xFFFF, true, 2000 - 18},
        {"too short to be a format", 15, 0, false, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<unsigned char> source(c.sourceBytes, 0xAB);
        WAVEFORMATEX head = PcmFormat(2, 44100, 16);
        head.cbSize = c.claimedExtra;
        std::memcpy(source.data(), &head, std::min(source.size(), sizeof head));
        WaveFormatBuffer buffer;
        buffer->cbSize = 3;

        EXPECT_EQ(c.ok, buffer.Assign(source.data(), source.size()));
        EXPECT_EQ(c.keptExtra, buffer->cbSize);
        EXPECT_LE(buffer.Bytes(), size_t(kMaxFormatBytes));
        if (c.ok) {
            EXPECT_EQ(44100u, buffer->nSamplesPerSec);
            // Everything but the lowered cbSize is the source's.
            EXPECT_EQ(0, std::memcmp(buffer.Get(), source.data(), 16));
            EXPECT_EQ(0, std::memcmp(reinterpret_cast<const char*>(buffer.Get()) + 18, source.data() + 18,
                                     buffer.Bytes() - 18));
        }
    }
}

TEST(WaveFormatBuffer, ComparesExtraBytesToo) {
    unsigned char bytes[20] = {};
    WAVEFORMATEX head = PcmFormat(1, 8000, 8);
    head.cbSize = 2;
    std::memcpy(bytes, &head, sizeof head);
    WaveFormatBuffer a, b;
    ASSERT_TRUE(a.Assign(bytes, sizeof bytes));
    bytes[19] = 1;
    ASSERT_TRUE(b.Assign(bytes, sizeof bytes));
    EXPECT_TRUE(a.SameAs(*a.Get()));
    EXPECT_FALSE(a.SameAs(*b.Get()));
    WaveFormatBuffer copy(*b.Get());
    EXPECT_TRUE(copy.SameAs(*b.Get()));
}
