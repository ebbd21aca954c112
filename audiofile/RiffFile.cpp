// Opening, creating, closing, deleting and renaming RIFF files.
#include "audiofile/RiffFile.h"

#include "audiofile/FileSystem.h"

namespace {

constexpr uint32_t kAccessBits = MMIO_READ | MMIO_WRITE | MMIO_READWRITE;

}  // namespace

RiffFile::RiffFile(const char* name, const char* formType, const char* dataId, uint32_t openMode)
    : RecFile(name, openMode),
      formType_(formType ? mmioStringToFOURCCA(formType, 0) : 0),
      dataId_(mmioStringToFOURCCA(dataId, 0)) {}

RiffFile::~RiffFile() { Close(); }

bool RiffFile::OpenHandle(uint32_t mode) {
    handle_ = mmioOpenA(const_cast<char*>(path_.c_str()), nullptr, mode);
    return handle_ != nullptr;
}

void RiffFile::CloseHandle() {
    if (handle_)
        mmioClose(handle_, 0);
    handle_ = nullptr;
}

bool RiffFile::Open() {
    if (handle_)
        Close();
    modified_ = false;
    readOnly_ = false;
    keptChunks_.clear();
    tailBytes_ = 0;
    dataStart_ = 0;
    dataLength_ = 0;
    position_ = 0;
    temporary_ = path_.empty();
    if (temporary_) {
        std::string name;
        if (!MakeTempFileName(name)) {
            SetStatus(statusCannotOpen);
            return false;
        }
        SetPath(name.c_str());
    }
    const bool writable = (openMode_ & kAccessBits) != MMIO_READ;
    // An existing empty file holds nothing to keep: it is made anew when writable.
    const bool existing = !temporary_ && !(openMode_ & MMIO_CREATE) && FileExists(path_) &&
                          !(writable && FileSize(path_) == 0);
    // Opening for reading only never creates a file.
    if (!existing && !writable && !temporary_ && !(openMode_ & MMIO_CREATE)) {
        SetStatus(statusCannotOpen);
        return false;
    }
    if (!(existing ? OpenExisting() : CreateNew()))
        return false;
    RecFile::Open();
    return true;
}

bool RiffFile::OpenExisting() {
    const bool writable = (openMode_ & kAccessBits) != MMIO_READ;
    // Reading the chunks needs read access even when only writing was asked.
    const uint32_t otherBits = openMode_ & ~(kAccessBits | MMIO_CREATE);
    if (!writable || !OpenHandle(otherBits | MMIO_READWRITE)) {
        if (!OpenHandle(otherBits | MMIO_READ)) {
            SetStatus(statusCannotOpen);
            return false;
        }
        readOnly_ = true;
    }
    if (!ParseChunks()) {
        CloseHandle();
        readOnly_ = false;
        SetStatus(statusNoFormat);
        return false;
    }
    return true;
}

bool RiffFile::CreateNew() {
    // Made empty first where it is not there, so the open need not empty it
    // (CreateEmptyFile says why); a file that holds anything is emptied.
    uint32_t mode = (openMode_ & ~(kAccessBits | MMIO_CREATE)) | MMIO_READWRITE;
    const bool made = CreateEmptyFile(path_);
    if (!made && !(FileExists(path_) && FileSize(path_) == 0))
        mode |= MMIO_CREATE;
    if (!OpenHandle(mode)) {
        if (made)
            Files().Delete(path_);  // an empty file left would take the name
        SetStatus(statusCannotOpen);
        return false;
    }
    const uint32_t header[3] = {FOURCC_RIFF, 4, formType_};
    headerEnd_ = 12;
    bool ok = WriteAt(0, header, sizeof header) && CreateFormat();
    const uint32_t dataHeader[2] = {dataId_, 0};
    ok = ok && WriteAt(headerEnd_, dataHeader, sizeof dataHeader);
    dataStart_ = headerEnd_ + 8;
    dataLength_ = 0;
    position_ = 0;
    ok = ok && WriteSizes();
    if (!ok) {
        CloseHandle();
        Files().Delete(path_);  // the half-made file is ours
        if (GetError() == statusOk)
            SetStatus(statusCannotOpen);
        return false;
    }
    mayTrim_ = true;
    modified_ = true;
    // From now on the file exists: opening it again (Reopen, a failed rename)
    // must not create it anew over the recording.
    openMode_ &= ~MMIO_CREATE;
    return true;
}

bool RiffFile::Close() {
    if (!handle_)
        return true;
    const bool wasModified = modified_;
    bool ok = !modified_ || Update();
    if (mmioClose(handle_, 0) != 0)
        ok = false;
    handle_ = nullptr;
    readOnly_ = false;
    if (wasModified && ok)
        TrimBeyondRiff();
    if (temporary_) {
        if (wasModified)
            return false;  // still needs a name
        Files().Delete(path_);
        DiscardJournal();
    }
    return ok;
}

void RiffFile::TrimBeyondRiff() {
    // A shorter annotation leaves old bytes after the RIFF chunk; cut them
    // unless the file carried bytes of its own there when it was opened.
    if (!mayTrim_ || FileSize(path_) <= RiffEnd())
        return;
    HANDLE file = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    if (SetFilePointer(file, static_cast<LONG>(RiffEnd()), nullptr, FILE_BEGIN) == RiffEnd())
        SetEndOfFile(file);
    ::CloseHandle(file);
}

bool RiffFile::Delete() {
    if (readOnly_)
        return false;
    CloseHandle();
    if (!path_.empty() && FileExists(path_) && !Files().Delete(path_))
        return false;
    DiscardJournal();
    path_.clear();
    dataLength_ = 0;
    position_ = 0;
    modified_ = false;
    return true;
}

bool RiffFile::OpenAs(const char* name) {
    if (handle_ && !Close())
        return false;
    SetPath(name);
    return Open();
}

bool RiffFile::ReopenAfterFailedRename(const std::string& oldPath, uint32_t position,
                                       bool wasTemporary) {
    SetPath(oldPath.c_str());
    // Only the file as it was: where it has gone, none is made in its place.
    openMode_ &= ~MMIO_CREATE;
    if (FileExists(oldPath) && Open())
        (void)Position(position);
    temporary_ = wasTemporary;
    return false;
}

bool RiffFile::Rename(const std::string& newPath) {
    const std::string target = FullPath(newPath);
    if (target.empty())
        return false;
    // Renaming onto itself (under any of its names) must not delete the
    // "existing target" first.
    if (SamePath(target, path_) || SameFileOnDisk(target, path_)) {
        const bool ok = Update();
        temporary_ = false;
        openMode_ &= ~MMIO_CREATE;
        return ok;
    }
    if (!Update())
        return false;
    const uint32_t position = position_;
    const std::string oldPath = path_;
    const bool wasTemporary = temporary_;
    CloseHandle();
    DiscardJournal();  // the tag holds the annotations; the journal follows the new name
    if (!RenameOrCopy(oldPath, target))
        return ReopenAfterFailedRename(oldPath, position, wasTemporary);
    MoveJournal(oldPath, target);  // none to move: a replaced file's journal goes
    SetPath(target.c_str());
    openMode_ &= ~MMIO_CREATE;
    if (!Open())
        return false;
    (void)Position(position);
    return true;
}
