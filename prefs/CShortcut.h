// CShortcut: shell link files (".lnk") to a program, in the desktop folder,
// the Quick Launch folder or any shell special folder. Nothing here shows a
// window: deleting asks no question and resolving searches no drive.
#pragma once

#include <windows.h>

#include <string>

class CShortcut {
public:
    // Folder codes: the desktop, Quick Launch (a folder under the user's
    // application data), or any other CSIDL_ value.
    static constexpr int kDesktop = 0;
    static constexpr int kQuickLaunch = 0x999;
    // The target that stands for the running program's own file.
    static constexpr char kThisProgram[] = "_this";

    // COM is set up for the thread for the object's lifetime.
    CShortcut();
    ~CShortcut();
    CShortcut(const CShortcut&) = delete;
    CShortcut& operator=(const CShortcut&) = delete;

    // Writes folder + linkName + ".lnk" pointing at target; description and
    // iconFile may be empty (the link then has none of its own).
    bool CreateLink(const std::string& target, const std::string& linkName, int folder,
                    const std::string& description = std::string(), const std::string& iconFile = std::string(),
                    int iconIndex = 0);
    // Deletes folder + linkName + ".lnk"; true when it is gone.
    bool DeleteLink(const std::string& linkName, int folder);
    // 0 when the link exists and resolves; otherwise a failure code.
    long FindLink(const std::string& linkName, int folder);
    // The folder's path, ending in a backslash; false when it cannot be found.
    bool GetFolderPath(int folder, std::string& path);

    // Tests: every folder code resolves to a subfolder of root (made when
    // needed) instead of the user's real folders. Empty: the real folders.
    static void RedirectFolders(const std::string& root);

private:
    std::string LinkPath(const std::string& linkName, int folder);
    bool comReady_ = false;
};
