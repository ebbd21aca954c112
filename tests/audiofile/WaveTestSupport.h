// Helpers of the WAV tests: file bytes, a small RIFF walker independent of the
// library, and formats.
#pragma once

#include <windows.h>
#include <mmreg.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "audiofile/PcmFormat.h"

inline std::string ReadAllBytes(const std::string& name) {
    std::string bytes;
    FILE* file = std::fopen(name.c_str(), "rb");
    if (!file)
        return bytes;
    char buffer[65536];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        bytes.append(buffer, got);
    std::fclose(file);
    return bytes;
}

inline bool WriteAllBytes(const std::string& name, const std::string& bytes) {
    FILE* file = std::fopen(name.c_str(), "wb");
    if (!file)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

inline uint32_t Le32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

struct WalkedChunk {
    std::string id;
    uint32_t size;
    size_t offset;  // of the content
};

// The chunks inside "RIFF" in file order; "LIST" chunks listed as "LIST/xxxx".
// Checks nothing itself: the tests compare the result.
inline std::vector<WalkedChunk> WalkRiff(const std::string& bytes) {
    std::vector<WalkedChunk> chunks;
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0)
        return chunks;
    const size_t end = 8 + Le32(bytes, 4);
    for (size_t at = 12; at + 8 <= end && at + 8 <= bytes.size();) {
        WalkedChunk chunk{bytes.substr(at, 4), Le32(bytes, at + 4), at + 8};
        if (chunk.id == "LIST")
            chunk.id += "/" + bytes.substr(at + 8, 4);
        chunks.push_back(chunk);
        at += 8 + chunk.size + (chunk.size & 1);
    }
    return chunks;
}

// Audio bytes that differ from block to block, so misplaced bytes show.
inline std::vector<char> Pattern(size_t bytes, unsigned seed) {
    std::vector<char> data(bytes);
    for (size_t i = 0; i < bytes; ++i)
        data[i] = static_cast<char>((i * 31 + seed * 7 + (i >> 8)) & 0xFF);
    return data;
}
