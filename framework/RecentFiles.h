// TRecentFiles: the recent-files list, a mix-in of the application object.
// It keeps up to maxFiles paths (newest first), inserts them as menu items
// before a marker command whenever the menu holding the marker opens, and
// when one is chosen posts the registered message "MRUFILEMESSAGE" to the
// main window, with the entry's command id as first parameter; the frame
// hands it to the application, which asks GetMenuText for the path.
// The list is stored in the subkey "Recent Files" of a settings key under
// HKEY_CURRENT_USER, or in the section "Recent Files" of an INI file.
//
// Chain it in the application's Dispatch: ... || DispatchRecentFiles(m) || ...
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/MessageTable.h"

class TRecentFiles {
public:
    static constexpr UINT kFirstCommand = 32700;  // entries use kFirstCommand .. + maxFiles - 1
    static constexpr int kMostFiles = 9;
    static constexpr const char* kMessageName = "MRUFILEMESSAGE";

    // useRegistry: store under HKCU\<settings key>\Recent Files, else in the INI file iniName.
    TRecentFiles(const std::string& iniName, int maxFiles = 6, int maxTextLength = 40, bool useRegistry = false);
    virtual ~TRecentFiles() = default;

    // The settings key (e.g. "Software\\Maker\\Program"); reloads the list.
    void SetRegistryKey(const std::string& key);
    // The entries go before the menu item with this command id.
    void SetMarkerCommand(UINT id) { markerCommand_ = id; }

    // Puts path at the top (moving it when listed) and stores the list.
    void SaveMenuChoice(const std::string& path);
    void RemoveMenuChoice(const std::string& path);
    // The path of the entry with this command id; false when there is none.
    bool GetMenuText(UINT commandId, std::string& path) const;
    const std::vector<std::string>& Entries() const { return entries_; }
    static UINT MessageId();

    // Its part of the application's message search.
    bool DispatchRecentFiles(Message& m);

private:
    void Load();
    // Drops path (compared case-blind) from the list.
    void Forget(const std::string& path);
    void Store() const;
    void UpdateMenu(HMENU menu) const;
    std::string MenuText(size_t index) const;

    std::string iniName_;
    std::string registryKey_;
    int maxFiles_;
    int maxTextLength_;
    bool useRegistry_;
    UINT markerCommand_ = 0;
    std::vector<std::string> entries_;
};
