// The chunks of a RIFF file and the audio bytes of its data chunk.
#include <algorithm>

#include "audiofile/RiffFile.h"

namespace {

constexpr uint32_t kMaxKeptChunkBytes = 16u << 20;

uint32_t Padded(uint32_t bytes) { return bytes + (bytes & 1); }

}  // namespace

bool RiffFile::ReadAt(uint32_t offset, void* data, uint32_t bytes) const {
    const LONG size = static_cast<LONG>(bytes);
    return handle_ && mmioSeek(handle_, static_cast<LONG>(offset), SEEK_SET) == static_cast<LONG>(offset) &&
           mmioRead(handle_, static_cast<HPSTR>(data), size) == size;
}

bool RiffFile::WriteAt(uint32_t offset, const void* data, uint32_t bytes) {
    const LONG size = static_cast<LONG>(bytes);
    return handle_ && mmioSeek(handle_, static_cast<LONG>(offset), SEEK_SET) == static_cast<LONG>(offset) &&
           mmioWrite(handle_, static_cast<const char*>(data), size) == size;
}

bool RiffFile::WalkChunks(uint32_t from, uint32_t end,
                          const std::function<bool(const Chunk&)>& visit) const {
    for (uint64_t offset = from; offset + 8 <= end;) {
        uint32_t header[2];
        if (!ReadAt(static_cast<uint32_t>(offset), header, sizeof header))
            return false;
        Chunk chunk{header[0], header[1], static_cast<uint32_t>(offset + 8)};
        // The data chunk's size on disk lags behind while audio is written.
        if (chunk.offset == dataStart_ && handle_ && dataStart_ != 0)
            chunk.size = dataLength_;
        // A chunk running past the end is cut to what is there.
        chunk.size = static_cast<uint32_t>(std::min<uint64_t>(chunk.size, end - chunk.offset));
        if (visit(chunk))
            return true;
        offset = uint64_t{chunk.offset} + chunk.size + (chunk.size & 1);
    }
    return false;
}

bool RiffFile::FindChunk(FOURCC id, Chunk& chunk) const {
    return WalkChunks(12, RiffEnd() > 12 ? RiffEnd() : headerEnd_, [&](const Chunk& c) {
        if (c.id != id)
            return false;
        chunk = c;
        return true;
    });
}

bool RiffFile::AppendChunk(FOURCC id, const void* data, uint32_t bytes, Chunk* written) {
    const uint32_t header[2] = {id, bytes};
    const char pad = 0;
    const uint32_t offset = headerEnd_ + 8;
    if (!WriteAt(headerEnd_, header, sizeof header) || !WriteAt(offset, data, bytes) ||
        ((bytes & 1) && !WriteAt(offset + bytes, &pad, 1)))
        return false;
    if (written)
        *written = Chunk{id, bytes, offset};
    headerEnd_ = offset + Padded(bytes);
    return true;
}

bool RiffFile::ParseChunks() {
    const LONG fileSize = mmioSeek(handle_, 0, SEEK_END);
    uint32_t header[3];
    if (fileSize < 12 || !ReadAt(0, header, sizeof header) || header[0] != FOURCC_RIFF ||
        header[2] != formType_)
        return false;
    // A RIFF size of 0 or past the end (a file never finished) ends at the file's end.
    const uint64_t declaredEnd = uint64_t{header[1]} + 8;
    const uint32_t riffEnd = (header[1] == 0 || declaredEnd > uint64_t(fileSize))
                                 ? static_cast<uint32_t>(fileSize) : static_cast<uint32_t>(declaredEnd);
    mayTrim_ = riffEnd == static_cast<uint32_t>(fileSize);
    dataStart_ = 0;
    dataLength_ = 0;
    tailBytes_ = riffEnd;  // until the data chunk is known, RiffEnd() is the whole chunk
    headerEnd_ = 12;
    if (!ReadFormat())
        return false;
    Chunk data;
    if (!FindChunk(dataId_, data))
        return false;
    dataStart_ = data.offset;
    dataLength_ = data.size;
    sizesOnDisk_ = data.size;
    position_ = 0;
    tailBytes_ = riffEnd > PaddedDataEnd() ? riffEnd - PaddedDataEnd() : 0;
    if (!readOnly_)
        KeepChunksAfterData(riffEnd);
    return true;
}

void RiffFile::KeepChunksAfterData(uint32_t riffEnd) {
    // Appended audio grows over what follows the data chunk: keep the other
    // programs' chunks to write them back after the data and the annotation.
    keptChunks_.clear();
    const FOURCC disp = mmioStringToFOURCCA("DISP", 0);
    WalkChunks(PaddedDataEnd(), riffEnd, [&](const Chunk& c) {
        if (c.id == disp)
            return false;
        const uint32_t total = 8 + Padded(c.size);
        if (keptChunks_.size() + total > kMaxKeptChunkBytes) {
            readOnly_ = true;  // too much to carry along: leave the file as it is
            return true;
        }
        const size_t at = keptChunks_.size();
        keptChunks_.resize(at + total, '\0');
        const uint32_t header[2] = {c.id, c.size};
        std::copy_n(reinterpret_cast<const char*>(header), 8, keptChunks_.begin() + at);
        if (!ReadAt(c.offset, keptChunks_.data() + at + 8, c.size))
            keptChunks_.resize(at);
        return false;
    });
}

bool RiffFile::Position(uint32_t position) {
    if (!handle_)
        return false;
    position = std::min(position, dataLength_);
    const LONG offset = static_cast<LONG>(dataStart_ + position);
    if (mmioSeek(handle_, offset, SEEK_SET) != offset)
        return false;
    position_ = position;
    return true;
}

void RiffFile::SetDataLength(uint32_t bytes) {
    dataLength_ = bytes;
    position_ = std::min(position_, dataLength_);
    tailBytes_ = 0;  // the chunks after the data are written again at its new end
    InvalidateRunningDigest();
    modified_ = true;
}

int32_t RiffFile::Write(const void* data, uint32_t bytes) {
    if (readOnly_)
        return 0;
    if (!handle_)
        return -1;
    if (!overwrite_)
        position_ = dataLength_;
    if (bytes == 0)
        return 0;
    // mmio offsets are signed 32-bit: refuse before the file would pass them.
    if (uint64_t{dataStart_} + position_ + bytes > kMaxFileOffset)
        return -1;
    const LONG offset = static_cast<LONG>(dataStart_ + position_);
    if (mmioSeek(handle_, offset, SEEK_SET) != offset)
        return -1;
    LONG written = mmioWrite(handle_, static_cast<const char*>(data), static_cast<LONG>(bytes));
    if (written <= 0)
        return written < 0 ? -1 : 0;
    // A write cut short (a full disk) keeps whole blocks only: the bytes of a
    // part block stay outside the data, and the next write goes over them.
    if (static_cast<uint32_t>(written) < bytes && format_ && format_->nBlockAlign > 1)
        written -= written % format_->nBlockAlign;
    if (written == 0)
        return 0;
    const uint32_t before = position_;
    position_ += static_cast<uint32_t>(written);
    if (position_ > dataLength_) {
        dataLength_ = position_;
        tailBytes_ = 0;  // grown over the chunks that followed the data
    }
    modified_ = true;
    // A size on disk beyond the data (cut by SetDataLength) is mended at once.
    if (dataLength_ < sizesOnDisk_ || dataLength_ - sizesOnDisk_ >= SizesRefreshBytes())
        (void)WriteSizes();  // a failure leaves sizesOnDisk_: the next write tries again
    NoteAudioWrite(data, static_cast<uint32_t>(written), before);
    return written;
}

uint32_t RiffFile::SizesRefreshBytes() const {
    // Half a second of audio: a file left by a crash or a kill then reads
    // as all but that much of what was written, in any program.
    return std::max<uint32_t>(GetAvgBytesPerSec() / 2, 1);
}

int32_t RiffFile::Read(void* data, uint32_t bytes) {
    if (!handle_)
        return -1;
    const uint32_t left = dataLength_ > position_ ? dataLength_ - position_ : 0;
    bytes = std::min(bytes, left);
    if (bytes == 0)
        return 0;
    const LONG offset = static_cast<LONG>(dataStart_ + position_);
    if (mmioSeek(handle_, offset, SEEK_SET) != offset)
        return -1;
    const LONG got = mmioRead(handle_, static_cast<HPSTR>(data), static_cast<LONG>(bytes));
    if (got < 0)
        return -1;
    position_ += static_cast<uint32_t>(got);  // what was read, not what was asked
    return got;
}

bool RiffFile::WriteSizes() {
    const char pad = 0;
    const uint32_t riffSize = RiffEnd() - 8;
    const bool ok = WriteAt(dataStart_ - 4, &dataLength_, 4) &&
                    (!(dataLength_ & 1) || tailBytes_ || WriteAt(dataStart_ + dataLength_, &pad, 1)) &&
                    WriteAt(4, &riffSize, 4);
    if (ok)
        sizesOnDisk_ = dataLength_;
    return ok;
}

bool RiffFile::Update() {
    if (!handle_)
        return true;
    const bool sized = WriteSizes();
    // The annotation text (or, every 600th write, the journal only).
    const bool annotated = RecFile::Update();
    return sized && annotated;
}
