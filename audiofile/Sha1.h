// SHA-1 (FIPS 180-1), the digest behind the recording signature. Two
// engines give the same digest: the processor's SHA instructions where it
// has them (about twice as fast, so signing a long recording costs about
// what reading it does), else portable code.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

class Sha1 {
public:
    using Digest = std::array<uint8_t, 20>;
    enum class Engine { Best, Portable };

    explicit Sha1(Engine engine = Engine::Best);
    void Init();
    void Update(const void* data, size_t bytes);
    // Pads, returns the digest and wipes the state (Init before reuse).
    Digest Final();
    // Whether Engine::Best uses the processor's SHA instructions here.
    static bool HasShaInstructions();

private:
    void Transform(const uint8_t* blocks, size_t count);

    uint32_t state_[5];
    uint64_t bitCount_;
    uint8_t buffer_[64];
    bool shaInstructions_;
};

// Engines, one 64-byte block after another.
void Sha1TransformPortable(uint32_t state[5], const uint8_t* blocks, size_t count);
void Sha1TransformShaNi(uint32_t state[5], const uint8_t* blocks, size_t count);
