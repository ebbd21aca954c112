#include "core/HtmlHelp.h"

namespace {

using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

// The path registered for the viewer control, or empty.
std::string RegisteredControlPath() {
    char path[MAX_PATH] = {};
    LONG size = sizeof path;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, kHelpControlKey, path, &size) != ERROR_SUCCESS) return {};
    path[sizeof path - 1] = '\0';
    // Newer systems register it as "%SystemRoot%\System32\hhctrl.ocx".
    char expanded[MAX_PATH] = {};
    const DWORD length = ExpandEnvironmentStringsA(path, expanded, sizeof expanded);
    return length > 0 && length <= sizeof expanded ? std::string(expanded) : std::string(path);
}

class RealHelpViewer : public HelpViewer {
public:
    HWND Call(HWND caller, const std::string& file, UINT command, DWORD_PTR data) override {
        HtmlHelpFn entry = Entry();
        return entry ? entry(caller, file.c_str(), command, data) : nullptr;
    }

private:
    // Loaded once and kept for the life of the process: the viewer keeps
    // its windows and threads until the process ends.
    HtmlHelpFn Entry() {
        if (tried_) return entry_;
        tried_ = true;
        const std::string registered = RegisteredControlPath();
        HMODULE module = registered.empty() ? nullptr : LoadLibraryA(registered.c_str());
        if (!module) module = LoadLibraryA("hhctrl.ocx");
        if (!module) return nullptr;
        entry_ = reinterpret_cast<HtmlHelpFn>(GetProcAddress(module, MAKEINTRESOURCEA(14)));
        return entry_;
    }

    bool tried_ = false;
    HtmlHelpFn entry_ = nullptr;
};

RealHelpViewer realViewer;
HelpViewer* current = nullptr;

}  // namespace

HelpViewer& Help() { return current ? *current : realViewer; }

HelpViewer* SetHelp(HelpViewer* replacement) {
    HelpViewer* previous = current;
    current = replacement;
    return previous;
}
