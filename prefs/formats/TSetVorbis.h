// The "Vorbis" preference page (dialog 3860): the Ogg Vorbis recording
// format: channels, sample rate and quality (-1 to 10), the data rate these
// give, and the box that makes Ogg Vorbis the default file type.
#pragma once

#include <windows.h>

#include <string>

#include "prefs/formats/EncoderFormatPage.h"

class TSetVorbis : public EncoderFormatPage {
public:
    // defaultType: the sheet's shared default file type (may be null).
    explicit TSetVorbis(int* defaultType = nullptr);

    // VorStereo, VorSampleRate, VorQ, VorByteRate as decimal text:
    // section "Vorbis" of the INI file when ini is non-empty, else values under
    // the settings key. Missing values take their defaults.
    static void Load(HKEY key, const std::string& ini);
    static void Save(HKEY key, const std::string& ini);
};
