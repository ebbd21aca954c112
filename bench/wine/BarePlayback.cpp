// bare_playback FILE.wav
// The least a program can do to play: a 44-byte-header PCM WAV file in five
// 200 ms buffers lent to the wave mapper, each refilled and lent again as it
// comes back (the device signals an event). The benchmark's baseline for
// what playback costs on this Wine.
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bare_playback FILE.wav\n");
        return 2;
    }
    FILE* in = std::fopen(argv[1], "rb");
    WAVEFORMATEX wfx{};
    if (!in || std::fseek(in, 20, SEEK_SET) != 0 || std::fread(&wfx, 16, 1, in) != 1 ||
        wfx.wFormatTag != WAVE_FORMAT_PCM || std::fseek(in, 44, SEEK_SET) != 0) {
        std::fprintf(stderr, "not a plain PCM WAV file: %s\n", argv[1]);
        return 2;
    }
    wfx.cbSize = 0;
    HANDLE ready = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HWAVEOUT out = nullptr;
    if (waveOutOpen(&out, WAVE_MAPPER, &wfx, reinterpret_cast<DWORD_PTR>(ready), 0, CALLBACK_EVENT) !=
        MMSYSERR_NOERROR) {
        std::fprintf(stderr, "waveOutOpen failed\n");
        return 2;
    }
    const int kBuffers = 5;
    const DWORD bytes = wfx.nAvgBytesPerSec / 5 / wfx.nBlockAlign * wfx.nBlockAlign;
    std::vector<std::vector<char>> blocks(kBuffers, std::vector<char>(bytes));
    std::vector<WAVEHDR> headers(kBuffers);
    int playing = 0;
    // Fills and lends header h; false at the end of the file.
    auto lend = [&](WAVEHDR& h, std::vector<char>& block) {
        const size_t got = std::fread(block.data(), 1, block.size(), in);
        if (got == 0)
            return false;
        h.dwBufferLength = static_cast<DWORD>(got);
        h.dwFlags &= ~WHDR_DONE;
        waveOutWrite(out, &h, sizeof(WAVEHDR));
        ++playing;
        return true;
    };
    for (int i = 0; i < kBuffers; ++i) {
        headers[i] = WAVEHDR{};
        headers[i].lpData = blocks[i].data();
        headers[i].dwBufferLength = bytes;
        waveOutPrepareHeader(out, &headers[i], sizeof(WAVEHDR));
        lend(headers[i], blocks[i]);
    }
    for (int next = 0; playing > 0;) {
        if (!(headers[next].dwFlags & WHDR_DONE)) {
            WaitForSingleObject(ready, 500);
            continue;
        }
        --playing;
        if (!lend(headers[next], blocks[next]))
            headers[next].dwFlags &= ~WHDR_DONE;  // played out: not waited for again
        next = (next + 1) % kBuffers;
    }
    waveOutReset(out);
    for (auto& h : headers)
        waveOutUnprepareHeader(out, &h, sizeof(WAVEHDR));
    waveOutClose(out);
    std::fclose(in);
    return 0;
}
