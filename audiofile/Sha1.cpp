#include "audiofile/Sha1.h"

#include <cstring>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace {

uint32_t Rotl(uint32_t value, int bits) { return (value << bits) | (value >> (32 - bits)); }

uint32_t LoadBigEndian(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

void TransformOne(uint32_t state[5], const uint8_t block[64]) {
    uint32_t w[80];
    for (int i = 0; i < 16; ++i)
        w[i] = LoadBigEndian(block + 4 * i);
    for (int i = 16; i < 80; ++i)
        w[i] = Rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];
    // One loop per round function: no choice inside the loop.
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
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
}

bool DetectShaInstructions() {
#if defined(__i386__) || defined(__x86_64__)
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx))
        return false;
    const bool ssse3 = (ecx & (1u << 9)) != 0;
    const bool sse41 = (ecx & (1u << 19)) != 0;
    if (!ssse3 || !sse41 || __get_cpuid_max(0, nullptr) < 7)
        return false;
    __cpuid_count(7, 0, eax, ebx, ecx, edx);
    return (ebx & (1u << 29)) != 0;
#else
    return false;
#endif
}

}  // namespace

void Sha1TransformPortable(uint32_t state[5], const uint8_t* blocks, size_t count) {
    for (; count > 0; --count, blocks += 64)
        TransformOne(state, blocks);
}

bool Sha1::HasShaInstructions() {
    static const bool has = DetectShaInstructions();
    return has;
}

Sha1::Sha1(Engine engine) : shaInstructions_(engine == Engine::Best && HasShaInstructions()) { Init(); }

void Sha1::Init() {
    state_[0] = 0x67452301u;
    state_[1] = 0xEFCDAB89u;
    state_[2] = 0x98BADCFEu;
    state_[3] = 0x10325476u;
    state_[4] = 0xC3D2E1F0u;
    bitCount_ = 0;
    std::memset(buffer_, 0, sizeof buffer_);
}

void Sha1::Transform(const uint8_t* blocks, size_t count) {
    if (shaInstructions_)
        Sha1TransformShaNi(state_, blocks, count);
    else
        Sha1TransformPortable(state_, blocks, count);
}

// Whole blocks are hashed where they lie; only the ends go through the
// block buffer.
void Sha1::Update(const void* data, size_t bytes) {
    const uint8_t* in = static_cast<const uint8_t*>(data);
    size_t used = static_cast<size_t>((bitCount_ / 8) % 64);
    bitCount_ += static_cast<uint64_t>(bytes) * 8;
    if (used > 0) {
        const size_t take = bytes < 64 - used ? bytes : 64 - used;
        std::memcpy(buffer_ + used, in, take);
        used += take;
        in += take;
        bytes -= take;
        if (used < 64)
            return;
        Transform(buffer_, 1);
    }
    if (bytes >= 64) {
        Transform(in, bytes / 64);
        in += bytes / 64 * 64;
        bytes %= 64;
    }
    std::memcpy(buffer_, in, bytes);
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
