// Folders the program keeps its files in. Each result ends with "\", or is
// empty when the folder cannot be found.
#pragma once

#include <string>

// The folder of the running program file.
std::string ProgramFolder();
// The "Larkspur-PRO" sub-folder of the common application-data folder,
// created when missing. Empty before Windows 6, or when the shell cannot
// give it.
std::string CommonAppDataFolder();
// The temporary folder.
std::string TempFolder();
// A folder path with "\" added when it does not end in "\" or "/".
std::string WithTrailingSlash(std::string folder);

// The log file: "Larkspur-PRO.log" in the common application-data folder,
// else "larkspurpro.log" beside the program (the help file's name with
// ".log" for ".chm").
std::string DefaultLogPath();
