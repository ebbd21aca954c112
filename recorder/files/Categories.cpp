#include "recorder/files/Categories.h"

#include <windows.h>

#include <cstring>

namespace {

bool IsDeviceName(const std::string& name) {
    // The system opens these as devices in any folder, whatever follows a '.'.
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : kDevices)
        if (lstrcmpiA(stem.c_str(), device) == 0)
            return true;
    if (stem.size() == 4 && stem[3] >= '1' && stem[3] <= '9') {
        const std::string prefix = stem.substr(0, 3);
        return lstrcmpiA(prefix.c_str(), "COM") == 0 || lstrcmpiA(prefix.c_str(), "LPT") == 0;
    }
    return false;
}

bool EndsWithMarkerExtension(const std::string& name) {
    // "*.CAT" also matches longer extensions through their short names.
    return name.size() > 4 && lstrcmpiA(name.c_str() + name.size() - 4, ".CAT") == 0;
}

bool IsPlainFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool IsValidCategoryName(const std::string& name) {
    if (name.empty() || name.size() > kMaxCategoryChars || name[0] == '.')
        return false;
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 32 || std::strchr("\\/:*?\"<>|", c))
            return false;
    }
    return !IsDeviceName(name);
}

std::string CategoryMarkerPath(const std::string& directory, const std::string& name) {
    std::string path = directory;
    if (!path.empty() && path.back() != '\\')
        path += '\\';
    return path + name + ".CAT";
}

std::vector<std::string> ListCategories(const std::string& directory) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(CategoryMarkerPath(directory, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string file = found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && EndsWithMarkerExtension(file))
            names.push_back(file.substr(0, file.find('.')));
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

CategoryOutcome EnsureCategory(const std::string& directory, const std::string& name) {
    if (!IsValidCategoryName(name))
        return CategoryOutcome::InvalidName;
    const std::string path = CategoryMarkerPath(directory, name);
    if (IsPlainFile(path))
        return CategoryOutcome::Existing;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return CategoryOutcome::CannotCreate;
    CloseHandle(file);
    return CategoryOutcome::Created;
}

DeleteOutcome DeleteCategory(const std::string& directory, const std::string& name) {
    if (!IsValidCategoryName(name))
        return DeleteOutcome::NoSuchCategory;
    const std::string path = CategoryMarkerPath(directory, name);
    if (!IsPlainFile(path))
        return DeleteOutcome::NoSuchCategory;
    return DeleteFileA(path.c_str()) ? DeleteOutcome::Deleted : DeleteOutcome::CannotDelete;
}
