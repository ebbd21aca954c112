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
    // Moves the file onto to in one step, replacing a file of that name:
    // either to holds the old bytes or the new ones, never neither. False
    // when the system refuses (another volume, to held open elsewhere); both
    // files are then as they were.
    virtual bool Replace(const std::string& from, const std::string& to);
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
// Whether two names lead to one file on disk (the same volume and file
// index: a hard link, a second drive mapping, Wine's Z: path to a file on
// C:). False when either does not exist.
bool SameFileOnDisk(const std::string& a, const std::string& b);
// A free name "~N_name" in the folder of path, for a file that will replace it;
// empty when there is none.
std::string ScratchNameBeside(const std::string& path);
// Gives the file at from the name to, replacing a file of that name: the
// system's rename, or where that fails (another volume) a copy beside to
// that then replaces it, after which from stays. A file already at to is
// never gone before the new bytes are whole under its name. The two names
// must be two files. False leaves from in place and to as it was.
bool RenameOrCopy(const std::string& from, const std::string& to);
