#include "audiofile/PcmFormat.h"

#include <mmreg.h>

WAVEFORMATEX PcmFormat(WORD channels, DWORD samplesPerSecond, WORD bitsPerSample) {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = channels;
    format.nSamplesPerSec = samplesPerSecond;
    format.wBitsPerSample = bitsPerSample;
    // A sample that is not a whole number of bytes still takes whole bytes.
    format.nBlockAlign = static_cast<WORD>(channels * ((bitsPerSample + 7) / 8));
    format.nAvgBytesPerSec = format.nBlockAlign * samplesPerSecond;
    format.cbSize = 0;
    return format;
}
