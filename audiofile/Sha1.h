// SHA-1 (FIPS 180-1), the digest behind the recording signature.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

class Sha1 {
public:
    using Digest = std::array<uint8_t, 20>;

    Sha1() { Init(); }
    void Init();
    void Update(const void* data, size_t bytes);
    // Pads, returns the digest and wipes the state (Init before reuse).
    Digest Final();

private:
    void Transform(const uint8_t block[64]);

    uint32_t state_[5];
    uint64_t bitCount_;
    uint8_t buffer_[64];
};
