#include "audiofile/Sha1.h"

#include <cstring>

namespace {

uint32_t Rotl(uint32_t value, int bits) { return (value << bits) | (value >> (32 - bits)); }

uint32_t LoadBigEndian(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

}  // namespace

void Sha1::Init() {
    state_[0] = 0x67452301u;
    state_[1] = 0xEFCDAB89u;
    state_[2] = 0x98BADCFEu;
    state_[3] = 0x10325476u;
    state_[4] = 0xC3D2E1F0u;
    bitCount_ = 0;
    std::memset(buffer_, 0, sizeof buffer_);
}

void Sha1::Transform(const uint8_t block[64]) {
    uint32_t w[80];
    for (int i = 0; i < 16; ++i)
        w[i] = LoadBigEndian(block + 4 * i);
    for (int i = 16; i < 80; ++i)
        w[i] = Rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
    uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3], e = state_[4];
    // One loop per round function: no choice inside the loop, which keeps
    // the digest of long recordings (every byte written is hashed) cheap.
    const auto step = [&](uint32_t f, uint32_t k, uint32_t word) {
        const uint32_t next = Rotl(a, 5) + f + e + k + word;
        e = d;
        d = c;
        c = Rotl(b, 30);
        b = a;
        a = next;
    };
    for (int i = 0; i < 20; ++i)
        step((b & c) | (~b & d), 0x5A827999u, w[i]);
    for (int i = 20; i < 40; ++i)
        step(b ^ c ^ d, 0x6ED9EBA1u, w[i]);
    for (int i = 40; i < 60; ++i)
        step((b & c) | (b & d) | (c & d), 0x8F1BBCDCu, w[i]);
    for (int i = 60; i < 80; ++i)
        step(b ^ c ^ d, 0xCA62C1D6u, w[i]);
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
    state_[4] += e;
}

void Sha1::Update(const void* data, size_t bytes) {
    const uint8_t* in = static_cast<const uint8_t*>(data);
    size_t used = static_cast<size_t>((bitCount_ / 8) % 64);
    bitCount_ += static_cast<uint64_t>(bytes) * 8;
    while (bytes > 0) {
        const size_t take = bytes < 64 - used ? bytes : 64 - used;
        std::memcpy(buffer_ + used, in, take);
        used += take;
        in += take;
        bytes -= take;
        if (used == 64) {
            Transform(buffer_);
            used = 0;
        }
    }
}

Sha1::Digest Sha1::Final() {
    const uint64_t bits = bitCount_;
    uint8_t length[8];
    for (int i = 0; i < 8; ++i)
        length[i] = static_cast<uint8_t>(bits >> (56 - 8 * i));
    const uint8_t pad = 0x80;
    Update(&pad, 1);
    const uint8_t zero = 0;
    while ((bitCount_ / 8) % 64 != 56)
        Update(&zero, 1);
    Update(length, sizeof length);
    Digest digest;
    for (int i = 0; i < 20; ++i)
        digest[i] = static_cast<uint8_t>(state_[i / 4] >> (24 - 8 * (i % 4)));
    // Wipe what was hashed.
    std::memset(state_, 0, sizeof state_);
    std::memset(buffer_, 0, sizeof buffer_);
    bitCount_ = 0;
    return digest;
}
