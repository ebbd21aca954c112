// Storage of the recording-format records of the Wave and MP3 pages: the
// registry keeps the record itself (18 + extra bytes), an INI file the whole
// buffer as hex text.
#pragma once

#include <windows.h>
#include <mmreg.h>

#include <cstddef>

#include "core/AppState.h"
#include "core/SettingsStore.h"

// Reads the format into buffer (bufferSize bytes used, at most
// kMaxFormatSize). A record that is missing, shorter than its own 18 + extra
// size, or larger than the buffer is refused and buffer gets the given
// default instead. Returns true when the stored record was taken.
bool LoadFormatRecord(const SettingsStore& store, const char* name, FormatBuffer& buffer,
                      int bufferSize, const void* defaultFormat, std::size_t defaultSize);

// Writes the record: its 18 + extra bytes to the registry, all bufferSize
// bytes to an INI file. An extra size beyond the buffer is cut to it.
bool SaveFormatRecord(const SettingsStore& store, const char* name, const FormatBuffer& buffer,
                      int bufferSize);
