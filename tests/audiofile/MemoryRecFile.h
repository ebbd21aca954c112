// A RecFile whose audio and tag live in memory, to test the recording layer
// without a container. The journal still goes to disk beside path.
#pragma once

#include <algorithm>
#include <cstring>
#include <vector>

#include "audiofile/PcmFormat.h"
#include "audiofile/RecFile.h"

class MemoryRecFile : public RecFile {
public:
    explicit MemoryRecFile(const char* path = nullptr, uint32_t avgBytesPerSec = 44100,
                           int fileType = ftWav)
        : RecFile(path, MMIO_READWRITE), fileType_(fileType) {
        wave_ = PcmFormat(1, avgBytesPerSec, 8);  // 8-bit mono: one byte per sample
        format_ = &wave_;
    }

    // Test controls.
    void SetLength(uint32_t bytes) { audio_.resize(bytes); }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    void SetNoFormat() { format_ = nullptr; }
    std::vector<char>& Audio() { return audio_; }
    std::optional<std::string> tag;
    bool tagWritable = true;
    int updates = 0;

    bool Rename(const std::string&) override { return false; }
    bool Delete() override { return false; }
    bool IsOpen() const override { return true; }
    bool Reopen() override { return true; }
    uint32_t GetPosition() const override { return position_; }
    bool Position(uint32_t position) override {
        position_ = std::min<uint32_t>(position, GetDataLength());
        return true;
    }
    uint32_t GetDataLength() const override { return static_cast<uint32_t>(audio_.size()); }
    void SetDataLength(uint32_t bytes) override { audio_.resize(bytes); }
    uint32_t GetAvgBytesPerSec() const override { return format_ ? format_->nAvgBytesPerSec : 0; }
    int GetFileType() const override { return fileType_; }
    int32_t Write(const void* data, uint32_t bytes) override {
        if (!overwrite_)
            position_ = GetDataLength();
        const uint32_t before = position_;
        if (position_ + bytes > audio_.size())
            audio_.resize(position_ + bytes);
        std::memcpy(audio_.data() + position_, data, bytes);
        position_ += bytes;
        modified_ = true;
        NoteAudioWrite(data, bytes, before);
        return static_cast<int32_t>(bytes);
    }
    int32_t Read(void* data, uint32_t bytes) override {
        bytes = std::min<uint32_t>(bytes, GetDataLength() - position_);
        std::memcpy(data, audio_.data() + position_, bytes);
        position_ += bytes;
        return static_cast<int32_t>(bytes);
    }
    std::optional<std::string> GetTag(const std::string& key) override {
        return key == kAnnotationKey ? tag : std::nullopt;
    }
    bool SetTag(const std::string& key, const std::string& value) override {
        if (key != kAnnotationKey || !tagWritable)
            return false;
        tag = value;
        return true;
    }
    bool Update() override {
        ++updates;
        return RecFile::Update();
    }

private:
    WAVEFORMATEX wave_{};
    std::vector<char> audio_;
    uint32_t position_ = 0;
    int fileType_;
};
