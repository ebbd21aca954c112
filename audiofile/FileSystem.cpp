#include "audiofile/FileSystem.h"

#include <windows.h>

#include <cstdio>

namespace {

// Plain kernel32 calls: under Wine, mmioRenameA without an MMIOINFO hangs and
// mmioOpenA with MMIO_DELETE leaves the file open instead of removing it.
class RealFileSystem : public FileSystem {
public:
    bool Rename(const std::string& from, const std::string& to) override {
        // No copy across volumes here: the caller copies and keeps the source.
        return MoveFileA(from.c_str(), to.c_str()) != 0;
    }
    bool Delete(const std::string& name) override {
        if (std::remove(name.c_str()) == 0)
            return true;
        return DeleteFileA(name.c_str()) != 0 ||
               GetFileAttributesA(name.c_str()) == INVALID_FILE_ATTRIBUTES;
    }
};

RealFileSystem realFiles;

bool IdentityOf(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    const HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool ok = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    return ok;
}

FileSystem* current = &realFiles;

}  // namespace

bool FileSystem::Replace(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

FileSystem& Files() { return *current; }

void SetFiles(FileSystem* replacement) { current = replacement ? replacement : &realFiles; }

bool CreateEmptyFile(const std::string& name) {
    HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

bool CopyFileBytes(const std::string& from, const std::string& to) {
    FILE* in = std::fopen(from.c_str(), "rb");
    if (!in)
        return false;
    FILE* out = std::fopen(to.c_str(), "wb");
    if (!out) {
        std::fclose(in);
        return false;
    }
    bool ok = true;
    char buffer[65536];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
        if (std::fwrite(buffer, 1, got, out) != got) {
            ok = false;
            break;
        }
    ok = ok && !std::ferror(in);
    std::fclose(in);
    ok = std::fclose(out) == 0 && ok;
    if (!ok)
        std::remove(to.c_str());  // never leave a partial copy under the new name
    return ok;
}

bool SameFileOnDisk(const std::string& a, const std::string& b) {
    BY_HANDLE_FILE_INFORMATION first{}, second{};
    return IdentityOf(a, first) && IdentityOf(b, second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

std::string ScratchNameBeside(const std::string& path) {
    // The file's own name and extension stay at the end, so its kind (and
    // its journal's name) follow from the scratch name as from the path.
    const size_t cut = path.find_last_of("\\/");
    const std::string folder = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
    const std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
    for (int n = 1; n < 10000; ++n) {
        const std::string candidate = folder + "~" + std::to_string(n) + "_" + name;
        if (GetFileAttributesA(candidate.c_str()) == INVALID_FILE_ATTRIBUTES)
            return candidate;
    }
    return std::string();
}

bool RenameOrCopy(const std::string& from, const std::string& to) {
    if (SameFileOnDisk(from, to))
        return false;  // "replacing" the file with itself would only delete it
    if (GetFileAttributesA(to.c_str()) == INVALID_FILE_ATTRIBUTES)
        return Files().Rename(from, to) || CopyFileBytes(from, to);
    if (Files().Replace(from, to))
        return true;
    // Another volume: the copy is made whole beside the old file first.
    const std::string scratch = ScratchNameBeside(to);
    if (scratch.empty() || !CopyFileBytes(from, scratch))
        return false;
    if (Files().Replace(scratch, to))
        return true;
    (void)Files().Delete(scratch);
    return false;
}
