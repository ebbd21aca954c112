// Tones in and out of the Ogg file classes.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "audiofile/MediaFile.h"

// A Vorbis or Speex format as the recorder hands it to the file classes.
inline WAVEFORMATEX CodecFormat(WORD tag, int channels, DWORD rate) {
    WAVEFORMATEX format{};
    format.wFormatTag = tag;
    format.nChannels = static_cast<WORD>(channels);
    format.nSamplesPerSec = rate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 1;
    return format;
}

// frames of a sine at hz, interleaved over channels (the second channel at half level).
inline std::vector<int16_t> SineFrames(uint32_t frames, int channels, double hz, uint32_t rate,
                                       uint32_t startFrame = 0) {
    std::vector<int16_t> pcm(static_cast<size_t>(frames) * channels);
    for (uint32_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            pcm[i * channels + c] = static_cast<int16_t>(
                (c == 0 ? 12000 : 6000) * std::sin(2 * 3.14159265358979 * hz * (startFrame + i) / rate));
    return pcm;
}

// Writes seconds of tone in calls of callFrames frames; false at the first refusal.
inline bool WriteTone(MediaFile& file, double seconds, int channels, uint32_t rate, uint32_t callFrames,
                      double hz = 440) {
    const uint32_t total = static_cast<uint32_t>(seconds * rate);
    for (uint32_t at = 0; at < total; at += callFrames) {
        const uint32_t n = total - at < callFrames ? total - at : callFrames;
        const std::vector<int16_t> pcm = SineFrames(n, channels, hz, rate, at);
        const uint32_t bytes = static_cast<uint32_t>(pcm.size() * 2);
        if (file.WriteSamples(pcm.data(), bytes) != bytes)
            return false;
    }
    return true;
}

// Every sample the file decodes, in calls of callBytes.
inline std::vector<int16_t> DecodeAll(MediaFile& file, uint32_t callBytes = 8192) {
    std::vector<int16_t> all;
    std::vector<int16_t> buffer(callBytes / 2);
    for (;;) {
        const uint32_t got = file.ReadSamples(buffer.data(), callBytes);
        if (got == 0)
            break;
        all.insert(all.end(), buffer.begin(), buffer.begin() + got / 2);
    }
    return all;
}

// Frequency of channel 0 from its rising zero crossings, skipping the first 10 %.
inline double ToneFrequency(const std::vector<int16_t>& pcm, int channels, uint32_t rate) {
    const size_t frames = pcm.size() / channels;
    size_t first = 0, last = 0, crossings = 0;
    for (size_t i = frames / 10 + 1; i < frames; ++i)
        if (pcm[(i - 1) * channels] < 0 && pcm[i * channels] >= 0) {
            if (crossings == 0)
                first = i;
            last = i;
            ++crossings;
        }
    if (crossings < 2)
        return 0;
    return static_cast<double>(crossings - 1) * rate / static_cast<double>(last - first);
}
