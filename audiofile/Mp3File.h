// A file of raw MPEG audio frames (layer 3 as recorded; layers 1 and 2 are
// recognised when reading). The recorder encodes and decodes through the
// Audio Compression Manager itself and hands this class the MPEG bytes.
// Tags: an ID3v1 block at the end of the file, kept here, and an ID3v2 tag at
// the start, read and written through id3lib; the annotation text is an
// ID3v2 private frame.
#pragma once

#include <string>

#include "audiofile/Mp3Frames.h"
#include "audiofile/RecFile.h"

class Mp3File : public RecFile {
public:
    // format null: MPEG Layer-3, mono, 16000 samples per second, 64 kbit/s.
    Mp3File(const char* name, const WAVEFORMATEX* format, uint32_t openMode);
    ~Mp3File() override;

    bool Rename(const std::string& newPath) override;
    bool Update() override;
    bool Close() override;
    bool Delete() override;
    bool IsOpen() const override { return handle_ != nullptr; }
    bool Reopen() override { return Open(); }
    uint32_t GetPosition() const override { return position_; }
    bool Position(uint32_t position) override;
    uint32_t GetLength() const override { return dataLength_; }
    void SetDataLength(uint32_t bytes) override;
    uint32_t GetDataLength() const override { return dataLength_; }
    uint32_t GetAvgBytesPerSec() const override { return format_ ? format_->nAvgBytesPerSec : 0; }
    int GetFileType() const override { return ftMp3; }
    int32_t Write(const void* data, uint32_t bytes) override;
    int32_t Read(void* data, uint32_t bytes) override;
    std::optional<std::string> GetTag(const std::string& key) override;
    bool SetTag(const std::string& key, const std::string& value) override;
    bool Open() override;
    bool StoresAnnotationsInTag() const override { return TagEnabled(); }

    HMMIO GetHandle() const { return handle_; }
    // Reads the frame at the current file offset (after a resync) into the
    // file's format; checkNext also asks for a frame right after it. Leaves
    // the file at the frame's header.
    bool ReadFrameFormat(bool checkNext);
    // The frame at the current offset (after a resync), its header parsed
    // and, with checkNext, another frame sync right after it; leaves the
    // file at its header.
    bool ReadFrameHeader(bool checkNext, Mp3FrameHeader& frame);
    // At file offset 0 only: skips an ID3v2 tag; false when there is none.
    bool SkipId3v2();

    // The ID3v1 fields "title", "artist", "album", "year", "comment" (case-blind).
    bool HasId3v1() const { return hasId3v1_; }
    bool GetId3v1Field(const std::string& name, std::string& value) const;
    // Always false (the block is written at Close), as callers expect.
    bool SetId3v1Field(const std::string& name, const std::string& value);

    // The PCM format the frames decode to (valid after opening an existing file).
    const WAVEFORMATEX& GetPcmFormat() const { return pcmFormat_; }
    // An installed codec encodes this file's format; without one the file
    // opens for reading and playback, and appending is refused.
    bool CanEncode() const { return canEncode_; }

    // Whether SetTag writes ID3v2 tags (on by default); one switch for every file.
    static void EnableTag(bool enabled);
    static bool TagEnabled();

    static constexpr uint32_t kId3v1Bytes = 128;

private:
    bool OpenHandle(uint32_t mode);
    void CloseHandle();
    bool OpenExisting();
    // From the current offset: up to ten tries of a frame followed by
    // another, whose format the codec knows, stepping on after each failure;
    // leaves the file at the first such frame. Open and the reopening after
    // a tag rewrite both find the data start so.
    bool SeekFirstFrame();
    // Skips to the next frame sync: the bytes skipped, -1 at the end of the file.
    int32_t ResyncFrame();
    bool FindCodecFormat(const Mp3FrameHeader& frame);
    bool ReadId3v1();
    bool WriteId3v1();
    void TrimFile();
    static uint32_t FormatBytes(const WAVEFORMATEX* format);
    uint32_t FileOffset() const;
    bool SeekTo(uint32_t offset);
    // Opens the handle again after id3lib rewrote the file; keeps the position.
    bool ReopenAfterTagWrite(bool hadData, uint32_t position);

    HMMIO handle_ = nullptr;
    uint32_t dataLength_ = 0;
    uint32_t position_ = 0;
    uint32_t dataStart_ = 0;
    bool hasId3v1_ = false;
    bool id3v1Dirty_ = false;
    bool canEncode_ = true;
    // The data was cut (SetDataLength): the file is trimmed to it at Close.
    bool truncated_ = false;
    char id3v1_[kId3v1Bytes] = {};
    WAVEFORMATEX pcmFormat_{};
    alignas(WAVEFORMATEX) unsigned char formatBuffer_[MaxFormatSize + 1] = {};
};
