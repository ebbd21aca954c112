#include "recorder/clipboard/ClipboardTransfer.h"

#include <cstdio>
#include <memory>

#include "audiofile/FileNames.h"
#include "audiofile/MediaFile.h"
#include "framework/Clipboard.h"

namespace {

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// A global block that is freed unless it was handed to the clipboard.
class GlobalBlock {
public:
    explicit GlobalBlock(HGLOBAL block) : block_(block) {}
    ~GlobalBlock() {
        if (block_)
            GlobalFree(block_);
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;
    HGLOBAL get() const { return block_; }
    void HandedOver() { block_ = nullptr; }

private:
    HGLOBAL block_;
};

class ClipboardOpen {
public:
    explicit ClipboardOpen(HWND owner) : open_(OpenClipboardPatiently(owner)) {}
    ~ClipboardOpen() {
        if (open_)
            CloseClipboard();
    }
    ClipboardOpen(const ClipboardOpen&) = delete;
    ClipboardOpen& operator=(const ClipboardOpen&) = delete;
    bool IsOpen() const { return open_; }

private:
    bool open_;
};

class BlockLock {
public:
    explicit BlockLock(HGLOBAL block) : block_(block), data_(GlobalLock(block)) {}
    ~BlockLock() {
        if (data_)
            GlobalUnlock(block_);
    }
    BlockLock(const BlockLock&) = delete;
    BlockLock& operator=(const BlockLock&) = delete;
    char* data() const { return static_cast<char*>(data_); }

private:
    HGLOBAL block_;
    void* data_;
};

class ProgressRun {
public:
    ProgressRun(TransferProgress& progress, const TransferTexts& texts) : progress_(progress) {
        progress_.Begin(texts);
    }
    ~ProgressRun() { progress_.End(); }
    ProgressRun(const ProgressRun&) = delete;
    ProgressRun& operator=(const ProgressRun&) = delete;

private:
    TransferProgress& progress_;
};

enum class Copied { Done, Cancelled, Failed };

// The one chunk loop of both directions: move(offset, bytes) copies one
// chunk; the progress is asked before each one.
template <class Move>
Copied CopyInChunks(uint64_t size, TransferProgress& progress, Move move) {
    const uint64_t total = size < 2 ? 2 : size;
    uint64_t done = 0;
    while (done < size) {
        if (!progress.Step(TransferPercent(size - done, total)))
            return Copied::Cancelled;
        const uint64_t rest = size - done;
        const size_t chunk = static_cast<size_t>(rest < kClipboardChunkBytes ? rest : kClipboardChunkBytes);
        if (!move(done, chunk))
            return Copied::Failed;
        done += chunk;
    }
    return Copied::Done;
}

// Length of an open file; false past what one block can hold.
bool FileLength(FILE* file, uint64_t& size) {
    if (_fseeki64(file, 0, SEEK_END) != 0)
        return false;
    const int64_t end = _ftelli64(file);
    if (end < 0 || static_cast<uint64_t>(end) > SIZE_MAX - 1 || _fseeki64(file, 0, SEEK_SET) != 0)
        return false;
    size = static_cast<uint64_t>(end);
    return true;
}

// Reads the whole file into a new block; null on failure or cancel.
HGLOBAL ReadIntoBlock(FILE* file, uint64_t size, TransferProgress& progress) {
    // GMEM_MOVEABLE | GMEM_DDESHARE, the form other programs expect.
    GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, static_cast<SIZE_T>(size)));
    if (!block.get())
        return nullptr;
    {
        BlockLock lock(block.get());
        if (!lock.data())
            return nullptr;
        char* data = lock.data();
        const Copied copied = CopyInChunks(size, progress, [&](uint64_t offset, size_t bytes) {
            return std::fread(data + offset, 1, bytes, file) == bytes;
        });
        if (copied != Copied::Done)
            return nullptr;
    }
    const HGLOBAL result = block.get();
    block.HandedOver();
    return result;
}

}  // namespace

int TransferPercent(uint64_t remaining, uint64_t total) {
    const uint64_t half = total / 2;
    if (half == 0)
        return 100;
    return 100 - static_cast<int>(((remaining / 2) * 100 + half / 2) / half);
}

UINT ClipboardFormatForType(int type) {
    switch (type) {
    case ftMp3: return RegisterClipboardFormatA("mp3");
    case ftWmv: return RegisterClipboardFormatA("wmv");
    case ftOgg: return RegisterClipboardFormatA("ogg");
    default: return CF_WAVE;
    }
}

UINT ClipboardFormatForName(const std::string& path) {
    return ClipboardFormatForType(FileTypeFromExtension(path.c_str()));
}

bool PutFileOnClipboard(HWND owner, const std::string& path, const TransferTexts& texts,
                        TransferProgress& progress) {
    const UINT format = ClipboardFormatForName(path);
    if (format == 0)
        return false;
    // Read access only: a read-only file goes on the clipboard as well.
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return false;
    uint64_t size = 0;
    // Nothing to put: the clipboard takes no empty block (Wine refuses it).
    if (!FileLength(file.get(), size) || size == 0)
        return false;
    HGLOBAL image = nullptr;
    {
        ProgressRun run(progress, texts);
        image = ReadIntoBlock(file.get(), size, progress);
    }
    file.reset();
    return image && PutBlockOnClipboard(owner, path, image);
}

bool PutBlockOnClipboard(HWND owner, const std::string& path, HGLOBAL image) {
    GlobalBlock block(image);
    const UINT format = ClipboardFormatForName(path);
    if (format == 0)
        return false;
    ClipboardOpen clipboard(owner);
    if (!clipboard.IsOpen())
        return false;
    // Emptied first: an image of another type left beside this one would be
    // taken by a paste that asks for that type.
    if (!EmptyClipboard())
        return false;
    if (!SetClipboardData(format, block.get()))
        return false;
    block.HandedOver();  // the clipboard owns it now
    return true;
}

namespace {

ClipboardGet WriteImage(const std::string& path, HGLOBAL image, uint64_t size,
                        TransferProgress& progress) {
    FilePtr file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return ClipboardGet::CannotWrite;
    Copied copied = Copied::Done;
    if (size > 0) {
        BlockLock lock(image);
        if (!lock.data()) {
            copied = Copied::Failed;
        } else {
            const char* data = lock.data();
            copied = CopyInChunks(size, progress, [&](uint64_t offset, size_t bytes) {
                return std::fwrite(data + offset, 1, bytes, file.get()) == bytes;
            });
        }
    }
    const bool closed = std::fclose(file.release()) == 0;
    if (copied == Copied::Cancelled)
        return ClipboardGet::Cancelled;
    if (copied == Copied::Failed || !closed) {
        DeleteFileA(path.c_str());  // nothing half written is left behind
        return ClipboardGet::CannotWrite;
    }
    return ClipboardGet::Done;
}

}  // namespace

ClipboardGet GetFileFromClipboard(HWND owner, const std::string& path, const TransferTexts& texts,
                                  TransferProgress& progress, const RoomCheck& hasRoom) {
    const UINT format = ClipboardFormatForName(path);
    if (format == 0)
        return ClipboardGet::NoData;
    // Open for the whole copy: once it is closed another program may
    // replace the data and free the block.
    ClipboardOpen clipboard(owner);
    if (!clipboard.IsOpen())
        return ClipboardGet::NoData;
    const HGLOBAL image = GetClipboardData(format);
    if (!image)
        return ClipboardGet::NoData;
    const uint64_t size = GlobalSize(image);
    if (hasRoom && !hasRoom(size))
        return ClipboardGet::NoRoom;
    ProgressRun run(progress, texts);
    return WriteImage(path, image, size, progress);
}

bool WindowsClipboardHasAudio(int type) {
    if (type != ftWav && type != ftMp3 && type != ftOgg)
        return false;
    const UINT format = ClipboardFormatForType(type);
    return format != 0 && IsClipboardFormatAvailable(format) != FALSE;
}
