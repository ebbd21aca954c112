// capture_probe DEVICE-NAME-PART SECONDS HZ [OUT.wav]
// Captures mono 16-bit 44100 Hz from the first wave input whose name contains
// DEVICE-NAME-PART and reports whether a tone of HZ dominates the signal.
// Exit code 0 = tone found, 1 = not found, 2 = device or usage failure.
#include <windows.h>
#include <mmsystem.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <vector>

namespace {

int FindDevice(const char* namePart) {
    UINT count = waveInGetNumDevs();
    for (UINT i = 0; i < count; ++i) {
        WAVEINCAPSA caps{};
        if (waveInGetDevCapsA(i, &caps, sizeof caps) != MMSYSERR_NOERROR) continue;
        std::printf("input %u: %s\n", i, caps.szPname);
        if (std::strstr(caps.szPname, namePart)) return int(i);
    }
    return -1;
}

// Share of the signal's power at hz (Goertzel), 0..1.
double ToneShare(const std::vector<short>& x, int rate, double hz) {
    const double w = 2 * 3.14159265358979 * hz / rate, c = 2 * std::cos(w);
    double s1 = 0, s2 = 0, total = 0;
    for (short v : x) {
        double s = v + c * s1 - s2;
        s2 = s1;
        s1 = s;
        total += double(v) * v;
    }
    double power = s1 * s1 + s2 * s2 - c * s1 * s2;
    return total > 0 ? 2 * power / (double(x.size()) * total) : 0;
}

void WriteWav(const char* path, const std::vector<short>& x, int rate) {
    FILE* f = std::fopen(path, "wb");
    if (!f) return;
    unsigned dataBytes = unsigned(x.size() * 2), riff = 36 + dataBytes;
    unsigned fmtSize = 16, byteRate = unsigned(rate * 2);
    unsigned short pcm = 1, channels = 1, align = 2, bits = 16;
    std::fwrite("RIFF", 1, 4, f); std::fwrite(&riff, 4, 1, f); std::fwrite("WAVEfmt ", 1, 8, f);
    std::fwrite(&fmtSize, 4, 1, f); std::fwrite(&pcm, 2, 1, f); std::fwrite(&channels, 2, 1, f);
    std::fwrite(&rate, 4, 1, f); std::fwrite(&byteRate, 4, 1, f); std::fwrite(&align, 2, 1, f);
    std::fwrite(&bits, 2, 1, f); std::fwrite("data", 1, 4, f); std::fwrite(&dataBytes, 4, 1, f);
    std::fwrite(x.data(), 2, x.size(), f);
    std::fclose(f);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: capture_probe DEVICE-NAME-PART SECONDS HZ [OUT.wav]\n");
        return 2;
    }
    const int rate = 44100;
    const double seconds = std::atof(argv[2]), hz = std::atof(argv[3]);
    int device = FindDevice(argv[1]);
    if (device < 0) {
        std::fprintf(stderr, "no input device named like '%s'\n", argv[1]);
        return 2;
    }
    WAVEFORMATEX wfx{};
    wfx.wFormatTag = WAVE_FORMAT_PCM;
    wfx.nChannels = 1;
    wfx.nSamplesPerSec = rate;
    wfx.wBitsPerSample = 16;
    wfx.nBlockAlign = 2;
    wfx.nAvgBytesPerSec = rate * 2;
    HWAVEIN in = nullptr;
    MMRESULT rc = waveInOpen(&in, UINT(device), &wfx, 0, 0, CALLBACK_NULL);
    if (rc != MMSYSERR_NOERROR) {
        std::fprintf(stderr, "waveInOpen failed: %u\n", rc);
        return 2;
    }
    const int kBuffers = 10, frames = rate / 5;  // 200 ms each
    std::vector<std::vector<short>> blocks(kBuffers, std::vector<short>(frames));
    std::vector<WAVEHDR> headers(kBuffers);
    for (int i = 0; i < kBuffers; ++i) {
        headers[i] = WAVEHDR{};
        headers[i].lpData = reinterpret_cast<LPSTR>(blocks[i].data());
        headers[i].dwBufferLength = DWORD(frames * 2);
        waveInPrepareHeader(in, &headers[i], sizeof(WAVEHDR));
        waveInAddBuffer(in, &headers[i], sizeof(WAVEHDR));
    }
    std::vector<short> captured;
    const size_t wanted = size_t(seconds * rate);
    DWORD start = GetTickCount();
    waveInStart(in);
    for (int next = 0; captured.size() < wanted && GetTickCount() - start < 20000;) {
        WAVEHDR& h = headers[next];
        if (!(h.dwFlags & WHDR_DONE)) {
            Sleep(10);
            continue;
        }
        const short* data = reinterpret_cast<const short*>(h.lpData);
        captured.insert(captured.end(), data, data + h.dwBytesRecorded / 2);
        h.dwFlags &= ~WHDR_DONE;
        waveInAddBuffer(in, &h, sizeof(WAVEHDR));
        next = (next + 1) % kBuffers;
    }
    DWORD elapsed = GetTickCount() - start;
    waveInStop(in);
    waveInReset(in);
    for (auto& h : headers) waveInUnprepareHeader(in, &h, sizeof(WAVEHDR));
    waveInClose(in);
    if (argc > 4) WriteWav(argv[4], captured, rate);

    double share = ToneShare(captured, rate, hz);
    std::printf("captured %zu frames in %lu ms; %.0f Hz holds %.1f%% of the power\n",
                captured.size(), elapsed, hz, share * 100);
    return captured.size() >= wanted && share > 0.5 ? 0 : 1;
}
