// The comment header of an Ogg stream: a vendor text and name=value entries,
// in the layout Vorbis and Speex share. The annotation entry can be padded so
// that the packet has a fixed size and a later rewrite fits in place.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <ogg/ogg.h>

struct OggCommentEntry {
    std::string name;
    std::string value;
    std::string ToText() const { return name + "=" + value; }
    size_t Length() const { return name.size() + 1 + value.size(); }
};

// An owned packet: the ogg_packet points into data.
struct OggOwnedPacket {
    std::vector<unsigned char> data;
    ogg_packet packet{};
};

class OggCommentBlock {
public:
    void SetVendor(const std::string& vendor) { vendor_ = vendor; }
    const std::string& Vendor() const { return vendor_; }
    int Count() const { return static_cast<int>(entries_.size()); }
    const OggCommentEntry& EntryAt(int index) const { return entries_[index]; }
    void Clear() { entries_.clear(); }

    bool Add(const std::string& name, const std::string& value);
    // Entries whose name equals key, case-blind (comment names are ASCII).
    std::vector<OggCommentEntry> Find(const std::string& key) const;
    // Removes the first such entry; false when there is none.
    bool Remove(const std::string& key);
    // Splits at the first '='; false without one.
    static bool SplitNameValue(const std::string& text, std::string& name, std::string& value);

    // Replaces vendor and entries from the packet after prefixLength bytes;
    // false (block unchanged) when the packet is malformed. Vorbis requires
    // the framing byte; Speex encoders may leave it out (framingOptional).
    bool ParseCommentPacket(const unsigned char* packet, size_t bytes, size_t prefixLength,
                            bool framingOptional = false);
    // The packet with the prefix in front; the caller sets the packet fields.
    OggOwnedPacket SerializeCommentPacket(const unsigned char* prefix, size_t prefixLength) const;
    // Size of the packet without prefix.
    uint64_t PacketSize() const;

    // Makes key's entry the last and sizes it so the packet without prefix
    // is exactly limit bytes. False when the text does not fit (the block
    // then keeps the entry as it was).
    bool SetPadded(uint32_t limit, const std::string& key, char pad);
    // Replaces the comment packet on page pageIndex of the open file in place
    // when it has exactly limit + prefixLength bytes; the file keeps its size.
    bool RewriteCommentPage(FILE* file, int pageIndex, uint32_t limit, const std::string& key, char pad,
                            const unsigned char* prefix, size_t prefixLength);

private:
    std::string vendor_;
    std::vector<OggCommentEntry> entries_;
};

// Little-endian helpers of the Ogg layouts.
void WriteLE32(unsigned char* out, uint32_t value);
uint32_t ReadLE32(const unsigned char* in);
void WriteLE64(unsigned char* out, uint64_t value);
uint64_t ReadLE64(const unsigned char* in);
