#include "framework/RecentFiles.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/FrameWindow.h"
#include "framework/Owned.h"

namespace {
const char kSection[] = "Recent Files";
// Our separator between the entries and the marker, found again by its id.
constexpr UINT kSeparatorId = TRecentFiles::kFirstCommand + TRecentFiles::kMostFiles;

std::string ValueName(size_t index) { return "File" + std::to_string(index + 1); }
}  // namespace

TRecentFiles::TRecentFiles(const std::string& iniName, int maxFiles, int maxTextLength, bool useRegistry)
    : iniName_(iniName), maxFiles_(std::clamp(maxFiles, 1, kMostFiles)), maxTextLength_(maxTextLength),
      useRegistry_(useRegistry) {
    if (useRegistry_) {
        const size_t dot = iniName.rfind('.');
        registryKey_ = "Software\\" + iniName.substr(0, dot);
    }
    Load();
}

void TRecentFiles::SetRegistryKey(const std::string& key) {
    registryKey_ = key;
    Load();
}

UINT TRecentFiles::MessageId() { return RegisteredMessageId(kMessageName); }

void TRecentFiles::Load() {
    entries_.clear();
    OwnedRegKey key;
    if (useRegistry_) {
        HKEY opened = nullptr;
        const std::string path = registryKey_ + "\\" + kSection;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return;
        key.reset(opened);
    }
    for (int i = 0; i < maxFiles_; ++i) {
        char path[MAX_PATH] = {};
        const std::string name = ValueName(static_cast<size_t>(i));
        if (useRegistry_) {
            DWORD type = 0;
            DWORD size = sizeof path - 1;
            if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(path), &size) !=
                    ERROR_SUCCESS ||
                type != REG_SZ) {
                continue;
            }
        } else {
            GetPrivateProfileStringA(kSection, name.c_str(), "", path, sizeof path, iniName_.c_str());
        }
        if (path[0]) entries_.push_back(path);
    }
}

void TRecentFiles::Store() const {
    OwnedRegKey key;
    if (useRegistry_) {
        HKEY created = nullptr;
        const std::string path = registryKey_ + "\\" + kSection;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &created,
                            nullptr) != ERROR_SUCCESS) {
            return;
        }
        key.reset(created);
    }
    for (size_t i = 0; i < static_cast<size_t>(maxFiles_); ++i) {
        const std::string name = ValueName(i);
        const bool present = i < entries_.size();
        if (useRegistry_) {
            if (present) {
                RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(entries_[i].c_str()),
                               static_cast<DWORD>(entries_[i].size() + 1));
            } else {
                RegDeleteValueA(key.get(), name.c_str());
            }
        } else {
            WritePrivateProfileStringA(kSection, name.c_str(), present ? entries_[i].c_str() : nullptr,
                                       iniName_.c_str());
        }
    }
}

void TRecentFiles::Forget(const std::string& path) {
    auto same = [&](const std::string& entry) { return lstrcmpiA(entry.c_str(), path.c_str()) == 0; };
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(), same), entries_.end());
}

void TRecentFiles::SaveMenuChoice(const std::string& path) {
    if (path.empty()) return;
    Forget(path);
    entries_.insert(entries_.begin(), path);
    if (entries_.size() > static_cast<size_t>(maxFiles_)) entries_.resize(static_cast<size_t>(maxFiles_));
    Store();
}

void TRecentFiles::RemoveMenuChoice(const std::string& path) {
    Forget(path);
    Store();
}

bool TRecentFiles::GetMenuText(UINT commandId, std::string& path) const {
    if (commandId < kFirstCommand) return false;
    const size_t index = commandId - kFirstCommand;
    if (index >= entries_.size()) return false;
    path = entries_[index];
    return true;
}

std::string TRecentFiles::MenuText(size_t index) const {
    std::string path = entries_[index];
    const size_t limit = static_cast<size_t>(std::max(maxTextLength_, 8));
    if (path.size() > limit) path = "..." + path.substr(path.size() - (limit - 3));
    // Doubled ampersands show as one; the number is the mnemonic.
    std::string text = "&" + std::to_string(index + 1) + " ";
    for (char c : path) text += (c == '&') ? std::string("&&") : std::string(1, c);
    return text;
}

void TRecentFiles::UpdateMenu(HMENU menu) const {
    for (int i = 0; i <= kMostFiles; ++i) DeleteMenu(menu, kFirstCommand + static_cast<UINT>(i), MF_BYCOMMAND);
    if (entries_.empty()) return;
    for (size_t i = 0; i < entries_.size(); ++i) {
        InsertMenuA(menu, markerCommand_, MF_BYCOMMAND | MF_STRING, kFirstCommand + i, MenuText(i).c_str());
    }
    InsertMenuA(menu, markerCommand_, MF_BYCOMMAND | MF_SEPARATOR, kSeparatorId, nullptr);
}

bool TRecentFiles::DispatchRecentFiles(Message& m) {
    if (m.enabler) {
        // The marker's pop-up is opening: refresh the entries, and let the
        // marker's own enabler (if any) answer for it.
        if (markerCommand_ && m.enabler->Id() == markerCommand_ && m.enabler->Menu()) {
            UpdateMenu(m.enabler->Menu());
        }
        return false;
    }
    if (m.msg != WM_COMMAND || m.lParam != 0) return false;
    const UINT id = LOWORD(m.wParam);
    if (id < kFirstCommand || id >= kFirstCommand + entries_.size()) return false;
    if (m.probe) return true;
    TApplication* app = GetApplication();
    TFrameWindow* main = app ? app->GetMainWindow() : nullptr;
    if (main) main->PostMessage(MessageId(), id, 0);
    return true;
}
