// A recording held in memory for the report and position tests: any format,
// any length, tags by key; positions are bytes, or frames when framed (as in
// Ogg files, whose seconds come from the sample rate, not the byte rate).
#pragma once

#include <algorithm>
#include <map>
#include <string>

#include "audiofile/PcmFormat.h"
#include "audiofile/RecFile.h"

class ReportTestFile : public RecFile {
public:
    ReportTestFile(const char* path, const WAVEFORMATEX& format, uint32_t length, bool framed = false)
        : RecFile(path, MMIO_READ), wave_(format), length_(length), framed_(framed)
    {
        format_ = &wave_;
    }

    std::map<std::string, std::string> tags;
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    WAVEFORMATEX& Format() { return wave_; }

    bool Rename(const std::string&) override { return false; }
    bool Delete() override { return false; }
    bool IsOpen() const override { return true; }
    bool Reopen() override { return true; }
    bool Open() override { return true; }
    uint32_t GetPosition() const override { return position_; }
    bool Position(uint32_t position) override
    {
        position_ = std::min(position, length_);
        return true;
    }
    uint32_t GetDataLength() const override { return length_; }
    void SetDataLength(uint32_t length) override { length_ = length; }
    uint32_t GetAvgBytesPerSec() const override { return wave_.nAvgBytesPerSec; }
    int GetFileType() const override { return framed_ ? ftOgg : ftWav; }
    uint32_t GetSeconds(uint32_t length) const override
    {
        if (!framed_)
            return RecFile::GetSeconds(length);
        const uint32_t frames = length == kWholeLength ? GetLength() : length;
        return wave_.nSamplesPerSec ? frames / wave_.nSamplesPerSec : 0;
    }
    int32_t Write(const void*, uint32_t) override { return -1; }
    int32_t Read(void*, uint32_t) override { return 0; }
    std::optional<std::string> GetTag(const std::string& key) override
    {
        const auto found = tags.find(key);
        if (found == tags.end())
            return std::nullopt;
        return found->second;
    }

private:
    WAVEFORMATEX wave_;
    uint32_t length_;
    bool framed_;
    uint32_t position_ = 0;
};
