// The seam for the two file operations whose failures tests must fake:
// renaming and deleting. Everything else calls mmio and stdio directly.
#pragma once

#include <string>

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Moves the file; false when the system refuses (another volume, target exists).
    virtual bool Rename(const std::string& from, const std::string& to) = 0;
    // Removes the file; false when it still exists afterwards.
    virtual bool Delete(const std::string& name) = 0;
};

// The service in use; never null (the real one until a test replaces it).
FileSystem& Files();
// Installs a replacement (tests); null restores the real one. Not owned.
void SetFiles(FileSystem* replacement);

// Makes an empty file of that name; false when one exists already or none
// can be made. A file made so is then opened for writing without being
// truncated: on Linux (ext4, under Wine) closing a file that was truncated
// at its opening sends all its data to the disk at once, which stalls every
// close of a long recording or edit by a fraction of a second.
bool CreateEmptyFile(const std::string& name);
// Copies every byte of from into a new file to; a partial copy is removed.
bool CopyFileBytes(const std::string& from, const std::string& to);
// Gives the file at from the name to, replacing a file of that name: the
// system's rename, or where that fails (another volume) a copy, after which
// from stays. The two names must differ. False leaves from in place.
bool RenameOrCopy(const std::string& from, const std::string& to);
