#include "audiofile/FileNames.h"

#include <windows.h>

#include <io.h>
#include <sys/stat.h>

#include <cstdio>

namespace {

bool Exists(const std::string& name) {
    return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool EqualsIgnoringCase(const std::string& a, const char* b) {
    return lstrcmpiA(a.c_str(), b) == 0;
}

}  // namespace

int FileTypeFromExtension(const char* name) {
    if (!name)
        return -1;
    const std::optional<std::string> extension = ExtensionPart(name);
    if (!extension)
        return 0;
    struct Known { const char* extension; int type; };
    static const Known kKnown[] = {
        {"mp3", 1}, {"ogg", 3}, {"wmv", 2}, {"asf", 2}, {"wma", 2}, {"oga", 3}, {"spx", 4},
    };
    for (const Known& known : kKnown)
        if (EqualsIgnoringCase(*extension, known.extension))
            return known.type;
    return 0;
}

const char* ExtensionForType(int type) {
    switch (type) {
    case 1: return "mp3";
    case 2: return "wmv";
    case 3: return "ogg";
    case 4: return "spx";
    default: return "wav";
    }
}

std::string FileNamePart(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::optional<std::string> ExtensionPart(const std::string& name) {
    // Only the file name counts: a dot in a directory name is no extension.
    const std::string file = FileNamePart(name);
    const size_t dot = file.rfind('.');
    if (dot == std::string::npos)
        return std::nullopt;
    return file.substr(dot + 1);
}

bool GetTempDirectory(std::string& directory) {
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof buffer, buffer);
    if (length == 0 || length > MAX_PATH)
        return false;
    directory = buffer;
    return true;
}

bool MakeTempFileName(std::string& name) {
    std::string directory;
    if (!GetTempDirectory(directory))
        return false;
    char buffer[MAX_PATH] = {};
    // Unique number 0: the system picks the number and creates the empty file.
    if (GetTempFileNameA(directory.c_str(), "RIF", 0, buffer) == 0)
        return false;
    name = buffer;
    return true;
}

bool MakeUniqueFileName(const char* base, const char* extension, std::string& name,
                        bool temporary, const std::string& directory) {
    const std::string stem = (base && *base) ? base : (temporary ? "~rec" : "rec");
    std::string suffix = (extension && *extension) ? extension : ".tmp";
    if (suffix[0] != '.')
        suffix.insert(0, ".");
    std::string folder = directory;
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    for (int n = 1; n <= 9999; ++n) {
        const std::string candidate = folder + stem + "_" + std::to_string(n) + suffix;
        // A name cut to fit would no longer be the one checked: refuse it.
        if (candidate.size() > kMaxPathChars)
            return false;
        if (!Exists(candidate)) {
            name = candidate;
            return true;
        }
    }
    return false;
}

bool FileExists(const std::string& name) {
    struct _stat64 status;
    return _stat64(name.c_str(), &status) == 0;
}

uint64_t FileSize(const std::string& name) {
    struct _stat64 status;
    if (_stat64(name.c_str(), &status) != 0)
        return 0;
    return static_cast<uint64_t>(status.st_size);
}

bool MakeDirectoryPath(const std::string& path) {
    std::string work = path;
    for (char& c : work)
        if (c == '\\')
            c = '/';
    const size_t last = work.rfind('/');
    if (last == std::string::npos)
        return true;
    work.resize(last + 1);
    for (size_t slash = work.find('/'); slash != std::string::npos; slash = work.find('/', slash + 1)) {
        const std::string prefix = work.substr(0, slash + 1);
        // Leading parts of a share ("//server/") or of a "//?/" path are no
        // folders: they can be neither found nor made, and must not stop the
        // folders after them from being made.
        if (_access(prefix.c_str(), 0) != 0)
            (void)CreateDirectoryA(prefix.c_str(), nullptr);
    }
    const DWORD attributes = GetFileAttributesA(work.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool GetFullPathNameDynamic(std::string& name) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (!kernel)
        return false;
    using FullPathFn = DWORD(WINAPI*)(LPCSTR, DWORD, LPSTR, LPSTR*);
    auto getFullPath = reinterpret_cast<FullPathFn>(GetProcAddress(kernel, "GetFullPathNameA"));
    if (!getFullPath)
        return false;
    char buffer[MAX_PATH] = {};
    const DWORD length = getFullPath(name.c_str(), sizeof buffer, buffer, nullptr);
    if (length == 0 || length >= sizeof buffer)
        return false;
    name = buffer;
    return true;
}

bool IsDirectoryWritable(const std::string& directory) {
    // The probe is made by full name, so the process's current directory
    // (which other code relies on) is never changed.
    const DWORD attributes = GetFileAttributesA(directory.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    std::string probe;
    if (!MakeUniqueFileName("foo", "bar", probe, true, directory))
        return false;
    FILE* file = std::fopen(probe.c_str(), "w+b");
    if (!file)
        return false;
    const bool written = std::fputc('c', file) != EOF && std::fflush(file) == 0;
    std::fclose(file);
    std::remove(probe.c_str());
    return written;
}

std::string FullPath(const std::string& name) {
    if (name.empty())
        return std::string();
    char buffer[MAX_PATH] = {};
    const DWORD length = GetFullPathNameA(name.c_str(), sizeof buffer, buffer, nullptr);
    if (length == 0 || length >= sizeof buffer)
        return name;
    return buffer;
}

bool SamePath(const std::string& a, const std::string& b) {
    return lstrcmpiA(FullPath(a).c_str(), FullPath(b).c_str()) == 0;
}
