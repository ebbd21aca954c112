#include "prefs/files/DefaultDirectory.h"

#include <windows.h>

#include "core/ProgramFolders.h"
#include "audiofile/FileNames.h"

namespace {

bool Enter(const std::string& folder) {
    return !folder.empty() && SetCurrentDirectoryA(folder.c_str());
}

bool EnterWritable(const std::string& folder) { return Enter(folder) && IsDirectoryWritable(folder); }

}  // namespace

std::string DiscoverRecordingFolder() {
    std::string shared = CommonAppDataFolder();
    if (!shared.empty()) {
        if (EnterWritable(shared)) return shared;
    } else if ((GetVersion() & 0xFF) < 6) {
        std::string own = ProgramFolder();
        if (EnterWritable(own)) return own;
    }
    std::string temp = TempFolder();
    return Enter(temp) ? temp : std::string();
}

std::string FolderBesideProgram() {
    std::string own = ProgramFolder();
    if (EnterWritable(own)) return own;
    std::string temp = TempFolder();
    return Enter(temp) ? temp : std::string();
}
