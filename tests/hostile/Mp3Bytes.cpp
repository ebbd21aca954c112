#include "tests/hostile/Mp3Bytes.h"

#include <algorithm>

#include "audiofile/Mp3Frames.h"

namespace hostile {

std::string Mp3FrameRun(const uint8_t header[4], int count) {
    Mp3FrameHeader frame;
    if (!ParseFrameHeader(header, frame))
        return {};
    std::string out;
    for (int n = 0; n < count; ++n) {
        std::string bytes(frame.frameBytes, '\0');
        bytes.replace(0, 4, reinterpret_cast<const char*>(header), 4);
        for (size_t i = 36; i < bytes.size(); i += 7)
            bytes[i] = static_cast<char>(n + i);
        out += bytes;
    }
    return out;
}

namespace {

void PutBe32(std::string& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4 && at + i < bytes.size(); ++i)
        bytes[at + i] = static_cast<char>(value >> (24 - 8 * i));
}
uint32_t GetBe32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | (at + i < bytes.size() ? static_cast<uint8_t>(bytes[at + i]) : 0);
    return value;
}
void PutSyncSafe(std::string& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4 && at + i < bytes.size(); ++i)
        bytes[at + i] = static_cast<char>((value >> (21 - 7 * i)) & 0x7F);
}

// The tag's length from its header; 0 without one.
size_t TagBytes(const std::string& bytes) {
    if (bytes.size() < 10)
        return 0;
    return Id3v2TagBytes(reinterpret_cast<const uint8_t*>(bytes.data()));
}

// Offsets of the tag's frame headers (ten bytes each, v2.3 layout).
std::vector<size_t> TagFrames(const std::string& bytes) {
    std::vector<size_t> frames;
    const size_t end = std::min(TagBytes(bytes), bytes.size());
    for (size_t at = 10; at + 10 <= end && bytes[at] != '\0';) {
        frames.push_back(at);
        at += 10 + size_t{GetBe32(bytes, at + 4)};
    }
    return frames;
}

template <class T>
T Pick(const std::vector<T>& from, Prng& rng) {
    return from[rng.Below(static_cast<uint32_t>(from.size()))];
}

std::string AnyByteMutation(const std::string& in, Prng& rng) {
    return Pick(ByteMutations(), rng).apply(in, rng);
}

std::string FrameField(const std::string& in, Prng& rng) {
    const std::vector<size_t> headers = Mp3FrameHeaders(in);
    if (headers.empty())
        return AnyByteMutation(in, rng);
    std::string out = in;
    // The first frames decide the format: damage them more often.
    const size_t at = rng.OneIn(2) ? headers[0] : Pick(headers, rng);
    switch (rng.Below(4)) {
    case 0: out[at + 1] = static_cast<char>(0xE0 | rng.Below(32)); break;  // version, layer, CRC bit
    case 1: out[at + 2] = static_cast<char>((out[at + 2] & 0x0F) | (rng.Below(16) << 4)); break;  // bit rate
    case 2: out[at + 2] = static_cast<char>((out[at + 2] & 0xF1) | (rng.Below(8) << 1)); break;  // rate, padding
    default: out[at + 3] = static_cast<char>(rng.Next()); break;  // mode, emphasis
    }
    return out;
}

std::string FalseSync(const std::string& in, Prng& rng) {
    std::string out = in;
    const size_t at = out.empty() ? 0 : rng.Below(static_cast<uint32_t>(out.size()));
    const char sync[] = {'\xFF', static_cast<char>(0xE0 | rng.Below(32)), static_cast<char>(rng.Next()),
                         static_cast<char>(rng.Next())};
    if (rng.OneIn(2))
        out.insert(at, sync, 4);
    else
        out.replace(at, std::min<size_t>(4, out.size() - at), sync, 4);
    return out;
}

std::string TagHeader(const std::string& in, Prng& rng) {
    std::string out = in;
    if (TagBytes(out) == 0 || rng.OneIn(4)) {
        // A tag header put in front of whatever follows.
        std::string header("ID3\3\0\0\0\0\0\0", 10);
        PutSyncSafe(header, 6, HostileSize(rng, static_cast<uint32_t>(in.size())) & 0x0FFFFFFF);
        return header + out;
    }
    switch (rng.Below(4)) {
    case 0: out[3] = static_cast<char>(rng.OneIn(2) ? rng.Below(6) : rng.Next()); break;  // version
    case 1: out[5] = static_cast<char>(rng.Below(16) << 4); break;  // unsync, extended, experimental, footer
    case 2: PutSyncSafe(out, 6, HostileSize(rng, static_cast<uint32_t>(TagBytes(out) - 10)) & 0x0FFFFFFF); break;
    default: out[6 + rng.Below(4)] = static_cast<char>(0x80 | rng.Next()); break;  // not sync-safe
    }
    return out;
}

std::string TagFrame(const std::string& in, Prng& rng) {
    const std::vector<size_t> frames = TagFrames(in);
    if (frames.empty())
        return TagHeader(in, rng);
    std::string out = in;
    const size_t at = Pick(frames, rng);
    switch (rng.Below(5)) {
    case 0:
    case 1: PutBe32(out, at + 4, HostileSize(rng, GetBe32(out, at + 4))); break;
    case 2:
        // Format flags: compression (a decompressed size follows), encryption, grouping.
        out[at + 9] = static_cast<char>(rng.Below(8) << 5);
        if (rng.OneIn(2) && at + 14 <= out.size())
            PutBe32(out, at + 10, HostileSize(rng, 0));
        break;
    case 3:
        if (at + 10 < out.size())
            out[at + 10] = static_cast<char>(rng.OneIn(2) ? rng.Below(5) : rng.Next());  // text encoding
        break;
    default: {
        static const char* const ids[] = {"TIT2", "COMM", "PRIV", "APIC", "TXXX", "WXXX", "GEOB", "\0\0\0\0",
                                          "SYLT", "USLT", "TPE1", "RVA2"};
        out.replace(at, 4, ids[rng.Below(12)], 4);
    }
    }
    return out;
}

std::string Id3v1(const std::string& in, Prng& rng) {
    std::string out = in;
    if (rng.OneIn(3) || out.size() < 128)
        return out + Id3v1Block(std::string(rng.Below(40), 'T'));
    const size_t at = out.size() - 128;
    if (rng.OneIn(2)) {
        out.replace(at, 3, "TAG");
        for (size_t i = at + 3; i < out.size(); ++i)
            if (out[i] == '\0')
                out[i] = 'x';
    } else {
        out.replace(at, 3, rng.OneIn(2) ? "TAX" : "TA");
    }
    return out;
}

const Mutation kMp3[] = {
    {"mp3-frame", FrameField}, {"mp3-frame", FrameField}, {"mp3-sync", FalseSync},
    {"id3-header", TagHeader}, {"id3-frame", TagFrame},   {"id3-frame", TagFrame},
    {"id3v1", Id3v1},
};

}  // namespace

std::string Id3v2Tag(const std::vector<std::pair<std::string, std::string>>& frames) {
    std::string body;
    for (const auto& [id, content] : frames) {
        std::string header = id.substr(0, 4) + std::string(6, '\0');
        PutBe32(header, 4, static_cast<uint32_t>(content.size()));
        body += header + content;
    }
    body += std::string(32, '\0');  // padding
    std::string tag("ID3\3\0\0\0\0\0\0", 10);
    PutSyncSafe(tag, 6, static_cast<uint32_t>(body.size()));
    return tag + body;
}

std::string Id3v1Block(const std::string& title) {
    std::string block = "TAG" + title.substr(0, 30);
    block.resize(127, '\0');
    block += '\x0C';  // genre
    return block;
}

std::vector<size_t> Mp3FrameHeaders(const std::string& bytes) {
    std::vector<size_t> headers;
    for (size_t at = TagBytes(bytes); at + 4 <= bytes.size();) {
        Mp3FrameHeader frame;
        if (!ParseFrameHeader(reinterpret_cast<const uint8_t*>(bytes.data() + at), frame) || frame.frameBytes < 4)
            break;
        headers.push_back(at);
        at += frame.frameBytes;
    }
    return headers;
}

const std::vector<Mutation>& Mp3Mutations() {
    static const std::vector<Mutation> all = WithByteMutations(kMp3, std::size(kMp3));
    return all;
}

}  // namespace hostile
