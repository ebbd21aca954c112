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
FileSystem* current = &realFiles;

}  // namespace

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

bool RenameOrCopy(const std::string& from, const std::string& to) {
    if (GetFileAttributesA(to.c_str()) != INVALID_FILE_ATTRIBUTES && !Files().Delete(to))
        return false;
    return Files().Rename(from, to) || CopyFileBytes(from, to);
}
