#include "audiofile/Sha1.h"

#include <cstring>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace {

#define SHA1_INLINE inline __attribute__((always_inline))

SHA1_INLINE uint32_t Rotl(uint32_t value, int bits) { return (value << bits) | (value >> (32 - bits)); }

SHA1_INLINE uint32_t LoadBigEndian(const uint8_t* p) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    uint32_t word;
    std::memcpy(&word, p, 4);
    return __builtin_bswap32(word);
#else
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
#endif
}

// Message word i (0..79) of the block. The schedule keeps only the last 16
// words, in a ring: w[i - 16] is overwritten by w[i], and i - 3, i - 8, i - 14
// are i + 13, i + 8, i + 2 modulo 16. i is a constant in every call, so the
// choice between loading and computing folds away.
SHA1_INLINE uint32_t Word(uint32_t w[16], const uint8_t* block, int i) {
    if (i < 16)
        return w[i] = LoadBigEndian(block + 4 * i);
    return w[i & 15] = Rotl(w[(i + 13) & 15] ^ w[(i + 8) & 15] ^ w[(i + 2) & 15] ^ w[i & 15], 1);
}

// One step: rather than moving five words along afterwards, the caller names
// them in rotated order for the next step; only e and b change here. Ch and
// Maj are written with one operation fewer than their textbook forms.
SHA1_INLINE void Step1(uint32_t a, uint32_t& b, uint32_t c, uint32_t d, uint32_t& e, uint32_t word) {
    e += Rotl(a, 5) + (d ^ (b & (c ^ d))) + 0x5A827999u + word;
    b = Rotl(b, 30);
}
SHA1_INLINE void Step2(uint32_t a, uint32_t& b, uint32_t c, uint32_t d, uint32_t& e, uint32_t word) {
    e += Rotl(a, 5) + (b ^ c ^ d) + 0x6ED9EBA1u + word;
    b = Rotl(b, 30);
}
SHA1_INLINE void Step3(uint32_t a, uint32_t& b, uint32_t c, uint32_t d, uint32_t& e, uint32_t word) {
    e += Rotl(a, 5) + ((b & c) | (d & (b | c))) + 0x8F1BBCDCu + word;
    b = Rotl(b, 30);
}
SHA1_INLINE void Step4(uint32_t a, uint32_t& b, uint32_t c, uint32_t d, uint32_t& e, uint32_t word) {
    e += Rotl(a, 5) + (b ^ c ^ d) + 0xCA62C1D6u + word;
    b = Rotl(b, 30);
}

// Five steps from i: after five the roles are back where they started.
#define SHA1_FIVE(step, i)                           \
    step(a, b, c, d, e, Word(w, block, (i)));        \
    step(e, a, b, c, d, Word(w, block, (i) + 1));    \
    step(d, e, a, b, c, Word(w, block, (i) + 2));    \
    step(c, d, e, a, b, Word(w, block, (i) + 3));    \
    step(b, c, d, e, a, Word(w, block, (i) + 4))

// All 80 steps written out, so every index is a constant and the five words
// stay in registers.
void TransformOne(uint32_t state[5], const uint8_t* block) {
    uint32_t w[16];
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];
    SHA1_FIVE(Step1, 0);
    SHA1_FIVE(Step1, 5);
    SHA1_FIVE(Step1, 10);
    SHA1_FIVE(Step1, 15);
    SHA1_FIVE(Step2, 20);
    SHA1_FIVE(Step2, 25);
    SHA1_FIVE(Step2, 30);
    SHA1_FIVE(Step2, 35);
    SHA1_FIVE(Step3, 40);
    SHA1_FIVE(Step3, 45);
    SHA1_FIVE(Step3, 50);
    SHA1_FIVE(Step3, 55);
    SHA1_FIVE(Step4, 60);
    SHA1_FIVE(Step4, 65);
    SHA1_FIVE(Step4, 70);
    SHA1_FIVE(Step4, 75);
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
}

#undef SHA1_FIVE

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
