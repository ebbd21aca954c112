#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "audiofile/RunningSha1.h"
#include "audiofile/Sha1.h"

namespace {

std::string Hex(const Sha1::Digest& digest) {
    std::string text;
    char pair[3];
    for (uint8_t byte : digest) {
        std::snprintf(pair, sizeof pair, "%02x", byte);
        text += pair;
    }
    return text;
}

TEST(Sha1, FipsVectors) {
    struct Case { std::string message; size_t repeat; const char* digest; };
    const Case cases[] = {
        {"abc", 1, "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", 1,
         "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
        {"a", 1000000, "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
        {"", 1, "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
        // 64 bytes: the padding needs a block of its own.
        {"0123456701234567012345670123456701234567012345670123456701234567", 1,
         "e0c094e867ef46c350ef54a7f59dd60bed92ae83"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.substr(0, 10));
        Sha1 sha;
        for (size_t i = 0; i < c.repeat; ++i)
            sha.Update(c.message.data(), c.message.size());
        EXPECT_EQ(Hex(sha.Final()), c.digest);
    }
}

TEST(Sha1, PiecesInAnySplitGiveTheSameDigest) {
    const std::string message = "The quick brown fox jumps over the lazy dog, again and again and again.";
    Sha1 whole;
    whole.Update(message.data(), message.size());
    const Sha1::Digest expected = whole.Final();
    for (size_t split = 0; split <= message.size(); split += 7) {
        SCOPED_TRACE(split);
        Sha1 parts;
        parts.Update(message.data(), split);
        Sha1 copy = parts;  // a copy goes on independently, as signing does
        parts.Update(message.data() + split, message.size() - split);
        copy.Update(message.data() + split, message.size() - split);
        EXPECT_EQ(parts.Final(), expected);
        EXPECT_EQ(copy.Final(), expected);
    }
}

// A megabyte of audio-like bytes, cut into uneven writes as a recording
// arrives: the processor's engine and the portable one (the code every
// signature so far was made with) must both give what sha1sum gives for the
// same bytes.
TEST(Sha1, BothEnginesAgreeWithSha1sumOnUnevenWrites) {
    std::string data(1000003, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(((i * 131u) ^ (i >> 7)) & 0xFF);
    const char* const expected = "d93c639565f4a9d63aabdc8e2c804320b92c16cd";  // sha1sum
    for (const Sha1::Engine engine : {Sha1::Engine::Best, Sha1::Engine::Portable}) {
        SCOPED_TRACE(engine == Sha1::Engine::Best ? "best" : "portable");
        Sha1 sha(engine);
        size_t done = 0;
        for (size_t piece = 1; done < data.size(); piece = piece * 7 % 70001 + 1) {
            const size_t take = std::min(piece, data.size() - done);
            sha.Update(data.data() + done, take);
            done += take;
        }
        EXPECT_EQ(Hex(sha.Final()), expected);
    }
}

}  // namespace

// The running digest of a recording hashes large writes on its worker and
// small ones at once: mixed in any order, and read part way, it must give
// what one Sha1 gives for the same bytes (sha1sum's digest).
TEST(RunningSha1, LargeAndSmallPiecesInOrderGiveTheWholeDigest) {
    std::string data(1000003, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(((i * 131u) ^ (i >> 7)) & 0xFF);
    const size_t large = RunningSha1::kThreadedPieceBytes;
    const size_t pieces[] = {5, large, 1, large + 3, 100, large, 64, data.size()};
    RunningSha1 running;
    running.Init();
    std::string reused(large + 3, '\0');  // the caller's buffer, overwritten at once
    size_t done = 0;
    for (const size_t piece : pieces) {
        const size_t take = std::min(piece, data.size() - done);
        reused.assign(data, done, take);
        running.Update(reused.data(), take);
        reused.assign(take, 'x');
        done += take;
        if (done == 5 + large + 1) {
            Sha1 part;
            part.Update(data.data(), done);
            EXPECT_EQ(running.Snapshot().Final(), part.Final());
        }
    }
    EXPECT_EQ(Hex(running.Snapshot().Final()), "d93c639565f4a9d63aabdc8e2c804320b92c16cd");
}
