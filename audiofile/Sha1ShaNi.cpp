// SHA-1 with the processor's SHA extensions (built with -msha -msse4.1 and
// only called when the processor reports them). Each step runs four rounds;
// the message schedule of the later steps is worked out alongside.
#include "audiofile/Sha1.h"

#include <immintrin.h>

namespace {

struct Lanes {
    __m128i abcd, e0, e1;
    __m128i msg[4];
};

// Steps 1..19 of a block (step 0 starts it): message group I % 4 is ready.
template <int I>
inline void Step(Lanes& v) {
    __m128i& current = v.msg[I % 4];
    __m128i& ea = (I % 2) ? v.e1 : v.e0;
    __m128i& eb = (I % 2) ? v.e0 : v.e1;
    ea = _mm_sha1nexte_epu32(ea, current);
    eb = v.abcd;
    if constexpr (I >= 3 && I <= 18)
        v.msg[(I + 1) % 4] = _mm_sha1msg2_epu32(v.msg[(I + 1) % 4], current);
    v.abcd = _mm_sha1rnds4_epu32(v.abcd, ea, I / 5);
    if constexpr (I >= 1 && I <= 16)
        v.msg[(I + 3) % 4] = _mm_sha1msg1_epu32(v.msg[(I + 3) % 4], current);
    if constexpr (I >= 2 && I <= 17)
        v.msg[(I + 2) % 4] = _mm_xor_si128(v.msg[(I + 2) % 4], current);
    if constexpr (I < 19)
        Step<I + 1>(v);
}

}  // namespace

void Sha1TransformShaNi(uint32_t state[5], const uint8_t* blocks, size_t count) {
    const __m128i byteSwap = _mm_set_epi64x(0x0001020304050607LL, 0x08090a0b0c0d0e0fLL);
    Lanes v;
    v.abcd = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0x1B);
    v.e0 = _mm_set_epi32(static_cast<int>(state[4]), 0, 0, 0);
    for (; count > 0; --count, blocks += 64) {
        const __m128i abcdSaved = v.abcd;
        const __m128i eSaved = v.e0;
        for (int i = 0; i < 4; ++i)
            v.msg[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * i)),
                                        byteSwap);
        v.e0 = _mm_add_epi32(v.e0, v.msg[0]);
        v.e1 = v.abcd;
        v.abcd = _mm_sha1rnds4_epu32(v.abcd, v.e0, 0);
        Step<1>(v);
        v.e0 = _mm_sha1nexte_epu32(v.e0, eSaved);
        v.abcd = _mm_add_epi32(v.abcd, abcdSaved);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_shuffle_epi32(v.abcd, 0x1B));
    state[4] = static_cast<uint32_t>(_mm_extract_epi32(v.e0, 3));
}
