#include "recorder/capture/CaptureBuffers.h"

#include <algorithm>
#include <new>

uint32_t CaptureBufferBytes(const WAVEFORMATEX& format)
{
    uint64_t bytes = format.nAvgBytesPerSec / 5;
    if (format.nBlockAlign != 0)
        bytes -= bytes % format.nBlockAlign;
    if (bytes == 0 || bytes > kRingBlockBytes)
        return 0;
    return static_cast<uint32_t>(bytes);
}

WAVEFORMATEX CaptureDeviceFormat(const WAVEFORMATEX& capture, int recordChannel, bool& widened)
{
    WAVEFORMATEX device = capture;
    device.cbSize = 0;
    widened = recordChannel != 0 && capture.nChannels == 1;
    if (widened) {
        device.nChannels = 2;
        device.nBlockAlign = static_cast<WORD>(device.nChannels * device.wBitsPerSample / 8);
        device.nAvgBytesPerSec = capture.nAvgBytesPerSec * 2;
    }
    return device;
}

bool AudioRing::Allocate(bool withConversion)
{
    Free();
    for (int slot = 0; slot < kRingSlots; ++slot) {
        data_[slot].reset(new (std::nothrow) uint8_t[kRingBlockBytes]);
        if (!data_[slot]) {
            Free();
            return false;
        }
        headers_[slot] = WAVEHDR{};
        headers_[slot].lpData = reinterpret_cast<LPSTR>(data_[slot].get());
        headers_[slot].dwBufferLength = kRingBlockBytes;
        headers_[slot].dwLoops = 1;
        headers_[slot].dwUser = slot;
    }
    if (!withConversion)
        return true;
    for (auto& block : convBuffers_) {
        block.reset(new (std::nothrow) uint8_t[kRingBlockBytes]);
        if (!block) {
            Free();
            return false;
        }
    }
    for (int slot = 0; slot < kRingSlots; ++slot) {
        ACMSTREAMHEADER& rec = conversions_[slot];
        rec = ACMSTREAMHEADER{};
        rec.cbStruct = sizeof(ACMSTREAMHEADER);
        rec.pbSrc = convBuffers_[2 * slot].get();
        rec.cbSrcLength = kRingBlockBytes;
        rec.pbDst = convBuffers_[2 * slot + 1].get();
        rec.cbDstLength = kRingBlockBytes;
    }
    return true;
}

void AudioRing::Free()
{
    for (auto& block : data_)
        block.reset();
    for (auto& block : convBuffers_)
        block.reset();
    headers_.fill(WAVEHDR{});
    conversions_.fill(ACMSTREAMHEADER{});
}

void AudioRing::ResetHeader(int slot, uint32_t bufferBytes)
{
    WAVEHDR& h = headers_[slot];
    h.dwBufferLength = std::min(bufferBytes, kRingBlockBytes);
    h.dwBytesRecorded = 0;
    h.dwFlags = 0;
    h.dwLoops = 0;
    h.lpNext = nullptr;
    h.reserved = 0;
    h.dwUser = slot;
}

int RingSlotOf(const WAVEHDR& header)
{
    return header.dwUser < static_cast<DWORD_PTR>(kRingSlots) ? static_cast<int>(header.dwUser) : -1;
}

int NextReadySlot(int lastSlot, const std::array<bool, kRingSlots>& done)
{
    const int slot = (lastSlot + 1 + kRingSlots) % kRingSlots;
    if (!done[slot] || !done[(slot + 1) % kRingSlots])
        return -1;
    return slot;
}

int DrainOrder(int lastSlot, const std::array<uint32_t, kRingSlots>& bytesRecorded,
               std::array<int, kRingSlots>& slots)
{
    int count = 0;
    for (int step = 1; step <= kRingSlots; ++step) {
        const int slot = (lastSlot + step + kRingSlots) % kRingSlots;
        if (bytesRecorded[slot] > 0)
            slots[count++] = slot;
    }
    return count;
}

bool StallWatch::Note(bool advanced)
{
    if (advanced) {
        stalls_ = 0;
        return false;
    }
    ++stalls_;
    return stalls_ == kStallLimit;
}

uint32_t ExtractChannel(uint8_t* data, uint32_t bytes, int bitsPerSample, bool keepRight)
{
    // 24- and 32-bit samples move whole, like 16-bit ones.
    const uint32_t sampleBytes = std::max(1, (bitsPerSample + 7) / 8);
    const uint32_t frameBytes = 2 * sampleBytes;
    const uint32_t frames = bytes / frameBytes;
    const uint32_t from = keepRight ? sampleBytes : 0;
    // The write position never overtakes the read position, so in place is safe.
    for (uint32_t f = 0; f < frames; ++f)
        for (uint32_t b = 0; b < sampleBytes; ++b)
            data[f * sampleBytes + b] = data[f * frameBytes + from + b];
    return frames * sampleBytes;
}

namespace {

int SampleLevel8(uint8_t byte)
{
    const int s = static_cast<int8_t>(byte);
    const int level = (s < 0 ? -s : s) - 127;
    return level < 0 ? -level : level;
}

// The level of a sample of 16 bits or more: its high (last) byte.
int SampleLevelWide(const uint8_t* sample, uint32_t sampleBytes)
{
    const int high = static_cast<int8_t>(sample[sampleBytes - 1]);
    return high < 0 ? -high : high;
}

}  // namespace

uint32_t PeakLevel(const uint8_t* data, uint32_t bytes, const WAVEFORMATEX& format)
{
    const bool stereo = format.nChannels == 2;
    // Each sample by its own size: 24- and 32-bit PCM read as 16-bit would
    // mix low bytes of one sample into the next.
    const uint32_t sampleBytes = std::max(1, (format.wBitsPerSample + 7) / 8);
    const uint32_t samples = bytes / sampleBytes;
    int peak[2] = {0, 0};
    for (uint32_t i = 0; i < samples; ++i) {
        const int level = sampleBytes == 1 ? SampleLevel8(data[i]) : SampleLevelWide(data + i * sampleBytes, sampleBytes);
        int& channelPeak = peak[stereo ? i % 2 : 0];
        channelPeak = std::max(channelPeak, level);
    }
    if (stereo)
        return static_cast<uint32_t>(peak[0] * 256 + peak[1]);
    return static_cast<uint32_t>(peak[0]);
}

int PeakPercent(uint32_t peak)
{
    const int louder = static_cast<int>(std::max(peak & 0xFF, (peak >> 8) & 0xFF));
    return louder * 100 / 127;
}
