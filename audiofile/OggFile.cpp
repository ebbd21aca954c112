#include "audiofile/OggFile.h"

#include <share.h>

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "audiofile/FileSystem.h"

void PutOggPacketRecord(unsigned char* out, const ogg_packet& packet) {
    WriteLE32(out, 0);
    WriteLE32(out + 4, static_cast<uint32_t>(packet.bytes));
    WriteLE32(out + 8, static_cast<uint32_t>(packet.b_o_s));
    WriteLE32(out + 12, static_cast<uint32_t>(packet.e_o_s));
    WriteLE64(out + 16, static_cast<uint64_t>(packet.granulepos));
    WriteLE64(out + 24, static_cast<uint64_t>(packet.packetno));
}

bool GetOggPacketRecord(const unsigned char* in, uint32_t dataBytes, ogg_packet& packet) {
    const uint32_t count = ReadLE32(in + 4);
    if (count > dataBytes || count > 0x7FFFFFFFu)
        return false;
    packet = ogg_packet{};
    packet.bytes = static_cast<long>(count);
    packet.b_o_s = static_cast<long>(ReadLE32(in + 8));
    packet.e_o_s = static_cast<long>(ReadLE32(in + 12));
    packet.granulepos = static_cast<ogg_int64_t>(ReadLE64(in + 16));
    packet.packetno = static_cast<ogg_int64_t>(ReadLE64(in + 24));
    return true;
}

OggFile::OggFile(const char* name, uint32_t openMode)
    : RecFile(name, openMode), formatBuffer_(MaxFormatSize, 0) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    serial_ = std::rand();
    ogg_stream_init(&readState_, serial_);
    ogg_stream_init(&writeState_, serial_);
    ogg_sync_init(&sync_);
    format_ = reinterpret_cast<WAVEFORMATEX*>(formatBuffer_.data());
}

void OggFile::SetFormat(const WAVEFORMATEX* format) {
    const size_t bytes = sizeof(WAVEFORMATEX) + format->cbSize;
    std::memcpy(formatBuffer_.data(), format, bytes < MaxFormatSize ? bytes : MaxFormatSize);
}

OggFile::~OggFile() {
    ogg_stream_clear(&readState_);
    ogg_stream_clear(&writeState_);
    ogg_sync_clear(&sync_);
}

// ---- positions and sizes

uint32_t OggFile::GetPosition() const {
    if (!IsOpen() || currentGranule_ < 0)
        return 0;
    return currentGranule_ > 0xFFFFFFFFll ? 0xFFFFFFFFu : static_cast<uint32_t>(currentGranule_);
}

uint32_t OggFile::GetLength() const {
    if (highestGranule_ <= 0)
        return 0;
    return highestGranule_ > 0xFFFFFFFFll ? 0xFFFFFFFFu : static_cast<uint32_t>(highestGranule_);
}

uint32_t OggFile::GetSeconds(uint32_t length) const {
    if (!GetFormat() || GetFormat()->nSamplesPerSec == 0)
        return 0;
    return (length == kWholeLength ? GetLength() : length) / GetFormat()->nSamplesPerSec;
}

uint32_t OggFile::GetDataLength() const {
    if (bytesWritten_ != 0)
        return bytesWritten_;
    const uint32_t rate = GetFormat() ? GetFormat()->nSamplesPerSec : 0;
    if (rate == 0)
        return 0;
    return static_cast<uint32_t>(uint64_t{GetLength()} * GetAvgBytesPerSec() / rate);
}

uint32_t OggFile::GetAvgBytesPerSec() const { return GetFormat() ? GetFormat()->nAvgBytesPerSec : 0; }

uint32_t OggFile::RelativePosition(int32_t seconds) const {
    const uint32_t rate = GetFormat() ? GetFormat()->nSamplesPerSec : 0;
    const int64_t target = int64_t{GetPosition()} + int64_t{seconds} * rate;
    if (target < 0)
        return 0;
    return target > int64_t{GetLength()} ? GetLength() : static_cast<uint32_t>(target);
}

bool OggFile::Position(uint32_t position) {
    if (!IsOpen())
        return false;
    if (position == GetPosition())
        return true;
    if (position < GetPosition() && !RereadHeaders())
        return false;
    if (position == 0)
        return true;
    ogg_packet packet;
    while (currentGranule_ < int64_t{position} && currentGranule_ < int64_t{GetLength()})
        if (!ReadPacket(packet))
            break;
    return currentGranule_ >= int64_t{position};
}

// ---- tags

std::optional<std::string> OggFile::GetTag(const std::string& key) {
    const std::vector<OggCommentEntry> found = comments_.Find(key);
    if (found.empty())
        return std::nullopt;
    return found.front().value;
}

bool OggFile::SetTag(const std::string& key, const std::string& value) {
    if (readOnly_)
        return false;
    commentsDirty_ = true;
    while (comments_.Remove(key)) {
    }
    comments_.Add(key, value);
    return true;
}

// ---- streams

bool OggFile::IsNewStream() const {
    return temporary_ || (openMode_ & MMIO_CREATE) || !FileExists(path_) || FileSize(path_) == 0;
}

bool OggFile::OpenStreams(bool& newFile) {
    if (path_.empty()) {
        std::string name;
        if (!MakeTempFileName(name)) {
            SetStatus(statusCannotOpen);
            return false;
        }
        SetPath(name.c_str());
        temporary_ = true;
    }
    newFile = IsNewStream();
    if (newFile) {
        writeStream_ = _fsopen(path_.c_str(), "wb+", _SH_DENYNO);
        readStream_ = writeStream_ ? _fsopen(path_.c_str(), "rb", _SH_DENYNO) : nullptr;
    } else {
        // Files past 4 GiB cannot be counted in the 32-bit sizes.
        if (FileSize(path_) > 0xFFFFFFFFull) {
            SetStatus(statusCannotOpen);
            return false;
        }
        if (openMode_ & (MMIO_WRITE | MMIO_READWRITE))
            writeStream_ = _fsopen(path_.c_str(), "rb+", _SH_DENYNO);
        readStream_ = _fsopen(path_.c_str(), "rb", _SH_DENYNO);
        readOnly_ = writeStream_ == nullptr;
    }
    if (!readStream_ || (newFile && !writeStream_)) {
        if (writeStream_)
            fclose(writeStream_);
        if (readStream_)
            fclose(readStream_);
        writeStream_ = readStream_ = nullptr;
        SetStatus(statusCannotOpen);
        return false;
    }
    bytesWritten_ = newFile ? 0 : static_cast<uint32_t>(FileSize(path_));
    ogg_sync_reset(&sync_);
    ogg_stream_reset_serialno(&readState_, serial_);
    ogg_stream_reset_serialno(&writeState_, serial_);
    pendingRead_.clear();
    pendingOffset_ = 0;
    currentGranule_ = highestGranule_ = pagedGranule_ = 0;
    lastPacketNo_ = -1;
    retimeOffset_ = 0;
    retiming_ = false;
    appendAllowed_ = true;
    return true;
}

bool OggFile::CloseStreams() {
    if (writeStream_)
        fclose(writeStream_);
    if (readStream_)
        fclose(readStream_);
    writeStream_ = readStream_ = nullptr;
    if (!commentsDirty_ || readOnly_)
        return true;
    size_t prefixLength = 0;
    const unsigned char* prefix = CommentPrefix(prefixLength);
    OggOwnedPacket comment = comments_.SerializeCommentPacket(prefix, prefixLength);
    if (RewriteOggHeaders(path_, comment, HeaderPacketCount())) {
        commentsDirty_ = false;
        return true;
    }
    // SetTag only held the text; neither the page in place nor the rewrite
    // took it, so the file still has the old comments.
    KeepJournalForUnwrittenTag();
    return false;
}

bool OggFile::WritePage(const ogg_page& page) {
    if (!writeStream_)
        return false;
    const size_t head = fwrite(page.header, 1, static_cast<size_t>(page.header_len), writeStream_);
    bytesWritten_ += static_cast<uint32_t>(head);
    if (head != static_cast<size_t>(page.header_len))
        return false;
    const size_t body = fwrite(page.body, 1, static_cast<size_t>(page.body_len), writeStream_);
    bytesWritten_ += static_cast<uint32_t>(body);
    if (ogg_page_granulepos(&page) > pagedGranule_)
        pagedGranule_ = ogg_page_granulepos(&page);
    return body == static_cast<size_t>(page.body_len);
}

bool OggFile::Flush() {
    bool ok = true;
    ogg_page page;
    while (ogg_stream_flush(&writeState_, &page) != 0)
        if (ok && !WritePage(page))
            ok = false;
    if (writeStream_ && fflush(writeStream_) != 0)
        ok = false;
    return ok;
}

bool OggFile::WritePacket(ogg_packet& packet, bool toFile) {
    if (packet.packetno != writeState_.packetno)
        packet.packetno = writeState_.packetno;
    if (packet.granulepos > 0 && packet.granulepos > highestGranule_) {
        highestGranule_ = packet.granulepos;
        if (toFile)
            currentGranule_ = packet.granulepos;
    }
    const int64_t before = writeState_.packetno;
    const bool forced = before == 2 || (before == 4 && packet.granulepos != -1) || packet.b_o_s ||
                        packet.e_o_s;
    if (ogg_stream_packetin(&writeState_, &packet) != 0)
        return false;
    bool ok = true;
    ogg_page page;
    if (forced) {
        while (ogg_stream_flush(&writeState_, &page) != 0)
            if (toFile && ok && !WritePage(page))
                ok = false;
    } else {
        while (ogg_stream_pageout(&writeState_, &page) != 0) {
            if (toFile && ok && !WritePage(page))
                ok = false;
            if (ogg_page_eos(&page))
                break;
        }
        // libogg fills pages of about 4 KB, many seconds at a low bit rate:
        // half a second of audio at the most waits for its page, so a
        // recording that ends without Close (a crash, a kill) loses little.
        const uint32_t rate = PositionUnitsPerSecond();
        if (toFile && ok && rate != 0 && packet.granulepos > 0 &&
            packet.granulepos - pagedGranule_ >= rate / 2)
            ok = Flush();
    }
    return ok;
}

bool OggFile::WriteEndOfStream() {
    unsigned char none = 0;
    ogg_packet packet{};
    packet.packet = &none;
    packet.bytes = 0;
    packet.e_o_s = 1;
    packet.granulepos = highestGranule_;
    packet.packetno = writeState_.packetno;
    return WritePacket(packet, true);
}

bool OggFile::ReadPacket(ogg_packet& packet) {
    if (!readStream_)
        return false;
    while (ogg_stream_packetout(&readState_, &packet) != 1) {
        ogg_page page;
        const int got = ogg_sync_pageout(&sync_, &page);
        if (got == 1) {
            if (ogg_page_serialno(&page) != readState_.serialno)
                continue;  // another logical stream: not ours
            lastPageNo_ = ogg_page_pageno(&page);
            ogg_stream_pagein(&readState_, &page);
            continue;
        }
        if (got < 0)
            continue;  // skipped damaged bytes
        char* buffer = ogg_sync_buffer(&sync_, 4096);
        const size_t read = fread(buffer, 1, 4096, readStream_);
        if (read == 0)
            return false;
        ogg_sync_wrote(&sync_, static_cast<long>(read));
    }
    ++packetsRead_;
    if (packet.granulepos > currentGranule_) {
        currentGranule_ = packet.granulepos;
        if (currentGranule_ > highestGranule_)
            highestGranule_ = currentGranule_;
    }
    return true;
}

bool OggFile::SeekReadToStart() {
    if (!readStream_)
        return false;
    if (writeStream_)
        fflush(writeStream_);
    if (_fseeki64(readStream_, 0, SEEK_SET) != 0)
        return false;
    ogg_sync_reset(&sync_);
    return true;
}

bool OggFile::ReadHeaderPackets(std::vector<OggOwnedPacket>& packets, int count) {
    packets.clear();
    if (!SeekReadToStart())
        return false;
    char* buffer = ogg_sync_buffer(&sync_, 4096);
    const size_t got = fread(buffer, 1, 4096, readStream_);
    ogg_sync_wrote(&sync_, static_cast<long>(got));
    ogg_page page;
    if (ogg_sync_pageout(&sync_, &page) != 1)
        return false;
    serial_ = ogg_page_serialno(&page);
    ogg_stream_reset_serialno(&readState_, serial_);
    ogg_stream_reset_serialno(&writeState_, serial_);
    lastPageNo_ = ogg_page_pageno(&page);
    if (ogg_stream_pagein(&readState_, &page) != 0)
        return false;
    packetsRead_ = 0;
    currentGranule_ = 0;
    for (int i = 0; i < count; ++i) {
        ogg_packet packet;
        if (!ReadPacket(packet))
            return false;
        OggOwnedPacket owned;
        owned.data.assign(packet.packet, packet.packet + packet.bytes);
        owned.packet = packet;
        owned.packet.packet = owned.data.data();
        packets.push_back(std::move(owned));
    }
    currentGranule_ = 0;
    return true;
}

void OggFile::ScanToEnd() {
    ogg_packet packet;
    while (ReadPacket(packet)) {
    }
    // New pages continue the numbering of the file's pages and packets.
    writeState_.pageno = static_cast<long>(lastPageNo_ + 1);
    writeState_.packetno = packetsRead_;
    writeState_.b_o_s = 1;
    writeState_.granulepos = highestGranule_;
    pagedGranule_ = highestGranule_;
}

bool OggFile::RereadHeaders() {
    if (!SeekReadToStart())
        return false;
    ogg_stream_reset_serialno(&readState_, serial_);
    pendingRead_.clear();
    pendingOffset_ = 0;
    const int64_t highest = highestGranule_;
    packetsRead_ = 0;
    currentGranule_ = 0;
    ogg_packet packet;
    bool ok = true;
    for (int i = 0; i < HeaderPacketCount() && ok; ++i)
        ok = ReadPacket(packet);
    highestGranule_ = highest;
    currentGranule_ = 0;
    RestartDecoder();
    return ok;
}

// ---- appending

bool OggFile::BeginWriting() {
    if (encoderActive_)
        return true;
    if (!appendAllowed_ || !PrepareAppend()) {
        appendAllowed_ = false;
        return false;
    }
    encoderActive_ = true;
    return true;
}

bool OggFile::PrepareAppend() {
    if (readOnly_ || !writeStream_)
        return false;
    if (_fseeki64(writeStream_, 0, SEEK_END) != 0)
        return false;
    const int64_t size = _ftelli64(writeStream_);
    // A page is at most 27 + 255 + 255 * 255 bytes.
    const int64_t span = size < 65536 ? size : 65536;
    if (span < 28)
        return false;
    std::vector<unsigned char> tail(static_cast<size_t>(span));
    if (_fseeki64(writeStream_, size - span, SEEK_SET) != 0 ||
        fread(tail.data(), 1, tail.size(), writeStream_) != tail.size())
        return false;
    for (int64_t at = span - 27; at >= 0; --at) {
        unsigned char* p = tail.data() + at;
        if (std::memcmp(p, "OggS", 4) != 0)
            continue;
        const int64_t left = span - at;
        const int segments = p[26];
        if (left < 27 + segments)
            continue;
        int64_t body = 0;
        for (int i = 0; i < segments; ++i)
            body += p[27 + i];
        // The last page ends the file exactly.
        if (27 + segments + body != left)
            continue;
        ogg_page page{p, 27 + segments, p + 27 + segments, static_cast<long>(body)};
        unsigned char stored[4];
        std::memcpy(stored, p + 22, 4);
        ogg_page_checksum_set(&page);
        if (std::memcmp(stored, p + 22, 4) != 0)
            return false;
        // A packet left unfinished on the last page cannot be continued.
        if (segments > 0 && p[27 + segments - 1] == 255)
            return false;
        p[5] &= 11;  // no longer the end of the stream
        ogg_page_checksum_set(&page);
        const size_t pageBytes = static_cast<size_t>(left);
        if (_fseeki64(writeStream_, size - left, SEEK_SET) != 0 ||
            fwrite(p, 1, pageBytes, writeStream_) != pageBytes || fflush(writeStream_) != 0)
            return false;
        _fseeki64(writeStream_, 0, SEEK_END);
        readState_.e_o_s = 0;
        writeState_.e_o_s = 0;
        writeState_.b_o_s = 1;  // the first page was written long ago
        return true;
    }
    return false;
}

void OggFile::RetimePacket(ogg_packet& packet) {
    if (packet.packetno != lastPacketNo_ + 1)
        retiming_ = true;
    lastPacketNo_ = packet.packetno;
    if (packet.granulepos == -1)
        return;
    if (retiming_) {
        retimeOffset_ = packet.granulepos - highestGranule_;
        retiming_ = false;
    }
    packet.granulepos = packet.granulepos + kOggRawGranuleLead - retimeOffset_;
    if (packet.granulepos <= 0)
        packet.granulepos = 50;
}

int32_t OggFile::Write(const void* data, uint32_t bytes) {
    if (readOnly_ || !writeStream_ || bytes < kOggPacketRecordBytes || !data)
        return 0;
    const auto* in = static_cast<const unsigned char*>(data);
    ogg_packet packet;
    if (!GetOggPacketRecord(in, bytes - kOggPacketRecordBytes, packet))
        return -1;
    if (!BeginWriting())
        return -1;
    std::vector<unsigned char> body(in + kOggPacketRecordBytes, in + kOggPacketRecordBytes + packet.bytes);
    packet.packet = body.data();
    RetimePacket(packet);
    if (packet.granulepos > highestGranule_)
        highestGranule_ = packet.granulepos;
    if (packet.granulepos == 0 || packet.granulepos < -1)
        packet.granulepos += 1;
    packet.e_o_s = 0;
    packet.b_o_s = 0;
    const bool ok = WritePacket(packet, true);
    AfterRawWrite();
    return ok ? static_cast<int32_t>(bytes) : -1;
}

int32_t OggFile::Read(void* data, uint32_t bytes) {
    if (!readStream_ || !data)
        return -1;
    if (pendingOffset_ >= pendingRead_.size()) {
        ogg_packet packet;
        if (!ReadPacket(packet))
            return 0;
        pendingRead_.resize(kOggPacketRecordBytes + static_cast<size_t>(packet.bytes));
        PutOggPacketRecord(pendingRead_.data(), packet);
        std::memcpy(pendingRead_.data() + kOggPacketRecordBytes, packet.packet,
                    static_cast<size_t>(packet.bytes));
        pendingOffset_ = 0;
    }
    // A record larger than the buffer comes in pieces over the next calls.
    const size_t left = pendingRead_.size() - pendingOffset_;
    const size_t n = left < bytes ? left : bytes;
    std::memcpy(data, pendingRead_.data() + pendingOffset_, n);
    pendingOffset_ += n;
    return static_cast<int32_t>(n);
}

bool OggFile::UpdateAnnotationInPlace() {
    if (!commentsDirty_ || !writeStream_)
        return false;
    size_t prefixLength = 0;
    const unsigned char* prefix = CommentPrefix(prefixLength);
    if (!comments_.RewriteCommentPage(writeStream_, 1, kOggCommentLimit, kAnnotationKey, '\n', prefix,
                                      prefixLength))
        return false;
    commentsDirty_ = false;
    return true;
}

// ---- file operations

bool OggFile::Rename(const std::string& newPath) {
    const std::string target = FullPath(newPath);
    if (target.empty())
        return false;
    const uint32_t position = GetPosition();
    const std::string oldPath = path_;
    temporary_ = false;
    Close();
    if (commentsDirty_) {
        // The annotations are only in the journal under the old name.
        openMode_ &= ~MMIO_CREATE;
        (void)Open();
        return false;
    }
    if (!SamePath(target, oldPath) && !SameFileOnDisk(target, oldPath)) {
        DiscardJournal();
        if (!RenameOrCopy(oldPath, target)) {
            openMode_ &= ~MMIO_CREATE;
            if (FileExists(oldPath))
                (void)Open();
            return false;
        }
        MoveJournal(oldPath, target);  // none to move: a replaced file's journal goes
        SetPath(target.c_str());
    }
    temporary_ = false;
    openMode_ &= ~MMIO_CREATE;
    if (!Open())
        return false;
    (void)Position(position);
    return true;
}

bool OggFile::Delete() {
    if (readOnly_)
        return false;
    Close();
    if (!path_.empty() && FileExists(path_) && !Files().Delete(path_))
        return false;  // still there (shared elsewhere): the caller may open it again
    DiscardJournal();
    path_.clear();
    return true;
}
