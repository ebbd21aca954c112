// The tags of an MP3 file: the ID3v1 block kept by this class at the end of
// the file, and the ID3v2 tag at its start, through id3lib. id3lib rewrites
// the whole file for a new tag, so the handle is closed around each write.
#include "audiofile/Mp3File.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <id3/tag.h>

#include "audiofile/FileSystem.h"

namespace {

bool g_tagEnabled = true;

// The owner text of the annotation's private frame.
constexpr char kPrivateOwner[] = "http://www.quillmoor.example/";

struct Id3v1Field {
    const char* name;
    uint32_t offset;
    uint32_t width;
};
constexpr Id3v1Field kId3v1Fields[] = {
    {"title", 3, 30}, {"artist", 33, 30}, {"album", 63, 30}, {"year", 93, 4}, {"comment", 97, 30},
};

const Id3v1Field* FindId3v1Field(const std::string& name) {
    for (const Id3v1Field& field : kId3v1Fields) {
        if (lstrcmpiA(field.name, name.c_str()) == 0)
            return &field;
    }
    return nullptr;
}

struct Id3v2Key {
    const char* key;
    ID3_FrameID frame;
};
constexpr Id3v2Key kId3v2Keys[] = {
    {"comment", ID3FID_COMMENT},      {"copyright", ID3FID_COPYRIGHT},
    {"title", ID3FID_TITLE},          {"name", ID3FID_TITLE},
    {"software", ID3FID_ENCODERSETTINGS}, {"artist", ID3FID_LEADARTIST},
    {"user", ID3FID_ENCODEDBY},       {"year", ID3FID_YEAR},
    {"album", ID3FID_ALBUM},
};

ID3_FrameID FrameForKey(const std::string& key) {
    if (lstrcmpiA(key.c_str(), kAnnotationKey) == 0)
        return ID3FID_PRIVATE;
    for (const Id3v2Key& entry : kId3v2Keys) {
        if (lstrcmpiA(entry.key, key.c_str()) == 0)
            return entry.frame;
    }
    return ID3FID_NOFRAME;
}

// Whether a private frame is our annotation: other programs keep their own
// data in PRIV frames, told apart by the owner.
bool IsOurPrivateFrame(const ID3_Frame& frame) {
    const ID3_Field* owner = frame.GetField(ID3FN_OWNER);
    const char* text = owner ? owner->GetRawText() : nullptr;
    return text && std::strcmp(text, kPrivateOwner) == 0;
}

// The first frame with the id; for the annotation's PRIV, only ours.
ID3_Frame* FindFrame(ID3_Tag& tag, ID3_FrameID id) {
    if (id != ID3FID_PRIVATE)
        return tag.Find(id);
    std::unique_ptr<ID3_Tag::Iterator> frames(tag.CreateIterator());
    while (ID3_Frame* frame = frames->GetNext())
        if (frame->GetID() == ID3FID_PRIVATE && IsOurPrivateFrame(*frame))
            return frame;
    return nullptr;
}

// A text in UTF-16 (as other programs write titles) in the ANSI code page.
std::string UnicodeText(const ID3_Field& text) {
    // id3lib keeps the characters in big-endian order.
    std::wstring value;
    const unicode_t* raw = text.GetRawUnicodeText();
    // Its size counts bytes.
    for (size_t i = 0; raw && i < text.Size() / 2 && raw[i] != 0; ++i) {
        const wchar_t ch = static_cast<wchar_t>(((raw[i] & 0xFF) << 8) | (raw[i] >> 8));
        if (ch != 0xFEFF)
            value += ch;
    }
    const int bytes = WideCharToMultiByte(CP_ACP, 0, value.c_str(), static_cast<int>(value.size()),
                                          nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_ACP, 0, value.c_str(), static_cast<int>(value.size()), &narrow[0],
                            bytes, nullptr, nullptr);
    return narrow;
}

// The frame's text, else its data bytes (up to a terminating zero).
std::optional<std::string> FrameValue(const ID3_Frame& frame) {
    if (ID3_Field* text = frame.GetField(ID3FN_TEXT)) {
        if (text->GetEncoding() == ID3TE_UTF16 || text->GetEncoding() == ID3TE_UTF16BE)
            return UnicodeText(*text);
        std::string value(text->Size() + 20, '\0');
        const size_t got = text->Get(&value[0], value.size());
        value.resize(got);
        return value;
    }
    if (ID3_Field* data = frame.GetField(ID3FN_DATA)) {
        const uchar* bytes = data->GetRawBinary();
        if (!bytes)
            return std::string();
        const size_t size = data->Size();
        const void* end = std::memchr(bytes, 0, size);
        const size_t length = end ? static_cast<const uchar*>(end) - bytes : size;
        return std::string(reinterpret_cast<const char*>(bytes), length);
    }
    return std::nullopt;
}

// The new frame with the value; false when the frame has no field for it.
bool FillFrame(ID3_Frame& frame, const std::string& value) {
    if (ID3_Field* text = frame.GetField(ID3FN_TEXT)) {
        text->Set(value.c_str());
        return true;
    }
    ID3_Field* data = frame.GetField(ID3FN_DATA);
    if (!data)
        return false;
    if (ID3_Field* owner = frame.GetField(ID3FN_OWNER))
        owner->Set(kPrivateOwner);
    data->Set(reinterpret_cast<const uchar*>(value.c_str()), value.size() + 1);
    return true;
}

// Whether the ID3v2 tag at the file's start may be given to id3lib: not
// when a frame claims to expand to more than any tag holds, which id3lib
// would allocate at once.
bool TagFitsId3lib(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return true;  // id3lib finds no tag either
    std::vector<uint8_t> tag(10);
    bool fits = true;
    if (std::fread(tag.data(), 1, 10, file) == 10 && std::memcmp(tag.data(), "ID3", 3) == 0) {
        uint32_t size = 0;
        for (int i = 6; i < 10; ++i)
            size = (size << 7) | (tag[i] & 0x7Fu);
        // What the file holds of it, not what it claims.
        const uint64_t fileBytes = FileSize(path);
        if (fileBytes < 10 + uint64_t{size})
            size = fileBytes > 10 ? static_cast<uint32_t>(fileBytes - 10) : 0;
        tag.resize(10 + size);
        tag.resize(10 + std::fread(tag.data() + 10, 1, size, file));
        fits = Id3v2ExpansionsFit(tag.data(), tag.size());
    }
    std::fclose(file);
    return fits;
}

}  // namespace

void Mp3File::EnableTag(bool enabled) { g_tagEnabled = enabled; }
bool Mp3File::TagEnabled() { return g_tagEnabled; }

// ---- ID3v1

bool Mp3File::ReadId3v1() {
    const uint32_t offset = FileOffset();
    const LONG end = mmioSeek(handle_, 0, SEEK_END);
    bool found = false;
    if (end >= static_cast<LONG>(kId3v1Bytes + dataStart_) &&
        SeekTo(static_cast<uint32_t>(end) - kId3v1Bytes) &&
        mmioRead(handle_, id3v1_, kId3v1Bytes) == static_cast<LONG>(kId3v1Bytes))
        found = std::memcmp(id3v1_, "TAG", 3) == 0;
    SeekTo(offset);
    if (!found) {
        std::memset(id3v1_, 0, sizeof id3v1_);
        std::memcpy(id3v1_, "TAG", 3);
    }
    return found;
}

bool Mp3File::GetId3v1Field(const std::string& name, std::string& value) const {
    const Id3v1Field* field = FindId3v1Field(name);
    if (!hasId3v1_ || !field)
        return false;
    const char* start = id3v1_ + field->offset;
    const void* zero = std::memchr(start, 0, field->width);
    value.assign(start, zero ? static_cast<const char*>(zero) - start : field->width);
    return true;
}

bool Mp3File::SetId3v1Field(const std::string& name, const std::string& value) {
    const Id3v1Field* field = FindId3v1Field(name);
    if (!field)
        return false;
    char* start = id3v1_ + field->offset;
    std::memset(start, 0, field->width);
    std::memcpy(start, value.data(), value.size() < field->width ? value.size() : field->width);
    hasId3v1_ = true;
    id3v1Dirty_ = true;
    return false;
}

bool Mp3File::WriteId3v1() {
    if (!handle_ || !hasId3v1_ || !id3v1Dirty_)
        return false;
    const uint32_t offset = FileOffset();
    // The block goes right after the frames: over an old block there, or
    // appended when the frames end the file.
    const uint32_t at = dataStart_ + dataLength_;
    const bool ok = SeekTo(at) && mmioWrite(handle_, id3v1_, kId3v1Bytes) ==
                                      static_cast<LONG>(kId3v1Bytes);
    SeekTo(offset);
    if (ok)
        id3v1Dirty_ = false;
    return ok;
}

// ---- ID3v2 through id3lib

std::optional<std::string> Mp3File::GetTag(const std::string& key) {
    const ID3_FrameID id = FrameForKey(key);
    if (id == ID3FID_NOFRAME || path_.empty() || !TagFitsId3lib(path_))
        return std::nullopt;
    try {
        ID3_Tag tag;
        tag.Link(path_.c_str(), ID3TT_ID3V2);
        const ID3_Frame* frame = FindFrame(tag, id);
        if (!frame)
            return std::nullopt;
        return FrameValue(*frame);
    } catch (...) {
        return std::nullopt;  // a tag id3lib cannot read holds no value for us
    }
}

bool Mp3File::SetTag(const std::string& key, const std::string& value) {
    if (!handle_ || readOnly_)
        return false;
    const ID3_FrameID id = FrameForKey(key);
    // A tag id3lib cannot be given is left as it is; the annotations stay
    // in their journal.
    if (id == ID3FID_NOFRAME || !TagFitsId3lib(path_))
        return false;
    const bool hadData = dataLength_ != 0;
    const uint32_t position = position_;
    // id3lib replaces the file: every handle on it must be closed first.
    mmioFlush(handle_, 0);
    CloseHandle();
    bool result = false;
    bool filled = false;
    try {
        ID3_Tag tag;
        tag.Link(path_.c_str(), ID3TT_ID3V2);
        ID3_Frame* existing = FindFrame(tag, id);
        if (existing && id == ID3FID_PRIVATE) {
            delete tag.RemoveFrame(existing);
            existing = nullptr;
        }
        if (!existing) {
            // Ours until the tag takes it, also when id3lib throws on the way.
            auto frame = std::make_unique<ID3_Frame>(id);
            if (FillFrame(*frame, value)) {
                tag.AttachFrame(frame.release());
                tag.SetUnsync(true);
                tag.SetExtendedHeader(false);
                tag.SetPadding(true);
                filled = true;
                // Switched off, nothing is stored in the file: false keeps
                // the annotations' journal, their only copy then.
                if (g_tagEnabled) {
                    tag.Update(ID3TT_ID3V2);
                    // The rewrite fails silently when the file cannot be
                    // replaced: read the frame back.
                    ID3_Tag check;
                    check.Link(path_.c_str(), ID3TT_ID3V2);
                    result = FindFrame(check, id) != nullptr;
                }
            }
        }
    } catch (...) {
        result = false;
    }
    const std::string leftover = path_ + ".XXXXXX";
    if (FileExists(leftover))
        Files().Delete(leftover);
    if (filled)
        SetId3v1Field(key, value);
    if (!ReopenAfterTagWrite(hadData, position))
        return false;
    return result;
}

bool Mp3File::ReopenAfterTagWrite(bool hadData, uint32_t position) {
    if (!OpenHandle((openMode_ & ~MMIO_CREATE) | MMIO_DENYNONE))
        return false;
    const uint32_t fileSize = static_cast<uint32_t>(FileSize(path_));
    if (!hadData) {
        dataStart_ = fileSize;
        dataLength_ = 0;
        position_ = 0;
        return SeekTo(dataStart_);
    }
    // The new tag may hold bytes that look like a frame sync: start after it,
    // and find the first frame as Open did, or junk before the frames would
    // move the data start and the end of the data with it.
    SeekTo(0);
    SkipId3v2();
    if (!SeekFirstFrame())
        return false;
    dataStart_ = FileOffset();
    const uint32_t room = fileSize > dataStart_ ? fileSize - dataStart_ : 0;
    if (dataLength_ > room)
        dataLength_ = room;
    return Position(position);
}
