// bare_capture DEVICE-NAME-PART SECONDS OUT.raw [RATE]
// The least a program can do to record: five 200 ms buffers of 16-bit mono
// at RATE Hz (44100 when not given) lent to the first wave input whose name
// contains DEVICE-NAME-PART, each written to OUT.raw and lent again as it
// comes back (the device signals an event; no polling); at the stop the
// buffers the reset gives back are written too. The benchmark's baseline for what
// capture costs on this Wine, and the end-to-end checks' for what it loses.
// Prints the buffers taken back, then the audio recorded when the first came
// back (those back and what the others held), the time from then to the stop
// and the bytes written.
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

int FindDevice(const char* namePart)
{
    const UINT count = waveInGetNumDevs();
    for (UINT i = 0; i < count; ++i) {
        WAVEINCAPSA caps{};
        if (waveInGetDevCapsA(i, &caps, sizeof caps) == MMSYSERR_NOERROR && std::strstr(caps.szPname, namePart))
            return static_cast<int>(i);
    }
    return -1;
}

double NowMs()
{
    LARGE_INTEGER now{}, frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: bare_capture DEVICE-NAME-PART SECONDS OUT.raw [RATE]\n");
        return 2;
    }
    const int rate = argc > 4 ? std::atoi(argv[4]) : 44100, kBuffers = 5, frames = rate / 5;
    if (rate < 8000 || rate > 96000) {
        std::fprintf(stderr, "a rate of %s Hz is not one to record at\n", argv[4]);
        return 2;
    }
    const DWORD wantedMs = static_cast<DWORD>(std::atof(argv[2]) * 1000);
    const int device = FindDevice(argv[1]);
    HANDLE out = CreateFileA(argv[3], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    HANDLE ready = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (device < 0 || out == INVALID_HANDLE_VALUE || !ready) {
        std::fprintf(stderr, "no input device named like '%s', or no output file\n", argv[1]);
        return 2;
    }
    WAVEFORMATEX wfx{WAVE_FORMAT_PCM, 1, static_cast<DWORD>(rate), static_cast<DWORD>(rate) * 2, 2, 16, 0};
    HWAVEIN in = nullptr;
    if (waveInOpen(&in, static_cast<UINT>(device), &wfx, reinterpret_cast<DWORD_PTR>(ready), 0, CALLBACK_EVENT) !=
        MMSYSERR_NOERROR) {
        std::fprintf(stderr, "waveInOpen failed\n");
        return 2;
    }
    std::vector<std::vector<short>> blocks(kBuffers, std::vector<short>(frames));
    std::vector<WAVEHDR> headers(kBuffers);
    for (int i = 0; i < kBuffers; ++i) {
        headers[i] = WAVEHDR{};
        headers[i].lpData = reinterpret_cast<LPSTR>(blocks[i].data());
        headers[i].dwBufferLength = static_cast<DWORD>(frames * 2);
        waveInPrepareHeader(in, &headers[i], sizeof(WAVEHDR));
        waveInAddBuffer(in, &headers[i], sizeof(WAVEHDR));
    }
    const DWORD start = GetTickCount();
    waveInStart(in);
    unsigned taken = 0, firstHeldMs = 0;
    double firstMs = 0;
    unsigned long long bytes = 0;
    int next = 0;
    while (GetTickCount() - start < wantedMs) {
        WAVEHDR& h = headers[next];
        if (!(h.dwFlags & WHDR_DONE)) {
            WaitForSingleObject(ready, 500);
            continue;
        }
        if (taken == 0) {
            firstMs = NowMs();
            for (const WAVEHDR& lent : headers)
                firstHeldMs += lent.dwBytesRecorded * 200 / (frames * 2);
        }
        DWORD written = 0;
        WriteFile(out, h.lpData, h.dwBytesRecorded, &written, nullptr);
        bytes += h.dwBytesRecorded;
        h.dwFlags &= ~WHDR_DONE;
        waveInAddBuffer(in, &h, sizeof(WAVEHDR));
        next = (next + 1) % kBuffers;
        ++taken;
    }
    waveInStop(in);
    waveInReset(in);
    // What the device held at the stop comes back in ring order.
    for (int i = 0; i < kBuffers; ++i, next = (next + 1) % kBuffers) {
        WAVEHDR& h = headers[next];
        DWORD written = 0;
        if ((h.dwFlags & WHDR_DONE) && h.dwBytesRecorded > 0) {
            WriteFile(out, h.lpData, h.dwBytesRecorded, &written, nullptr);
            bytes += h.dwBytesRecorded;
        }
    }
    const double stopMs = NowMs();  // once all is written, as a recorder's stop ends
    for (auto& h : headers)
        waveInUnprepareHeader(in, &h, sizeof(WAVEHDR));
    waveInClose(in);
    CloseHandle(out);
    std::printf("taken %u buffers in %lu ms\n", taken, GetTickCount() - start);
    std::printf("first buffers back with %u ms; stopped %.0f ms later; %llu bytes\n", firstHeldMs, stopMs - firstMs,
                bytes);
    return 0;
}
