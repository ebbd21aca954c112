#include "audiofile/OggCommentBlock.h"

#include <cstring>

void WriteLE32(unsigned char* out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<unsigned char>(value >> (8 * i));
}

uint32_t ReadLE32(const unsigned char* in) {
    return uint32_t{in[0]} | uint32_t{in[1]} << 8 | uint32_t{in[2]} << 16 | uint32_t{in[3]} << 24;
}

void WriteLE64(unsigned char* out, uint64_t value) {
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<unsigned char>(value >> (8 * i));
}

uint64_t ReadLE64(const unsigned char* in) {
    return uint64_t{ReadLE32(in)} | uint64_t{ReadLE32(in + 4)} << 32;
}

namespace {

bool SameNameCaseBlind(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
        if (x != y)
            return false;
    }
    return true;
}

}  // namespace

bool OggCommentBlock::Add(const std::string& name, const std::string& value) {
    entries_.push_back({name, value});
    return true;
}

std::vector<OggCommentEntry> OggCommentBlock::Find(const std::string& key) const {
    std::vector<OggCommentEntry> found;
    for (const OggCommentEntry& entry : entries_)
        if (SameNameCaseBlind(entry.name, key))
            found.push_back(entry);
    return found;
}

bool OggCommentBlock::Remove(const std::string& key) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it)
        if (SameNameCaseBlind(it->name, key)) {
            entries_.erase(it);
            return true;
        }
    return false;
}

bool OggCommentBlock::SplitNameValue(const std::string& text, std::string& name, std::string& value) {
    const size_t equals = text.find('=');
    if (equals == std::string::npos)
        return false;
    name = text.substr(0, equals);
    value = text.substr(equals + 1);
    return true;
}

bool OggCommentBlock::ParseCommentPacket(const unsigned char* packet, size_t bytes, size_t prefixLength,
                                         bool framingOptional) {
    if (!packet || bytes < prefixLength)
        return false;
    size_t at = prefixLength;
    auto take32 = [&](uint32_t& value) {
        if (bytes - at < 4)
            return false;
        value = ReadLE32(packet + at);
        at += 4;
        return true;
    };
    uint32_t vendorLength = 0, count = 0;
    if (!take32(vendorLength) || bytes - at < vendorLength)
        return false;
    std::string vendor(reinterpret_cast<const char*>(packet + at), vendorLength);
    at += vendorLength;
    if (!take32(count))
        return false;
    std::vector<OggCommentEntry> entries;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t length = 0;
        if (!take32(length) || bytes - at < length)
            return false;
        OggCommentEntry entry;
        if (!SplitNameValue(std::string(reinterpret_cast<const char*>(packet + at), length), entry.name,
                            entry.value))
            return false;
        at += length;
        entries.push_back(std::move(entry));
    }
    const bool framed = bytes - at >= 1 && (packet[at] & 1) != 0;
    if (!framed && !(framingOptional && bytes == at))
        return false;
    vendor_ = std::move(vendor);
    entries_ = std::move(entries);
    return true;
}

uint64_t OggCommentBlock::PacketSize() const {
    uint64_t size = uint64_t{vendor_.size()} + 8 + 1;
    for (const OggCommentEntry& entry : entries_)
        size += entry.Length() + 4;
    return size;
}

OggOwnedPacket OggCommentBlock::SerializeCommentPacket(const unsigned char* prefix,
                                                       size_t prefixLength) const {
    OggOwnedPacket out;
    const size_t p = prefix ? prefixLength : 0;
    out.data.resize(static_cast<size_t>(PacketSize()) + p);
    unsigned char* at = out.data.data();
    if (p) {
        std::memcpy(at, prefix, p);
        at += p;
    }
    WriteLE32(at, static_cast<uint32_t>(vendor_.size()));
    std::memcpy(at + 4, vendor_.data(), vendor_.size());
    at += 4 + vendor_.size();
    WriteLE32(at, static_cast<uint32_t>(entries_.size()));
    at += 4;
    for (const OggCommentEntry& entry : entries_) {
        const std::string text = entry.ToText();
        WriteLE32(at, static_cast<uint32_t>(text.size()));
        std::memcpy(at + 4, text.data(), text.size());
        at += 4 + text.size();
    }
    *at = 1;
    out.packet.packet = out.data.data();
    out.packet.bytes = static_cast<long>(out.data.size());
    return out;
}

bool OggCommentBlock::SetPadded(uint32_t limit, const std::string& key, char pad) {
    const std::vector<OggCommentEntry> found = Find(key);
    std::string value = found.empty() ? std::string() : found.front().value;
    if (pad != 0) {
        const size_t end = value.find_last_not_of(pad);
        value.erase(end == std::string::npos ? 0 : end + 1);
    }
    const uint64_t entryOverhead = uint64_t{key.size()} + 5;  // length word and '='
    // What the packet holds without this entry.
    uint64_t others = PacketSize();
    if (!found.empty())
        others -= found.front().Length() + 4;
    if (others + entryOverhead >= limit)
        return false;
    const uint64_t room = limit - others - entryOverhead;
    // A text that does not fit is refused, not cut: the caller then writes
    // the comment header in full by rewriting the file's headers.
    if (room <= entryOverhead || value.size() > room)
        return false;
    value.append(static_cast<size_t>(room - value.size()), pad ? pad : ' ');
    Remove(key);
    Add(key, value);
    return true;
}

namespace {

// Offset and image of page pageIndex of the file (scans the first MiB).
bool FindPage(FILE* file, int pageIndex, int64_t& offset, std::vector<unsigned char>& image) {
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    bool found = false;
    int64_t at = 0;
    int index = 0;
    if (_fseeki64(file, 0, SEEK_SET) == 0) {
        int64_t consumed = 0;
        while (!found && consumed < (1 << 20)) {
            ogg_page page;
            const long step = ogg_sync_pageseek(&sync, &page);
            if (step > 0) {
                if (index == pageIndex) {
                    offset = at;
                    image.assign(page.header, page.header + page.header_len);
                    image.insert(image.end(), page.body, page.body + page.body_len);
                    found = true;
                }
                ++index;
                at += step;
            } else if (step < 0) {
                at += -step;
            } else {
                char* buffer = ogg_sync_buffer(&sync, 4096);
                const size_t got = fread(buffer, 1, 4096, file);
                if (got == 0)
                    break;
                ogg_sync_wrote(&sync, static_cast<long>(got));
                consumed += static_cast<int64_t>(got);
            }
        }
    }
    ogg_sync_clear(&sync);
    return found;
}

}  // namespace

bool OggCommentBlock::RewriteCommentPage(FILE* file, int pageIndex, uint32_t limit, const std::string& key,
                                         char pad, const unsigned char* prefix, size_t prefixLength) {
    if (!file)
        return false;
    const int64_t remembered = _ftelli64(file);
    fflush(file);
    int64_t offset = 0;
    std::vector<unsigned char> image;
    const bool located = FindPage(file, pageIndex, offset, image);
    _fseeki64(file, remembered, SEEK_SET);
    if (!located)
        return false;
    ogg_page old{};
    old.header = image.data();
    old.header_len = 27 + image[26];
    if (image.size() < static_cast<size_t>(old.header_len))
        return false;
    old.body = image.data() + old.header_len;
    old.body_len = static_cast<long>(image.size()) - old.header_len;

    ogg_stream_state stream;
    ogg_stream_init(&stream, ogg_page_serialno(&old));
    stream.pageno = ogg_page_pageno(&old);  // no gap before this page
    ogg_packet packet{};
    bool ok = ogg_stream_pagein(&stream, &old) == 0 && ogg_stream_packetout(&stream, &packet) == 1 &&
              packet.bytes == static_cast<long>(limit + prefixLength) && ogg_page_continued(&old) == 0;
    // The page must hold this packet alone, or a new page would not fit in.
    ogg_packet extra{};
    if (ok && ogg_stream_packetpeek(&stream, &extra) != 0)
        ok = false;
    const ogg_int64_t granule = packet.granulepos;
    ogg_stream_clear(&stream);
    if (!ok)
        return false;

    OggCommentBlock updated = *this;
    if (!updated.SetPadded(limit, key, pad))
        return false;
    OggOwnedPacket fresh = updated.SerializeCommentPacket(prefix, prefixLength);
    fresh.packet.b_o_s = 0;
    fresh.packet.e_o_s = 0;
    fresh.packet.granulepos = granule;
    fresh.packet.packetno = pageIndex;

    ogg_stream_init(&stream, ogg_page_serialno(&old));
    stream.pageno = pageIndex;
    stream.packetno = pageIndex;
    stream.b_o_s = 1;  // not the first page of the stream
    ogg_page page{};
    ok = ogg_stream_packetin(&stream, &fresh.packet) == 0 && ogg_stream_flush(&stream, &page) != 0 &&
         page.header_len + page.body_len == static_cast<long>(image.size());
    if (ok) {
        ok = _fseeki64(file, offset, SEEK_SET) == 0 &&
             fwrite(page.header, 1, page.header_len, file) == static_cast<size_t>(page.header_len) &&
             fwrite(page.body, 1, page.body_len, file) == static_cast<size_t>(page.body_len) &&
             fflush(file) == 0;
    }
    ogg_stream_clear(&stream);
    _fseeki64(file, remembered, SEEK_SET);
    if (ok)
        *this = updated;
    return ok;
}
