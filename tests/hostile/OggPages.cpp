#include "tests/hostile/OggPages.h"


namespace hostile {
namespace {

constexpr size_t kHeaderBytes = 27;  // up to the segment table

uint32_t CrcTableEntry(uint32_t index) {
    uint32_t r = index << 24;
    for (int i = 0; i < 8; ++i)
        r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
    return r;
}

size_t PageLength(const std::string& bytes, size_t page) {
    if (page + kHeaderBytes > bytes.size())
        return 0;
    const size_t segments = static_cast<uint8_t>(bytes[page + 26]);
    if (page + kHeaderBytes + segments > bytes.size())
        return 0;
    size_t body = 0;
    for (size_t i = 0; i < segments; ++i)
        body += static_cast<uint8_t>(bytes[page + kHeaderBytes + i]);
    const size_t length = kHeaderBytes + segments + body;
    return page + length <= bytes.size() ? length : 0;
}

void SetCrc(std::string& bytes, size_t page) {
    const uint32_t crc = OggPageCrc(bytes, page);
    for (int i = 0; i < 4; ++i)
        bytes[page + 22 + i] = static_cast<char>(crc >> (8 * i));
}

size_t PickPage(const std::string& bytes, Prng& rng) {
    const std::vector<size_t> pages = OggPages(bytes);
    // The first three pages hold the headers: damage them more often.
    if (pages.empty())
        return std::string::npos;
    const uint32_t n = static_cast<uint32_t>(pages.size());
    return pages[rng.OneIn(2) ? rng.Below(std::min(n, 3u)) : rng.Below(n)];
}

template <class Change>
std::string OnPage(const std::string& in, Prng& rng, bool keepCrcValid, Change change) {
    const size_t page = PickPage(in, rng);
    if (page == std::string::npos)
        return ByteMutations()[rng.Below(static_cast<uint32_t>(ByteMutations().size()))].apply(in, rng);
    std::string out = in;
    change(out, page);
    if (keepCrcValid && PageLength(out, page))
        SetCrc(out, page);
    return out;
}

void PutBytes(std::string& bytes, size_t at, uint64_t value, int count) {
    for (int i = 0; i < count && at + i < bytes.size(); ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i));
}

std::string HeaderType(const std::string& in, Prng& rng) {
    return OnPage(in, rng, true, [&](std::string& b, size_t p) { b[p + 5] = static_cast<char>(rng.Below(8)); });
}
std::string Granule(const std::string& in, Prng& rng) {
    static const uint64_t values[] = {0, ~0ull, 0x7FFFFFFFFFFFFFFFull, 0x8000000000000000ull, 1, 0xFFFFFFFFull};
    return OnPage(in, rng, true, [&](std::string& b, size_t p) {
        PutBytes(b, p + 6, rng.OneIn(3) ? rng.Next() : values[rng.Below(6)], 8);
    });
}
std::string Serial(const std::string& in, Prng& rng) {
    return OnPage(in, rng, true, [&](std::string& b, size_t p) { PutBytes(b, p + 14, rng.Next(), 4); });
}
std::string Sequence(const std::string& in, Prng& rng) {
    return OnPage(in, rng, true, [&](std::string& b, size_t p) {
        PutBytes(b, p + 18, HostileSize(rng, 0), 4);
    });
}
std::string SegmentCount(const std::string& in, Prng& rng) {
    return OnPage(in, rng, true, [&](std::string& b, size_t p) { b[p + 26] = static_cast<char>(rng.Below(256)); });
}
std::string Lacing(const std::string& in, Prng& rng) {
    return OnPage(in, rng, true, [&](std::string& b, size_t p) {
        const uint32_t segments = static_cast<uint8_t>(b[p + 26]);
        if (segments && p + kHeaderBytes + segments <= b.size())
            b[p + kHeaderBytes + rng.Below(segments)] = static_cast<char>(rng.OneIn(2) ? 255 : rng.Below(256));
    });
}
std::string PacketBytes(const std::string& in, Prng& rng) {
    // Damage inside a page's packets (the comment packet's counts and
    // lengths among them), with a valid checksum.
    return OnPage(in, rng, true, [&](std::string& b, size_t p) {
        const size_t length = PageLength(b, p);
        const size_t body = p + kHeaderBytes + static_cast<uint8_t>(b[p + 26]);
        if (length && p + length > body) {
            const size_t at = body + rng.Below(static_cast<uint32_t>(p + length - body));
            PutBytes(b, at, HostileSize(rng, 0), 4);
        }
    });
}
std::string CutPage(const std::string& in, Prng& rng) {
    const size_t page = PickPage(in, rng);
    if (page == std::string::npos)
        return in;
    return in.substr(0, page + rng.Below(64));
}
std::string BreakCrc(const std::string& in, Prng& rng) {
    return OnPage(in, rng, false, [&](std::string& b, size_t p) { b[p + 22 + rng.Below(4)] ^= 0x5A; });
}

const Mutation kOgg[] = {
    {"ogg-type", HeaderType},   {"ogg-granule", Granule}, {"ogg-serial", Serial},
    {"ogg-sequence", Sequence}, {"ogg-segments", SegmentCount}, {"ogg-lacing", Lacing},
    {"ogg-packet", PacketBytes}, {"ogg-packet", PacketBytes}, {"ogg-cut", CutPage},
    {"ogg-crc", BreakCrc},
};

}  // namespace

std::vector<size_t> OggPages(const std::string& bytes) {
    std::vector<size_t> pages;
    for (size_t at = 0; at + kHeaderBytes <= bytes.size();) {
        if (bytes.compare(at, 4, "OggS") != 0)
            break;
        const size_t length = PageLength(bytes, at);
        if (!length)
            break;
        pages.push_back(at);
        at += length;
    }
    return pages;
}

uint32_t OggPageCrc(const std::string& bytes, size_t page) {
    static uint32_t table[256];
    if (!table[1])
        for (uint32_t i = 0; i < 256; ++i)
            table[i] = CrcTableEntry(i);
    const size_t length = PageLength(bytes, page);
    uint32_t crc = 0;
    for (size_t i = 0; i < length; ++i) {
        const uint8_t byte = (i >= 22 && i < 26) ? 0 : static_cast<uint8_t>(bytes[page + i]);
        crc = (crc << 8) ^ table[((crc >> 24) & 0xFF) ^ byte];
    }
    return crc;
}

const std::vector<Mutation>& OggMutations() {
    static const std::vector<Mutation> all = WithByteMutations(kOgg, std::size(kOgg));
    return all;
}

}  // namespace hostile
