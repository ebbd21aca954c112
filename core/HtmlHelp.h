// The HTML Help viewer, reached through a seam so tests see every help call.
// The real viewer is the control "hhctrl.ocx", loaded on first use from the
// path registered for its class id, else by its bare name; its entry point is
// ordinal 14. When it cannot be loaded every call does nothing and returns
// null.
#pragma once

#include <windows.h>

#include <string>

// The commands we use (the viewer's own numbers).
constexpr UINT kHelpDisplayTopic = 0x0000;      // HH_DISPLAY_TOPIC: data = topic text or 0
constexpr UINT kHelpDisplayTextPopup = 0x000E;  // HH_DISPLAY_TEXT_POPUP: data = HH_POPUP*
constexpr UINT kHelpContext = 0x000F;           // HH_HELP_CONTEXT: data = context id

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    // HtmlHelpA(caller, file, command, data).
    virtual HWND Call(HWND caller, const std::string& file, UINT command, DWORD_PTR data) = 0;
};

// The viewer in use; never null (the real one until a test replaces it).
HelpViewer& Help();
// Installs a replacement (tests); null restores the real one. Not owned.
// Returns the one installed before (null: the real one).
HelpViewer* SetHelp(HelpViewer* replacement);

// Where the control is registered: the default value of this key under
// HKEY_CLASSES_ROOT.
constexpr char kHelpControlKey[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
