// Finding a folder for new recordings when the settings name none.
#pragma once

#include <string>

// The first usable of: the common application-data folder's "Larkspur-PRO"
// sub-folder (Windows 6 and later), the program's folder (older Windows),
// the temporary folder. Ends with "\"; empty when none can be entered.
std::string DiscoverRecordingFolder();

// For a settings file: the program's folder when it is writable, else the
// temporary folder. Empty when neither can be entered.
std::string FolderBesideProgram();
