// The two format records of the recorder window: FileFormat, the format a
// recording stores (PCM, a codec format, MP3, Vorbis, Speex), and
// CaptureFormat, the PCM the wave devices capture and play. Also the texts
// of the codec and format read-outs, and the file type a name stands for.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>

#include <string>

#include "core/AppState.h"
#include "sound/WaveFormatBuffer.h"

// The codec read-out of a PCM file: "PCM" and four blanks.
extern const char* const kPcmCodecReadout;

// The format read-out: "44kHz 16 bit ST 1411kbps", "8kHz 8 bit Right 64kbps",
// "999Hz ...". recordChannel: -1 left only, 0 both, +1 right only.
std::string FormatReadoutText(const WAVEFORMATEX& format, int recordChannel);

// A codec's format-tag name as the codec read-out shows it ("Lame MP3",
// in any case, is shown as "MP3").
std::string CodecReadoutName(const std::string& tagName);

// The type a file named so is opened as: the last four characters of a name
// longer than four decide (".mp3" 1, ".wav" 0, ".ogg" and ".oga" 3, ".spx"
// 4, case-blind); any other name keeps type.
int FileTypeForOpen(const char* name, int type);
// The file class the factory builds for a name: ".mp3" 1, ".ogg"/".oga" 3,
// ".spx" 4, anything else 0; a null name or one of under four characters
// keeps type.
int FileTypeForFactory(const char* name, int type);

// The PCM format that plays or captures a file of the given format: its
// channels and rate, 16 bits (or the file's own width when it is PCM).
WAVEFORMATEX CaptureFormatFor(const WAVEFORMATEX& fileFormat);

// What opening a new file of a type must try with the codec manager.
enum class NewFileCodecCheck {
    None,          // plain PCM WAV, Vorbis, Speex
    SuggestOnly,   // a compressed WAV: open with a suggested format
    PlainThenSuggest,  // MP3: the stored format first, then a suggested one
};

struct NewFileFormats {
    WaveFormatBuffer fileFormat;
    WAVEFORMATEX captureFormat{};
    NewFileCodecCheck codecCheck = NewFileCodecCheck::None;
    const char* codecReadout = "";  // shown without a codec check; "" = leave
};

// The formats of a new recording of a type from the settings.
NewFileFormats FormatsForNewFile(int fileType, const AppStateValues& settings);
