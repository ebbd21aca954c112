#include "recorder/clipboard/ClipboardImage.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Chunks after the audio (annotation, signature, kept chunks) that fit
// without reading the whole file again.
constexpr uint64_t kTailRoom = 64 * 1024;

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

bool ReadRange(FILE* file, uint64_t offset, char* into, uint64_t bytes) {
    if (bytes == 0)
        return true;
    return _fseeki64(file, static_cast<int64_t>(offset), SEEK_SET) == 0 &&
           std::fread(into, 1, static_cast<size_t>(bytes), file) == bytes;
}

}  // namespace

ClipboardImage::ClipboardImage(uint32_t dataStart, uint64_t audioBytes) : dataStart_(dataStart) {
    const uint64_t capacity = uint64_t{dataStart} + audioBytes + 1 + kTailRoom;
    if (capacity > SIZE_MAX)
        return;
    // GMEM_MOVEABLE | GMEM_DDESHARE, the form other programs expect.
    block_ = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, static_cast<SIZE_T>(capacity));
    if (!block_)
        return;
    data_ = static_cast<char*>(GlobalLock(block_));
    if (!data_) {
        Drop();
        return;
    }
    capacity_ = capacity;
}

ClipboardImage::~ClipboardImage() { Drop(); }

void ClipboardImage::Drop() {
    if (data_)
        GlobalUnlock(block_);
    data_ = nullptr;
    if (block_)
        GlobalFree(block_);
    block_ = nullptr;
}

void ClipboardImage::Take(uint32_t at, const void* data, uint32_t bytes) {
    if (!data_ || broken_)
        return;
    if (at != taken_ || dataStart_ + taken_ + bytes > capacity_) {
        broken_ = true;
        return;
    }
    std::memcpy(data_ + dataStart_ + taken_, data, bytes);
    taken_ += bytes;
}

HGLOBAL ClipboardImage::Finish(const std::string& path, uint32_t dataStart, uint32_t dataLength) {
    if (!data_ || broken_ || dataStart != dataStart_ || taken_ != dataLength)
        return nullptr;
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file || _fseeki64(file.get(), 0, SEEK_END) != 0)
        return nullptr;
    const int64_t end = _ftelli64(file.get());
    const uint64_t audioEnd = uint64_t{dataStart} + dataLength;
    if (end < 0 || static_cast<uint64_t>(end) < audioEnd || static_cast<uint64_t>(end) > capacity_)
        return nullptr;
    const uint64_t size = static_cast<uint64_t>(end);
    if (!ReadRange(file.get(), 0, data_, dataStart) ||
        !ReadRange(file.get(), audioEnd, data_ + audioEnd, size - audioEnd))
        return nullptr;
    GlobalUnlock(block_);
    data_ = nullptr;
    // The block shrinks to the file's size: the clipboard's readers take
    // its size for the file's.
    const HGLOBAL sized = GlobalReAlloc(block_, static_cast<SIZE_T>(size), GMEM_MOVEABLE);
    if (!sized)
        return nullptr;
    block_ = sized;
    if (GlobalSize(block_) != size)
        return nullptr;
    const HGLOBAL result = block_;
    block_ = nullptr;
    return result;
}
