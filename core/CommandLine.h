// The walk over the command-line switches (/A to /Z, "/" or "-", any letter
// case, and the file argument). It fills the switch fields of the record and
// reports a switch that must go to the running copy at once.
#pragma once

#include <windows.h>

#include <string>

struct AppStateRecord;

// The product's window-class name: the single-instance key and the address
// of the running copy unless /J names another.
constexpr char kProductWindowClass[] = "Larkspur-PRO";
// Longest text a copy-data message carries (a longer argument is cut).
constexpr std::size_t kMaxCopyDataText = 259;

struct CommandLineRequest {
    bool sendNow = false;  // /H, /O or /Z ended the walk
    ULONG_PTR code = 0;    // its copy-data code
    std::string text;      // its payload, at most kMaxCopyDataText characters
};

// Walks argv[1..argc-1]. /H, /O and /Z end the walk (arguments after them
// are not read). File names (/H, /I, the file argument) become full paths
// here, so the running copy or the profile functions never resolve them
// against another folder. A trailing /H without a name is ignored.
CommandLineRequest ParseCommandLine(int argc, const char* const argv[], AppStateRecord& state);
