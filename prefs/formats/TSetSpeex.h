// The "Speex" preference page (dialog 3660): the Speex recording format:
// channels, sample rate and quality (0 to 10), the data rate these give, and
// the box that makes Speex the default file type.
#pragma once

#include <windows.h>

#include <string>

#include "prefs/formats/EncoderFormatPage.h"

class TSetSpeex : public EncoderFormatPage {
public:
    // defaultType: the sheet's shared default file type (may be null).
    explicit TSetSpeex(int* defaultType = nullptr);

    // SpxStereo, SpxSampleRate, SpxQ, SpxByteRate as decimal text:
    // section "Speex" of the INI file when ini is non-empty, else values under
    // the settings key. Missing values take their defaults.
    static void Load(HKEY key, const std::string& ini);
    static void Save(HKEY key, const std::string& ini);
};
