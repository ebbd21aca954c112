// A WAVE file: "fmt " (the WAVEFORMATEX), "fact" (sample count), "data".
// Holds PCM or any codec format; positions are whole sample blocks.
#pragma once

#include <memory>

#include "audiofile/RiffFile.h"

class WaveFile : public RiffFile {
public:
    // format null: 8-bit mono PCM at 22050 Hz. A format longer than
    // MaxFormatSize is refused at Open (status 2).
    WaveFile(const char* name, const WAVEFORMATEX* format, uint32_t openMode);
    ~WaveFile() override;

    bool Update() override;
    // Rounded down to the block align and cut to the data length; false with
    // a block align of 0.
    bool Position(uint32_t position) override;
    uint32_t GetAvgBytesPerSec() const override;
    int GetFileType() const override { return ftWav; }
    void AddSamples(uint32_t samples) override { factCount_ += samples; }

    // Samples in the file as "fact" will record them.
    uint32_t CountSamples() const;
    uint32_t GetFactCount() const { return factCount_; }

protected:
    bool CreateFormat() override;
    bool ReadFormat() override;

private:
    std::unique_ptr<uint8_t[]> formatBuffer_;  // MaxFormatSize bytes
    bool formatTooLarge_ = false;
    uint32_t factCount_ = 0;
    uint32_t factOffset_ = 0;  // file offset of the "fact" value; 0 = no chunk
};
