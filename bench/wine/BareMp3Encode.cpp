// bare_mp3_encode IN.raw OUT.mp3
// The least a program can do to encode MP3: 16 kHz 16-bit mono PCM from
// IN.raw into 32 kbit/s mono MP3 through the codec manager (whichever driver
// takes it), 200 ms at a time with the start flag on the first block, the end
// flag on an empty last one, then the header unprepared, which is when LAME's
// driver gives its last frames. The record checks' baseline for the length
// the codec itself adds or drops.
#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bare_mp3_encode IN.raw OUT.mp3\n");
        return 2;
    }
    FILE* in = std::fopen(argv[1], "rb");
    FILE* out = std::fopen(argv[2], "wb");
    if (!in || !out) {
        std::fprintf(stderr, "cannot open the files\n");
        return 1;
    }
    WAVEFORMATEX pcm{WAVE_FORMAT_PCM, 1, 16000, 32000, 2, 16, 0};
    MPEGLAYER3WAVEFORMAT mp3{};
    mp3.wfx = {WAVE_FORMAT_MPEGLAYER3, 1, 16000, 4000, 1, 0, MPEGLAYER3_WFX_EXTRA_BYTES};
    mp3.wID = MPEGLAYER3_ID_MPEG;
    mp3.fdwFlags = MPEGLAYER3_FLAG_PADDING_OFF;
    mp3.nBlockSize = 144;
    mp3.nFramesPerBlock = 1;
    mp3.nCodecDelay = 1393;
    HACMSTREAM stream = nullptr;
    if (MMRESULT rc = acmStreamOpen(&stream, nullptr, &pcm, &mp3.wfx, nullptr, 0, 0, 0)) {
        std::fprintf(stderr, "acmStreamOpen: %u\n", rc);
        return 1;
    }
    const DWORD block = 6400, capacity = 65536;
    std::vector<BYTE> source(capacity), encoded(capacity);
    ACMSTREAMHEADER header{};
    header.cbStruct = sizeof header;
    header.pbSrc = source.data();
    header.cbSrcLength = capacity;
    header.pbDst = encoded.data();
    header.cbDstLength = capacity;
    if (MMRESULT rc = acmStreamPrepareHeader(stream, &header, 0)) {
        std::fprintf(stderr, "acmStreamPrepareHeader: %u\n", rc);
        return 1;
    }
    DWORD carried = 0, flags = ACM_STREAMCONVERTF_START;
    bool more = true;
    while (more) {
        const size_t got = std::fread(source.data() + carried, 1, block, in);
        more = got > 0;
        header.cbSrcLength = carried + DWORD(got);
        header.cbSrcLengthUsed = header.cbDstLengthUsed = 0;
        const DWORD how = more ? flags | ACM_STREAMCONVERTF_BLOCKALIGN : ACM_STREAMCONVERTF_END;
        if (MMRESULT rc = acmStreamConvert(stream, &header, how)) {
            std::fprintf(stderr, "acmStreamConvert: %u\n", rc);
            return 1;
        }
        flags = 0;
        std::fwrite(encoded.data(), 1, header.cbDstLengthUsed, out);
        carried = header.cbSrcLength - header.cbSrcLengthUsed;
        std::memmove(source.data(), source.data() + header.cbSrcLengthUsed, carried);
    }
    header.cbSrcLength = header.cbDstLength = capacity;
    header.cbDstLengthUsed = 0;
    if (MMRESULT rc = acmStreamUnprepareHeader(stream, &header, 0)) {
        std::fprintf(stderr, "acmStreamUnprepareHeader: %u\n", rc);
        return 1;
    }
    std::fwrite(encoded.data(), 1, std::min(header.cbDstLengthUsed, capacity), out);
    acmStreamClose(stream, 0);
    std::fclose(in);
    return std::fclose(out) == 0 ? 0 : 1;
}
