// The layer shared by the two Ogg recording formats: one logical stream in
// one file, read through one stdio stream and written through another. The
// codec classes add encoding, decoding and the header packets. Positions and
// lengths are sample frames (the granule position).
#pragma once

#include <cstdio>
#include <vector>

#include <ogg/ogg.h>

#include "audiofile/OggCommentBlock.h"
#include "audiofile/RecFile.h"

// The raw packet record of Write and Read: 32 bytes, little-endian, the same
// in every build: pointer slot (0), byte count, b_o_s, e_o_s (32 bits each),
// granule position, packet number (64 bits each); the packet data follow.
constexpr uint32_t kOggPacketRecordBytes = 32;
void PutOggPacketRecord(unsigned char* out, const ogg_packet& packet);
// False when the record's count is negative or larger than dataBytes.
bool GetOggPacketRecord(const unsigned char* in, uint32_t dataBytes, ogg_packet& packet);

// Frames every raw packet's granule position is moved on by when it is
// written (Write), so a copied stream never starts at granule 0.
constexpr int64_t kOggRawGranuleLead = 500;

// The size the comment packet is padded to, without the codec's prefix.
constexpr uint32_t kOggCommentLimit = 2000;

class OggFile : public RecFile {
public:
    OggFile(const char* name, uint32_t openMode);
    ~OggFile() override;

    bool Rename(const std::string& newPath) override;
    bool Delete() override;
    bool IsOpen() const override { return readStream_ != nullptr; }
    bool Reopen() override { return true; }
    uint32_t GetPosition() const override;
    bool Position(uint32_t position) override;
    uint32_t GetLength() const override;
    uint32_t GetSeconds(uint32_t length = kWholeLength) const override;
    void SetDataLength(uint32_t bytes) override { bytesWritten_ = bytes; }
    uint32_t GetDataLength() const override;
    uint32_t GetAvgBytesPerSec() const override;
    uint32_t RelativePosition(int32_t seconds) const override;
    uint32_t PositionUnitsPerSecond() const override {
        return GetFormat() ? GetFormat()->nSamplesPerSec : 0;
    }
    bool CanOverwrite() const override { return false; }
    bool Flush() override;
    // Raw packets: a 32-byte record followed by the packet data.
    int32_t Write(const void* data, uint32_t bytes) override;
    int32_t Read(void* data, uint32_t bytes) override;
    std::optional<std::string> GetTag(const std::string& key) override;
    bool SetTag(const std::string& key, const std::string& value) override;

    const OggCommentBlock& Comments() const { return comments_; }
    // The stream may be continued: false for a file whose setup differs
    // from what this program's encoder makes, or whose last page is damaged.
    bool CanAppend() const { return appendAllowed_; }
    int SerialNumber() const { return serial_; }

protected:
    // Header packets at the start of the stream (3 Vorbis, 2 Speex).
    virtual int HeaderPacketCount() const = 0;
    virtual const unsigned char* CommentPrefix(size_t& length) const = 0;
    // The decoder starts again after the read side rewound.
    virtual void RestartDecoder() {}
    // Before the first appended packet of this opening; false refuses it.
    virtual bool BeginWriting();
    // After a raw packet went out.
    virtual void AfterRawWrite() {}

    virtual bool ReadPacket(ogg_packet& packet);
    bool WritePacket(ogg_packet& packet, bool toFile);
    bool WriteEndOfStream();
    // Opens both streams: a new file ("wb+"; an empty path gets a temporary
    // name) or an existing one ("rb+" when writing is asked); newFile tells
    // which. Status 1 and false when that fails.
    bool OpenStreams(bool& newFile);
    // The format given to a constructor, cut to the format buffer.
    void SetFormat(const WAVEFORMATEX* format);
    bool IsNewStream() const;
    // Reads count header packets from the start (the first page sets the
    // serial number of both stream states).
    bool ReadHeaderPackets(std::vector<OggOwnedPacket>& packets, int count);
    // Reads every remaining packet; then the write stream state continues
    // after the last page and packet of the file.
    void ScanToEnd();
    // Back to the first audio packet.
    bool RereadHeaders();
    bool PrepareAppend();
    void RetimePacket(ogg_packet& packet);
    bool UpdateAnnotationInPlace();
    // Closes both streams; runs the header rewrite when the comments are
    // still dirty. False when they could not be written: the journal then
    // keeps the annotations.
    bool CloseStreams();

    bool commentsDirty_ = false;
    OggCommentBlock comments_;
    FILE* readStream_ = nullptr;
    FILE* writeStream_ = nullptr;
    uint32_t bytesWritten_ = 0;
    ogg_stream_state readState_{};
    ogg_stream_state writeState_{};
    ogg_sync_state sync_{};
    int64_t currentGranule_ = 0;
    int64_t highestGranule_ = 0;
    int64_t pagedGranule_ = 0;  // granule position of the last page written
    int64_t lastPacketNo_ = -1;
    int64_t retimeOffset_ = 0;
    bool retiming_ = false;
    bool encoderActive_ = false;
    bool appendAllowed_ = true;
    int serial_ = 0;
    int64_t lastPageNo_ = -1;   // sequence number of the last page read
    int64_t packetsRead_ = 0;   // packets taken from the read stream since the start
    std::vector<unsigned char> formatBuffer_;  // MaxFormatSize bytes; format_ points here

private:
    bool WritePage(const ogg_page& page);
    bool SeekReadToStart();
    std::vector<unsigned char> pendingRead_;  // what a short Read left of the last record
    size_t pendingOffset_ = 0;
};

// Rewrites the headers of a finished file through a temporary file, so that
// a comment packet of any size fits: the header packets are paged afresh and
// the audio pages are renumbered. The recording is replaced in one move.
bool RewriteOggHeaders(const std::string& path, const OggOwnedPacket& comment, int headerPackets);
