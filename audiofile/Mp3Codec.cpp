// The codec format of an MP3 file: the installed codec drivers' own MPEG
// Layer-3 format for the frame's channels, sample rate and bit rate.
#include "audiofile/Mp3File.h"

#include <msacm.h>

#include <cstring>

namespace {

struct FormatSearch {
    const WAVEFORMATEX* pcm = nullptr;
    uint32_t bitRate = 0;
    bool rateSeen = false;        // a format with the channels and rate exists
    bool found = false;
    unsigned char* out = nullptr;  // MaxFormatSize bytes
};

BOOL CALLBACK KeepEncoderFormat(HACMDRIVERID, LPACMFORMATDETAILSA details, DWORD_PTR instance,
                                DWORD) {
    auto* search = reinterpret_cast<FormatSearch*>(instance);
    const WAVEFORMATEX* wfx = details->pwfx;
    search->rateSeen = true;
    if (wfx->nAvgBytesPerSec * 8 != search->bitRate)
        return TRUE;
    // Only a format some driver encodes into: decoders list formats too.
    if (acmStreamOpen(nullptr, nullptr, const_cast<WAVEFORMATEX*>(search->pcm),
                      const_cast<WAVEFORMATEX*>(wfx), nullptr, 0, 0, ACM_STREAMOPENF_QUERY) != 0)
        return TRUE;
    const uint32_t bytes = 18u + wfx->cbSize;
    std::memcpy(search->out, wfx, bytes > MaxFormatSize ? MaxFormatSize : bytes);
    search->found = true;
    return FALSE;
}

// Walks the MPEG Layer-3 formats with the PCM format's channels and rate,
// of one driver or (null) of all.
void EnumerateMp3Formats(HACMDRIVER driver, FormatSearch& search) {
    alignas(WAVEFORMATEX) unsigned char buffer[MaxFormatSize] = {};
    auto* wfx = reinterpret_cast<WAVEFORMATEX*>(buffer);
    wfx->wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    wfx->nChannels = search.pcm->nChannels;
    wfx->nSamplesPerSec = search.pcm->nSamplesPerSec;
    ACMFORMATDETAILSA details{};
    details.cbStruct = sizeof details;
    details.pwfx = wfx;
    details.cbwfx = MaxFormatSize;
    details.dwFormatTag = WAVE_FORMAT_MPEGLAYER3;
    acmFormatEnumA(driver, &details, KeepEncoderFormat, reinterpret_cast<DWORD_PTR>(&search),
                   ACM_FORMATENUMF_WFORMATTAG | ACM_FORMATENUMF_NCHANNELS |
                       ACM_FORMATENUMF_NSAMPLESPERSEC);
}

// The suggested format's driver, opened; null when no driver suggests one.
// Some encoders refuse to suggest MP3 formats (ACMERR_NOTPOSSIBLE).
HACMDRIVER OpenSuggestingDriver(const WAVEFORMATEX& pcm) {
    alignas(WAVEFORMATEX) unsigned char buffer[MaxFormatSize] = {};
    auto* suggested = reinterpret_cast<WAVEFORMATEX*>(buffer);
    suggested->wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    suggested->nChannels = pcm.nChannels;
    suggested->nSamplesPerSec = pcm.nSamplesPerSec;
    if (acmFormatSuggest(nullptr, const_cast<WAVEFORMATEX*>(&pcm), suggested, MaxFormatSize,
                         ACM_FORMATSUGGESTF_WFORMATTAG | ACM_FORMATSUGGESTF_NCHANNELS |
                             ACM_FORMATSUGGESTF_NSAMPLESPERSEC) != 0)
        return nullptr;
    HACMSTREAM stream = nullptr;
    if (acmStreamOpen(&stream, nullptr, const_cast<WAVEFORMATEX*>(&pcm), suggested, nullptr, 0, 0,
                      ACM_STREAMOPENF_NONREALTIME) != 0)
        return nullptr;
    HACMDRIVERID id = nullptr;
    HACMDRIVER driver = nullptr;
    if (acmDriverID(reinterpret_cast<HACMOBJ>(stream), &id, 0) != 0 ||
        acmDriverOpen(&driver, id, 0) != 0)
        driver = nullptr;
    acmStreamClose(stream, 0);
    return driver;
}

}  // namespace

bool Mp3File::FindCodecFormat(const Mp3FrameHeader& frame) {
    FormatSearch search;
    search.pcm = &pcmFormat_;
    search.bitRate = frame.bitRate;
    search.out = formatBuffer_;
    if (HACMDRIVER driver = OpenSuggestingDriver(pcmFormat_)) {
        EnumerateMp3Formats(driver, search);
        acmDriverClose(driver, 0);
    }
    if (!search.found)
        EnumerateMp3Formats(nullptr, search);
    if (search.found) {
        canEncode_ = true;
        return true;
    }
    // No encoder for this format: a decoder is enough to read and play it.
    MPEGLAYER3WAVEFORMAT own = Mp3FormatOfFrame(frame);
    if (acmStreamOpen(nullptr, nullptr, &own.wfx, &pcmFormat_, nullptr, 0, 0,
                      ACM_STREAMOPENF_QUERY) == 0) {
        std::memcpy(formatBuffer_, &own, sizeof own);
        canEncode_ = false;
        return true;
    }
    SetStatus(search.rateSeen ? statusNoCodecFormat : statusNoConversion);
    return false;
}
