#include "recorder/files/SavePlan.h"

#include <windows.h>

#include <cctype>

#include "audiofile/FileSystem.h"

namespace {

std::string FullName(const std::string& path) {
    char buffer[MAX_PATH] = {};
    const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, buffer, nullptr);
    return (length == 0 || length >= MAX_PATH) ? path : std::string(buffer, length);
}

// GetLongPathNameA of an existing name; false when it does not exist.
bool ExpandLong(const std::string& path, std::string& expanded) {
    char buffer[MAX_PATH] = {};
    const DWORD length = GetLongPathNameA(path.c_str(), buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    expanded.assign(buffer, length);
    return true;
}

bool HasDriveLetter(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

}  // namespace

std::string LongFullPath(const std::string& path) {
    if (path.empty())
        return path;
    const std::string full = FullName(path);
    std::string expanded;
    if (ExpandLong(full, expanded))
        return expanded;
    const size_t cut = full.find_last_of("\\/");
    if (cut != std::string::npos && cut > 0 && ExpandLong(full.substr(0, cut), expanded))
        return expanded + "\\" + full.substr(cut + 1);
    return full;
}

bool IsSameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty())
        return a.empty() && b.empty();
    return lstrcmpiA(LongFullPath(a).c_str(), LongFullPath(b).c_str()) == 0 || SameFileOnDisk(a, b);
}

bool OnDifferentDrives(const std::string& a, const std::string& b) {
    return HasDriveLetter(a) && HasDriveLetter(b) &&
           std::toupper(static_cast<unsigned char>(a[0])) !=
               std::toupper(static_cast<unsigned char>(b[0]));
}

CloseRoute PlanFileCanClose(bool hasFile, bool temporary, bool hasData, bool autoName) {
    if (!hasFile)
        return CloseRoute::Nothing;
    if (!temporary)
        return CloseRoute::Save;
    if (!hasData)
        return CloseRoute::DeleteTemporary;
    return autoName ? CloseRoute::Save : CloseRoute::AskToSave;
}

SaveRoute PlanSave(const SaveSituation& s) {
    if (!s.hasFile)
        return SaveRoute::Nothing;
    const bool named = !s.newName.empty();
    if (s.dataLength == 0 && !named && s.close)
        return SaveRoute::DiscardEmpty;
    if (named) {
        if (IsSameFile(s.newName, s.currentPath))
            return SaveRoute::UpdateOnly;
        // Compared on full names: a relative name lies on the current drive.
        const bool otherDrive = OnDifferentDrives(FullName(s.currentPath), FullName(s.newName));
        return (s.temporary || otherDrive) ? SaveRoute::MoveTo : SaveRoute::CopyTo;
    }
    if (!s.temporary)
        return SaveRoute::KeepName;
    if (!s.autoName)
        return SaveRoute::AskName;
    return s.autoPrompt ? SaveRoute::AskCategory : SaveRoute::ClaimName;
}

int CopyPercent(uint64_t copiedBytes, uint64_t totalBytes) {
    if (totalBytes == 0 || copiedBytes >= totalBytes)
        return 100;
    return static_cast<int>(copiedBytes * 100 / totalBytes);
}
