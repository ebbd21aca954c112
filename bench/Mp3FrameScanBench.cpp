// The frame scan of a 100 MB MP3 file against plainly reading the file:
// opening it (ID3v2 skip, frame sync, codec format), then walking every
// frame header to the end, and positioning every 64 KB (each a resync).
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "audiofile/FileNames.h"
#include "audiofile/Mp3File.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint32_t kFileBytes = 100u * 1024 * 1024;
constexpr uint32_t kChunk = 1u << 20;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// MPEG-1 layer 3, 128 kbit/s, 44100 Hz, mono, unpadded: 417-byte frames.
bool MakeFile(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    std::vector<uint8_t> frame(417, 0x55);
    const uint8_t header[4] = {0xFF, 0xFB, 0x90, 0xC4};
    std::memcpy(frame.data(), header, 4);
    std::vector<uint8_t> block;
    for (int i = 0; i < 2400; ++i)
        block.insert(block.end(), frame.begin(), frame.end());
    uint32_t written = 0;
    while (written + block.size() <= kFileBytes) {
        std::fwrite(block.data(), 1, block.size(), f);
        written += static_cast<uint32_t>(block.size());
    }
    std::fclose(f);
    return true;
}

double PlainRead(const std::string& path, uint64_t& bytes) {
    const auto start = Clock::now();
    std::vector<uint8_t> buffer(kChunk);
    bytes = 0;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        size_t got;
        while ((got = std::fread(buffer.data(), 1, buffer.size(), f)) > 0)
            bytes += got;
        std::fclose(f);
    }
    return Seconds(start);
}

// Opens the file and follows the frame lengths from header to header.
double FrameScan(const std::string& path, uint64_t& frames) {
    const auto start = Clock::now();
    frames = 0;
    Mp3File file(path.c_str(), nullptr, MMIO_READ);
    if (!file.Open())
        return -1;
    std::vector<uint8_t> buffer(kChunk + 4);
    uint32_t next = 0;  // data offset of the next header
    uint32_t base = 0;  // data offset of buffer[0]
    int32_t got;
    while ((got = file.Read(buffer.data(), kChunk)) > 0) {
        while (next + 4 <= base + static_cast<uint32_t>(got)) {
            Mp3FrameHeader frame;
            if (!ParseFrameHeader(&buffer[next - base], frame))
                return -1;
            ++frames;
            next += frame.frameBytes;
        }
        base += static_cast<uint32_t>(got);
        if (next < base) {  // a header split across chunks: read it again
            (void)file.Position(next);
            base = next;
        }
    }
    return Seconds(start);
}

double Positions(const std::string& path, uint32_t& count) {
    const auto start = Clock::now();
    count = 0;
    Mp3File file(path.c_str(), nullptr, MMIO_READ);
    if (!file.Open())
        return -1;
    for (uint32_t at = 0; at < file.GetDataLength(); at += 65536) {
        if (file.Position(at))
            ++count;
    }
    return Seconds(start);
}

}  // namespace

int main() {
    std::string dir;
    GetTempDirectory(dir);
    const std::string path = dir + "lkbench_100mb.mp3";
    if (!MakeFile(path)) {
        std::printf("cannot write %s\n", path.c_str());
        return 1;
    }
    uint64_t bytes = 0, frames = 0;
    uint32_t positions = 0;
    PlainRead(path, bytes);  // warm the cache for both
    const double plain = PlainRead(path, bytes);
    const double scan = FrameScan(path, frames);
    const double seek = Positions(path, positions);
    DeleteFileA(path.c_str());
    if (scan < 0 || seek < 0) {
        std::printf("the frame scan failed\n");
        return 1;
    }
    std::printf("plain read:  %.3f s (%llu bytes)\n", plain, static_cast<unsigned long long>(bytes));
    std::printf("frame scan:  %.3f s (%llu frames), %.2fx plain read\n", scan,
                static_cast<unsigned long long>(frames), scan / plain);
    std::printf("positioning: %.3f s (%u resyncs)\n", seek, positions);
    return 0;
}
