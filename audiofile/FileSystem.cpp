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
