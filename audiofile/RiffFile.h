// A RIFF container on the multimedia file functions: the "RIFF" chunk of a form
// type with one data chunk inside, tags as "LIST" "INFO" sub-chunks and the
// annotation text as a "DISP" chunk after the data. The format chunks are the
// subclass's (CreateFormat, ReadFormat).
#pragma once

#include <functional>
#include <vector>

#include "audiofile/RecFile.h"

class RiffFile : public RecFile {
public:
    RiffFile(const char* name, const char* formType, const char* dataId, uint32_t openMode);
    ~RiffFile() override;

    bool Rename(const std::string& newPath) override;
    bool Update() override;
    bool Close() override;
    bool Delete() override;
    bool IsOpen() const override { return handle_ != nullptr; }
    bool Reopen() override { return Open(); }
    uint32_t GetPosition() const override { return position_; }
    bool Position(uint32_t position) override;
    uint32_t GetLength() const override { return GetDataLength(); }
    void SetDataLength(uint32_t bytes) override;
    uint32_t GetDataLength() const override { return dataLength_; }
    int32_t Write(const void* data, uint32_t bytes) override;
    int32_t Read(void* data, uint32_t bytes) override;
    std::optional<std::string> GetTag(const std::string& key) override;
    bool SetTag(const std::string& key, const std::string& value) override;
    bool Open() override;

    // Closes, takes the new name and opens it.
    bool OpenAs(const char* name);
    HMMIO GetHandle() const { return handle_; }
    // File offset of the first audio byte.
    uint32_t GetDataStart() const { return dataStart_; }

    // Audio data may not grow the file past this offset (mmio offsets are
    // signed 32-bit); the rest is kept for the chunks after the data.
    static constexpr uint32_t kMaxFileOffset = 0x7FFFFFFFu - 0x100000u;

protected:
    // The subclass writes its format chunks into a new file / reads them from an
    // existing one. Called with the file positioned inside the RIFF chunk.
    virtual bool CreateFormat() { return true; }
    virtual bool ReadFormat() { return true; }

    // Chunk helpers for subclasses. Offsets are file offsets.
    struct Chunk {
        FOURCC id = 0;
        uint32_t size = 0;    // bytes of content
        uint32_t offset = 0;  // of the content (the header is 8 bytes before)
    };
    // The first chunk with id among the RIFF chunk's children.
    bool FindChunk(FOURCC id, Chunk& chunk) const;
    // Appends a complete chunk at the current end of the header area.
    bool AppendChunk(FOURCC id, const void* data, uint32_t bytes, Chunk* written = nullptr);
    bool ReadAt(uint32_t offset, void* data, uint32_t bytes) const;
    bool WriteAt(uint32_t offset, const void* data, uint32_t bytes);
    // Writes the data and RIFF chunk sizes.
    bool WriteSizes();
    // Audio appended since the sizes were last written that makes Write
    // bring them up to date on disk.
    uint32_t SizesRefreshBytes() const;

    uint32_t dataStart_ = 0;  // file offset of the data chunk's content

private:
    bool OpenExisting();
    bool CreateNew();
    bool OpenHandle(uint32_t mode);
    bool ParseChunks();
    void KeepChunksAfterData(uint32_t riffEnd);
    void CloseHandle();
    void TrimBeyondRiff();
    bool ReopenAfterFailedRename(const std::string& oldPath, uint32_t position, bool wasTemporary);
    uint32_t PaddedDataEnd() const { return dataStart_ + dataLength_ + (dataLength_ & 1); }
    uint32_t RiffEnd() const { return PaddedDataEnd() + tailBytes_; }
    // Calls visit(chunk) for each child of the RIFF chunk until it returns true.
    bool WalkChunks(uint32_t from, uint32_t end, const std::function<bool(const Chunk&)>& visit) const;
    bool WriteTail(const std::string& annotation);
    std::optional<std::string> ReadAnnotation() const;
    bool FindInfoList(Chunk& list, bool directlyBeforeData) const;
    std::optional<std::string> ReadInfoTag(FOURCC id) const;
    bool WriteInfoTag(FOURCC id, const std::string& value);

    HMMIO handle_ = nullptr;
    FOURCC formType_ = 0;
    FOURCC dataId_ = 0;
    uint32_t dataLength_ = 0;
    uint32_t position_ = 0;
    uint32_t headerEnd_ = 0;   // while creating: where the next header chunk goes
    // Bytes of valid chunks after the data (annotation and kept chunks); 0 once
    // the data grew over them, until the next WriteTail.
    uint32_t tailBytes_ = 0;
    uint32_t sizesOnDisk_ = 0;  // the data length the data chunk's size on disk says
    std::vector<char> keptChunks_;  // foreign chunks after the data, rewritten after it
    // The file ended with its RIFF chunk when opened (or is new): bytes left
    // beyond the RIFF chunk by a shorter rewrite may be cut at Close.
    bool mayTrim_ = false;
};
