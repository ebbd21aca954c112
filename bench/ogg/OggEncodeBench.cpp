// CPU seconds this program's Vorbis and Speex writers spend on one input:
// ogg_encode_bench VORBIS.wav SPEEX.wav OUTDIR. Reads 16-bit PCM WAV files
// (as sox writes them: the data chunk after a 44-byte header) and prints
// "vorbis SECONDS" and "speex SECONDS" of process CPU time for the encoding.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "audiofile/OggVorbisFile.h"
#include "audiofile/SpeexFile.h"

namespace {

double CpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return static_cast<double>((uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

bool ReadWave(const char* path, WAVEFORMATEX& format, std::vector<int16_t>& pcm) {
    FILE* in = std::fopen(path, "rb");
    if (!in)
        return false;
    unsigned char header[44];
    bool ok = std::fread(header, 1, sizeof header, in) == sizeof header;
    format = WAVEFORMATEX{};
    format.nChannels = static_cast<WORD>(header[22] | header[23] << 8);
    format.nSamplesPerSec = static_cast<DWORD>(header[24] | header[25] << 8 | header[26] << 16);
    format.wBitsPerSample = 16;
    std::vector<int16_t> block(65536);
    size_t got;
    while (ok && (got = std::fread(block.data(), 2, block.size(), in)) > 0)
        pcm.insert(pcm.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(got));
    std::fclose(in);
    return ok && !pcm.empty();
}

// Feeds the file in fifths of a second, as capture does.
template <class File>
double Encode(File& file, const WAVEFORMATEX& format, const std::vector<int16_t>& pcm) {
    const double start = CpuSeconds();
    if (!file.Open())
        return -1;
    const size_t call = format.nSamplesPerSec / 5 * format.nChannels;
    for (size_t at = 0; at < pcm.size(); at += call) {
        const size_t n = pcm.size() - at < call ? pcm.size() - at : call;
        file.WriteSamples(pcm.data() + at, static_cast<uint32_t>(n * 2));
    }
    file.Close();
    return CpuSeconds() - start;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: ogg_encode_bench VORBIS.wav SPEEX.wav OUTDIR\n");
        return 2;
    }
    const std::string out = argv[3];
    WAVEFORMATEX format;
    std::vector<int16_t> pcm;
    if (!ReadWave(argv[1], format, pcm))
        return 1;
    format.wFormatTag = kVorbisFormatTag;
    OggVorbisFile vorbis((out + "\\bench.ogg").c_str(), &format, 4, MMIO_CREATE | MMIO_READWRITE);
    std::printf("vorbis %.3f\n", Encode(vorbis, format, pcm));
    pcm.clear();
    if (!ReadWave(argv[2], format, pcm))
        return 1;
    format.wFormatTag = kSpeexFormatTag;
    SpeexFile speex((out + "\\bench.spx").c_str(), &format, 8, MMIO_CREATE | MMIO_READWRITE);
    std::printf("speex %.3f\n", Encode(speex, format, pcm));
    return 0;
}
