// The file factory: the audio-file object for a name, by its extension.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <memory>

#include "audiofile/RecFile.h"

// Builds the object for the name (".mp3" MP3, ".ogg"/".oga" Ogg Vorbis,
// ".spx" Speex, anything else WAV; type decides only for a name of under
// four characters) and runs its Open; callers test IsOpen. format null opens
// an existing file; mode is the mmio mode (MMIO_READWRITE, or with
// MMIO_CREATE for a new file).
std::unique_ptr<RecFile> CreateFileObject(const char* name, const WAVEFORMATEX* format,
                                          uint32_t mode, int type);
