#include "audiofile/WaveFile.h"

#include <mmreg.h>

#include <algorithm>
#include <cstring>

#include "audiofile/PcmFormat.h"

namespace {

constexpr uint32_t kFormatHeaderBytes = 18;  // WAVEFORMATEX without its extra bytes
constexpr uint32_t kMinFormatChunk = 16;     // PCMWAVEFORMAT: no cbSize

}  // namespace

WaveFile::WaveFile(const char* name, const WAVEFORMATEX* format, uint32_t openMode)
    : RiffFile(name, "WAVE", "data", openMode), formatBuffer_(new uint8_t[MaxFormatSize]()) {
    format_ = reinterpret_cast<WAVEFORMATEX*>(formatBuffer_.get());
    *format_ = PcmFormat(1, 22050, 8);  // the default: 8-bit mono
    if (format) {
        // PCM formats carry no extra bytes; their cbSize may be anything
        // (a PCMWAVEFORMAT has none), so it is not read.
        const bool pcm = format->wFormatTag == WAVE_FORMAT_PCM;
        const uint32_t bytes = pcm ? kMinFormatChunk : kFormatHeaderBytes + format->cbSize;
        if (bytes > MaxFormatSize)
            formatTooLarge_ = true;  // cannot be held: refused when the file is created
        else
            std::memcpy(formatBuffer_.get(), format, bytes);
    }
}

WaveFile::~WaveFile() {
    // Close while this is still a WaveFile: the close writes the "fact" count.
    Close();
}

bool WaveFile::CreateFormat() {
    if (formatTooLarge_) {
        SetStatus(statusNoFormat);
        return false;
    }
    Chunk fact;
    const uint32_t zero = 0;
    if (!AppendChunk(mmioStringToFOURCCA("fmt ", 0), format_, kFormatHeaderBytes + format_->cbSize) ||
        !AppendChunk(mmioStringToFOURCCA("fact", 0), &zero, 4, &fact))
        return false;
    factOffset_ = fact.offset;
    factCount_ = 0;
    return true;
}

bool WaveFile::ReadFormat() {
    Chunk fmt;
    if (!FindChunk(mmioStringToFOURCCA("fmt ", 0), fmt))
        return false;
    // Anything else would not fit the format buffer or not describe a format.
    if (fmt.size < kMinFormatChunk || fmt.size > MaxFormatSize)
        return false;
    std::memset(formatBuffer_.get(), 0, MaxFormatSize);
    if (!ReadAt(fmt.offset, formatBuffer_.get(), fmt.size))
        return false;
    // The extra bytes are only those present in the chunk.
    const uint32_t extraPresent = fmt.size > kFormatHeaderBytes ? fmt.size - kFormatHeaderBytes : 0;
    format_->cbSize = static_cast<WORD>(std::min<uint32_t>(format_->cbSize, extraPresent));
    formatTooLarge_ = false;
    factOffset_ = 0;
    factCount_ = 0;
    Chunk fact;
    uint32_t count = 0;
    if (FindChunk(mmioStringToFOURCCA("fact", 0), fact) && fact.size >= 4 && ReadAt(fact.offset, &count, 4)) {
        factOffset_ = fact.offset;
        factCount_ = count;
    }
    return true;
}

uint32_t WaveFile::GetAvgBytesPerSec() const { return format_ ? format_->nAvgBytesPerSec : 0; }

bool WaveFile::Position(uint32_t position) {
    const uint32_t blockAlign = format_ ? format_->nBlockAlign : 0;
    if (blockAlign == 0)
        return false;
    position -= position % blockAlign;
    const uint32_t length = GetDataLength();
    return RiffFile::Position(std::min(position, length - length % blockAlign));
}

uint32_t WaveFile::CountSamples() const {
    const uint64_t length = GetDataLength();
    if (format_->wFormatTag != WAVE_FORMAT_PCM && factCount_ != 0)
        return factCount_;
    uint64_t samples = length;
    if (format_->nAvgBytesPerSec != 0)
        samples = length * format_->nSamplesPerSec / format_->nAvgBytesPerSec;
    else if (format_->wBitsPerSample != 0)
        samples = length * 8 / format_->wBitsPerSample;
    return static_cast<uint32_t>(std::min<uint64_t>(samples, 0xFFFFFFFFu));
}

bool WaveFile::Update() {
    if (!IsOpen())
        return true;
    if (!modified_)
        return RecFile::Update();
    bool ok = true;
    if (factOffset_ != 0) {
        const uint32_t count = CountSamples();
        ok = WriteAt(factOffset_, &count, 4);
    }
    return RiffFile::Update() && ok;
}
