// Steps of the recorder window's file handling shared by its files
// (TAppDialogFiles.cpp, TAppDialogSave.cpp, TAppDialogCopy.cpp, and the
// clipboard's and the editing's file dialogs).
#pragma once

#include <cstdint>
#include <string>

#include "recorder/files/AudioFileCopy.h"

class RecFile;
class TAppDialog;

// Message 3159 (the file cannot be opened) for the path.
std::string CantOpenFileText(const std::string& path);
// Adds a final (not temporary) file to the application's recent-files list.
void RememberRecentFile(const RecFile& file);
// The copy of Save As: the new file becomes current, the first one stays.
// A file already under the new name is replaced only by the finished copy.
// A copy that does not finish reopens the first file at position.
bool SaveCopy(TAppDialog& window, const std::string& target, uint32_t position,
              const CopyProgress& progress);
// The file dialog's filter and default extension for audio of a file type.
const char* PasteFilterFor(int type);
const char* PasteExtensionFor(int type);
