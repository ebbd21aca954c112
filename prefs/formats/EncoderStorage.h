// Settings of the Vorbis and Speex pages: four numbers each, kept as decimal
// text. Older versions wrote them as raw registry binaries that could not be
// read back as text; such values are still taken when no text is there.
#pragma once

#include <windows.h>

#include <string>

#include "core/AppState.h"

// One encoder page: its section, and for each of its four numbers the key,
// the default and the field of the settings record.
struct EncoderPage {
    struct Number {
        const char* key;
        int defaultValue;
        int AppStateValues::*field;
    };
    const char* section;
    Number stereo;  // loads as 0 or 1
    Number sampleRate;
    Number quality;
    Number byteRate;
};

// The INI file's section when ini is non-empty, else values under the key.
void LoadEncoderPage(const EncoderPage& page, HKEY key, const std::string& ini);
void SaveEncoderPage(const EncoderPage& page, HKEY key, const std::string& ini);
