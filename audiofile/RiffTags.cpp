// Tags of a RIFF file: "LIST" "INFO" sub-chunks before the data, and the
// annotation text in a "DISP" chunk after it.
#include <cstring>

#include "audiofile/RiffFile.h"

namespace {

constexpr uint32_t kDispTextFormat = 1;  // the clipboard's text format number
constexpr uint32_t kMaxRiffOffset = 0x7FFFFFFFu;

FOURCC Fourcc(const char* text) { return mmioStringToFOURCCA(text, 0); }

FOURCC InfoIdFor(const std::string& key) {
    struct Entry { const char* key; const char* id; };
    static const Entry kInfoKeys[] = {
        {"artist", "IART"},   {"comment", "ICMT"}, {"copyright", "ICOP"}, {"engineer", "IENG"},
        {"user", "IENG"},     {"name", "INAM"},    {"subject", "ISBJ"},   {"software", "ISFT"},
        {"author", "ISFT"},   {"creator", "ISFT"},
    };
    for (const Entry& entry : kInfoKeys)
        if (lstrcmpiA(key.c_str(), entry.key) == 0)
            return Fourcc(entry.id);
    return 0;
}

void Append(std::string& out, const void* data, size_t bytes) {
    out.append(static_cast<const char*>(data), bytes);
}

// A complete chunk: header, content, pad byte to an even size.
std::string ChunkBytes(FOURCC id, const std::string& content) {
    std::string chunk;
    const uint32_t header[2] = {id, static_cast<uint32_t>(content.size())};
    Append(chunk, header, sizeof header);
    chunk += content;
    if (content.size() & 1)
        chunk += '\0';
    return chunk;
}

std::string UpToZero(const std::string& text) { return std::string(text.c_str()); }

}  // namespace

std::optional<std::string> RiffFile::GetTag(const std::string& key) {
    if (!handle_)
        return std::nullopt;
    if (lstrcmpiA(key.c_str(), kAnnotationKey) == 0)
        return ReadAnnotation();
    const FOURCC id = InfoIdFor(key);
    return id ? ReadInfoTag(id) : std::nullopt;
}

bool RiffFile::SetTag(const std::string& key, const std::string& value) {
    if (readOnly_ || !handle_)
        return false;
    if (lstrcmpiA(key.c_str(), kAnnotationKey) == 0)
        return WriteTail(UpToZero(value));
    const FOURCC id = InfoIdFor(key);
    if (!id)
        return true;  // no place for it in a RIFF file
    // INFO chunks sit before the data: only a file without audio can take one.
    if (dataLength_ != 0)
        return false;
    const std::optional<std::string> existing = ReadInfoTag(id);
    if (existing && !existing->empty())
        return false;
    return WriteInfoTag(id, UpToZero(value));
}

std::optional<std::string> RiffFile::ReadAnnotation() const {
    std::optional<std::string> text;
    const FOURCC disp = Fourcc("DISP");
    WalkChunks(12, RiffEnd(), [&](const Chunk& c) {
        uint32_t format = 0;
        if (c.id != disp || c.size < 4)
            return false;
        if (!ReadAt(c.offset, &format, 4))
            return true;
        if (format != kDispTextFormat)
            return false;
        std::string content(c.size - 4, '\0');
        if (!content.empty() && !ReadAt(c.offset + 4, content.data(), c.size - 4))
            return true;
        text = UpToZero(content);
        return true;
    });
    return text;
}

bool RiffFile::WriteTail(const std::string& annotation) {
    std::string content;
    Append(content, &kDispTextFormat, 4);
    content += annotation;
    content += '\0';
    std::string tail = ChunkBytes(Fourcc("DISP"), content);
    tail.append(keptChunks_.begin(), keptChunks_.end());
    if (uint64_t{PaddedDataEnd()} + tail.size() > kMaxRiffOffset)
        return false;
    const char pad = 0;
    if ((dataLength_ & 1) && !WriteAt(dataStart_ + dataLength_, &pad, 1))
        return false;
    if (!WriteAt(PaddedDataEnd(), tail.data(), static_cast<uint32_t>(tail.size())))
        return false;
    tailBytes_ = static_cast<uint32_t>(tail.size());
    return WriteSizes();
}

bool RiffFile::FindInfoList(Chunk& list, bool directlyBeforeData) const {
    bool found = false;
    const FOURCC listId = Fourcc("LIST"), info = Fourcc("INFO");
    WalkChunks(12, RiffEnd(), [&](const Chunk& c) {
        FOURCC type = 0;
        if (c.id != listId || c.size < 4 || !ReadAt(c.offset, &type, 4) || type != info)
            return false;
        if (directlyBeforeData && c.offset + c.size + (c.size & 1) != dataStart_ - 8)
            return false;
        list = c;
        found = true;
        return true;
    });
    return found;
}

std::optional<std::string> RiffFile::ReadInfoTag(FOURCC id) const {
    std::optional<std::string> value;
    const FOURCC listId = Fourcc("LIST"), info = Fourcc("INFO");
    WalkChunks(12, RiffEnd(), [&](const Chunk& list) {
        FOURCC type = 0;
        if (list.id != listId || list.size < 4 || !ReadAt(list.offset, &type, 4) || type != info)
            return false;
        return WalkChunks(list.offset + 4, list.offset + list.size, [&](const Chunk& c) {
            if (c.id != id)
                return false;
            std::string content(c.size, '\0');
            if (c.size && !ReadAt(c.offset, content.data(), c.size))
                return false;
            value = UpToZero(content);
            return true;
        });
    });
    return value;
}

bool RiffFile::WriteInfoTag(FOURCC id, const std::string& value) {
    // Written over the header of the empty data chunk, which follows it anew.
    const uint32_t at = dataStart_ - 8;
    const std::string sub = ChunkBytes(id, value + '\0');
    std::string bytes;
    Chunk list;
    if (FindInfoList(list, true)) {
        const uint32_t listSize = list.size + static_cast<uint32_t>(sub.size());
        if (!WriteAt(list.offset - 4, &listSize, 4))
            return false;
        bytes = sub;
    } else {
        const uint32_t header[3] = {Fourcc("LIST"), static_cast<uint32_t>(4 + sub.size()), Fourcc("INFO")};
        Append(bytes, header, sizeof header);
        bytes += sub;
    }
    const uint32_t dataHeader[2] = {dataId_, 0};
    Append(bytes, dataHeader, sizeof dataHeader);
    if (!WriteAt(at, bytes.data(), static_cast<uint32_t>(bytes.size())))
        return false;
    dataStart_ = at + static_cast<uint32_t>(bytes.size());
    position_ = 0;
    tailBytes_ = 0;  // the annotation is written again after the moved data chunk
    modified_ = true;
    return WriteSizes();
}
