// Free helpers for file names, temporary and unique names, and directories.
// Paths are ANSI (the mmio and stdio calls take narrow names) and at most
// 259 characters.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

constexpr size_t kMaxPathChars = 259;

// File type code (FileType) from the text after the last '.' of the file name,
// case-blind: mp3 1; ogg, oga 3; wmv, asf, wma 2; spx 4; anything else,
// a name without an extension included, 0. A null name gives -1.
int FileTypeFromExtension(const char* name);
// Extension produced for a type, without the dot: "wav" for codes other than 1-4.
const char* ExtensionForType(int type);

// The text after the last '\' or '/' of a path, or the whole path.
std::string FileNamePart(const std::string& path);
// The text after the last '.' of the file name part; nullopt without a '.'.
std::optional<std::string> ExtensionPart(const std::string& name);

// GetTempPathA.
bool GetTempDirectory(std::string& directory);
// A new empty file "RIFxxxx.tmp" in the temporary directory (GetTempFileNameA).
bool MakeTempFileName(std::string& name);
// directory + base + "_" + N + extension for the first N in 1..9999 that does
// not exist. base defaults to "~rec" (temporary) or "rec"; extension defaults
// to ".tmp" and gets a leading '.'; the directory gets a trailing '\'.
// False when every N is taken or the name would exceed kMaxPathChars.
bool MakeUniqueFileName(const char* base, const char* extension, std::string& name,
                        bool temporary, const std::string& directory);

bool FileExists(const std::string& name);
// Size in bytes; 0 when it cannot be read.
uint64_t FileSize(const std::string& name);
// Creates every directory of the path up to its last '\' or '/'. True when
// that directory exists afterwards.
bool MakeDirectoryPath(const std::string& path);
// Replaces name by its full path (GetFullPathNameA looked up at run time).
bool GetFullPathNameDynamic(std::string& name);
// True when a file can be created and written in the directory; the probe file
// is removed again and the process's current directory is left alone.
bool IsDirectoryWritable(const std::string& directory);
// Full path (GetFullPathNameA); empty for an empty name.
std::string FullPath(const std::string& name);
// Same file: full paths equal, case-blind.
bool SamePath(const std::string& a, const std::string& b);
