// Opening, reading, writing and positioning MPEG frame files.
#include "audiofile/Mp3File.h"

#include <cstring>

#include "audiofile/FileSystem.h"

namespace {

constexpr uint32_t kAccessBits = MMIO_READ | MMIO_WRITE | MMIO_READWRITE;
// Bytes read at once while looking for a frame sync.
constexpr uint32_t kResyncChunk = 4096;
// mmio offsets are signed 32-bit: no byte of the file may lie past this one.
constexpr uint64_t kMaxFileBytes = 0x7FFFFFFFu;

}  // namespace

Mp3File::Mp3File(const char* name, const WAVEFORMATEX* format, uint32_t openMode)
    : RecFile(name, openMode) {
    std::memcpy(id3v1_, "TAG", 3);
    auto* wfx = reinterpret_cast<WAVEFORMATEX*>(formatBuffer_);
    if (format) {
        const uint32_t bytes = FormatBytes(format);
        std::memcpy(formatBuffer_, format, bytes);
    } else {
        wfx->wFormatTag = WAVE_FORMAT_MPEGLAYER3;
        wfx->nChannels = 1;
        wfx->nSamplesPerSec = 16000;
        wfx->nAvgBytesPerSec = 8000;
        wfx->wBitsPerSample = 16;
        wfx->cbSize = 0;
    }
    format_ = wfx;
}

Mp3File::~Mp3File() { Close(); }

uint32_t Mp3File::FormatBytes(const WAVEFORMATEX* format) {
    const uint32_t bytes = 18u + (format->wFormatTag == WAVE_FORMAT_PCM ? 0u : format->cbSize);
    return bytes > MaxFormatSize ? MaxFormatSize : bytes;
}

bool Mp3File::OpenHandle(uint32_t mode) {
    handle_ = mmioOpenA(const_cast<char*>(path_.c_str()), nullptr, mode);
    return handle_ != nullptr;
}

void Mp3File::CloseHandle() {
    if (handle_)
        mmioClose(handle_, 0);
    handle_ = nullptr;
}

uint32_t Mp3File::FileOffset() const {
    const LONG at = mmioSeek(handle_, 0, SEEK_CUR);
    return at < 0 ? 0 : static_cast<uint32_t>(at);
}

bool Mp3File::SeekTo(uint32_t offset) {
    return mmioSeek(handle_, static_cast<LONG>(offset), SEEK_SET) == static_cast<LONG>(offset);
}

bool Mp3File::Open() {
    if (handle_)
        Close();
    modified_ = false;
    readOnly_ = false;
    hasId3v1_ = false;
    id3v1Dirty_ = false;
    truncated_ = false;
    canEncode_ = true;
    dataStart_ = 0;
    dataLength_ = 0;
    position_ = 0;
    temporary_ = path_.empty();
    if (temporary_) {
        std::string name;
        if (!MakeTempFileName(name)) {
            SetStatus(statusCannotOpen);
            return false;
        }
        SetPath(name.c_str());
    }
    const bool existing = !temporary_ && !(openMode_ & MMIO_CREATE) && FileExists(path_);
    if (existing) {
        if (!OpenExisting())
            return false;
    } else {
        const uint32_t mode = (openMode_ & ~kAccessBits) | MMIO_CREATE | MMIO_READWRITE;
        if (!OpenHandle(mode)) {
            SetStatus(statusCannotOpen);
            return false;
        }
        // From now on the file exists: Reopen must not make it anew.
        openMode_ &= ~MMIO_CREATE;
    }
    RecFile::Open();
    return true;
}

bool Mp3File::OpenExisting() {
    const uint32_t access = openMode_ & kAccessBits;
    const uint32_t otherBits = openMode_ & ~(kAccessBits | MMIO_CREATE);
    if (!OpenHandle(openMode_ | MMIO_DENYNONE)) {
        if (!OpenHandle(otherBits | MMIO_READ | MMIO_DENYNONE)) {
            SetStatus(statusCannotOpen);
            return false;
        }
        readOnly_ = true;
    }
    if (access == MMIO_READ)
        readOnly_ = true;
    if (FileSize(path_) > kMaxFileBytes) {
        CloseHandle();
        readOnly_ = false;
        SetStatus(statusCannotOpen);
        return false;
    }
    const uint32_t fileSize = static_cast<uint32_t>(FileSize(path_));
    if (fileSize != 0) {
        SkipId3v2();
        if (!SeekFirstFrame()) {
            CloseHandle();
            readOnly_ = false;
            if (GetError() != statusNoConversion && GetError() != statusNoCodecFormat)
                SetStatus(statusNoFormat);
            return false;
        }
    }
    dataStart_ = fileSize != 0 ? FileOffset() : 0;
    position_ = 0;
    dataLength_ = fileSize - dataStart_;
    if (ReadId3v1()) {
        hasId3v1_ = true;
        dataLength_ = dataLength_ >= kId3v1Bytes ? dataLength_ - kId3v1Bytes : 0;
    }
    return SeekTo(dataStart_);
}

bool Mp3File::SkipId3v2() {
    if (!handle_ || FileOffset() != 0)
        return false;
    uint8_t header[10];
    if (mmioRead(handle_, reinterpret_cast<HPSTR>(header), 10) != 10) {
        SeekTo(0);
        return false;
    }
    const uint32_t tagBytes = Id3v2TagBytes(header);
    if (tagBytes == 0) {
        SeekTo(0);
        return false;
    }
    return SeekTo(tagBytes);
}

int32_t Mp3File::ResyncFrame() {
    // Reads a chunk at a time: one system call per byte would make a scan of
    // a long stretch without frames crawl.
    uint8_t chunk[kResyncChunk];
    const uint32_t start = FileOffset();
    uint32_t at = start;
    for (;;) {
        const LONG got = mmioRead(handle_, reinterpret_cast<HPSTR>(chunk), kResyncChunk);
        if (got < 2) {
            SeekTo(start);
            return -1;
        }
        const size_t sync = FindFrameSync(chunk, static_cast<size_t>(got));
        if (sync < static_cast<size_t>(got)) {
            SeekTo(at + static_cast<uint32_t>(sync));
            return static_cast<int32_t>(at + sync - start);
        }
        // The last byte may be the first half of a sync: look at it again.
        at += static_cast<uint32_t>(got) - 1;
        if (!SeekTo(at)) {
            SeekTo(start);
            return -1;
        }
    }
}

bool Mp3File::SeekFirstFrame() {
    for (int i = 0; i < 10; ++i) {
        if (ReadFrameFormat(true))
            return true;
        if (mmioSeek(handle_, i * 3 + 7, SEEK_CUR) < 0)
            break;
    }
    return false;
}

bool Mp3File::ReadFrameHeader(bool checkNext, Mp3FrameHeader& frame) {
    if (!handle_ || ResyncFrame() < 0)
        return false;
    const uint32_t headerAt = FileOffset();
    uint8_t header[4];
    const bool read = mmioRead(handle_, reinterpret_cast<HPSTR>(header), 4) == 4;
    SeekTo(headerAt);
    if (!read || !ParseFrameHeader(header, frame))
        return false;
    if (checkNext) {
        uint8_t next[2];
        const bool ok = SeekTo(headerAt + frame.frameBytes) &&
                        mmioRead(handle_, reinterpret_cast<HPSTR>(next), 2) == 2 &&
                        IsFrameSync(next[0], next[1]);
        SeekTo(headerAt);
        if (!ok)
            return false;
    }
    return true;
}

bool Mp3File::ReadFrameFormat(bool checkNext) {
    Mp3FrameHeader frame;
    if (!ReadFrameHeader(checkNext, frame))
        return false;
    pcmFormat_ = PcmFormatOfFrame(frame);
    return FindCodecFormat(frame);
}

bool Mp3File::Position(uint32_t position) {
    if (!handle_)
        return false;
    if (position > dataLength_)
        position = dataLength_;
    if (!SeekTo(dataStart_ + position))
        return false;
    position_ = position;
    if (dataLength_ != 0 && position != dataLength_) {
        const int32_t skipped = ResyncFrame();
        if (skipped > 0) {
            const uint32_t moved = position_ + static_cast<uint32_t>(skipped);
            position_ = moved > dataLength_ ? dataLength_ : moved;
            SeekTo(dataStart_ + position_);
        }
    }
    return true;
}

void Mp3File::SetDataLength(uint32_t bytes) {
    if (!handle_ || readOnly_ || bytes >= dataLength_)
        return;
    dataLength_ = bytes;
    if (position_ > dataLength_)
        position_ = dataLength_;
    truncated_ = true;
    modified_ = true;
    InvalidateRunningDigest();
}

int32_t Mp3File::Write(const void* data, uint32_t bytes) {
    if (!handle_ || readOnly_)
        return 0;
    const bool appending = !GetOverwrite();
    if (appending && !canEncode_)
        return 0;
    if (appending && !Position(dataLength_))
        return 0;
    // Room is kept for the ID3v1 block after the frames.
    if (uint64_t{dataStart_} + position_ + bytes + kId3v1Bytes > kMaxFileBytes)
        return -1;
    // Frames that run over the old block (appended, or overwritten past the
    // end of the data): the block is written again after them.
    if (hasId3v1_ && (appending || uint64_t{position_} + bytes > dataLength_))
        id3v1Dirty_ = true;
    const uint32_t before = position_;
    const LONG written = mmioWrite(handle_, static_cast<const char*>(data), static_cast<LONG>(bytes));
    if (written > 0) {
        position_ += static_cast<uint32_t>(written);
        if (appending || position_ > dataLength_)
            dataLength_ = position_;
        modified_ = true;
        NoteAudioWrite(data, static_cast<uint32_t>(written), before);
    }
    return written;
}

int32_t Mp3File::Read(void* data, uint32_t bytes) {
    if (!handle_)
        return 0;
    // The ID3v1 block after the frames is no audio.
    const uint32_t left = position_ < dataLength_ ? dataLength_ - position_ : 0;
    if (bytes > left)
        bytes = left;
    if (bytes == 0)
        return 0;
    const LONG got = mmioRead(handle_, static_cast<HPSTR>(data), static_cast<LONG>(bytes));
    if (got > 0)
        position_ += static_cast<uint32_t>(got);
    return got;
}

bool Mp3File::Update() {
    if (!handle_)
        return true;
    return RecFile::Update();
}

void Mp3File::TrimFile() {
    // Cut to the data; WriteId3v1 then appends the block after it.
    const uint32_t end = dataStart_ + dataLength_;
    if (FileSize(path_) <= end)
        return;
    HANDLE file = CreateFileA(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    if (SetFilePointer(file, static_cast<LONG>(end), nullptr, FILE_BEGIN) == end)
        SetEndOfFile(file);
    ::CloseHandle(file);
}

bool Mp3File::Close() {
    if (!handle_)
        return true;
    const bool wasModified = modified_;
    bool ok = !modified_ || Update();
    if (handle_ && truncated_) {
        mmioFlush(handle_, 0);
        TrimFile();
        if (hasId3v1_)
            id3v1Dirty_ = true;
    }
    if (handle_ && hasId3v1_ && id3v1Dirty_ && !readOnly_)
        ok = WriteId3v1() && ok;
    if (handle_ && mmioClose(handle_, 0) != 0)
        ok = false;
    handle_ = nullptr;
    readOnly_ = false;
    if (temporary_) {
        if (wasModified)
            return false;  // still needs a name
        Files().Delete(path_);
        DiscardJournal();
        return true;
    }
    return ok;
}

bool Mp3File::Delete() {
    if (readOnly_)
        return false;
    CloseHandle();
    if (!path_.empty() && FileExists(path_) && !Files().Delete(path_))
        return false;
    DiscardJournal();
    path_.clear();
    dataLength_ = 0;
    position_ = 0;
    modified_ = false;
    return true;
}

bool Mp3File::Rename(const std::string& newPath) {
    const std::string target = FullPath(newPath);
    if (target.empty() || !Update())
        return false;
    if (SamePath(target, path_) || SameFileOnDisk(target, path_)) {
        temporary_ = false;
        openMode_ &= ~MMIO_CREATE;
        return true;
    }
    const uint32_t position = position_;
    const std::string oldPath = path_;
    const bool wasTemporary = temporary_;
    temporary_ = false;
    // Close writes the ID3v1 block; the modified mark is cleared by it.
    modified_ = false;
    if (!Close())
        return false;
    // With ID3v2 tags switched off the journal is the annotations' only copy:
    // it stays on disk to travel, else it goes.
    ReleaseJournalForRename();
    if (!RenameOrCopy(oldPath, target)) {
        SetPath(oldPath.c_str());
        openMode_ &= ~MMIO_CREATE;
        if (FileExists(oldPath) && Open())
            (void)Position(position);
        temporary_ = wasTemporary;
        return false;
    }
    MoveJournal(oldPath, target);
    SetPath(target.c_str());
    openMode_ &= ~MMIO_CREATE;
    if (!Open())
        return false;
    (void)Position(position);
    return true;
}
