// The "Vorbis" preference page: the Ogg Vorbis recording format: channels, sample rate and quality.
// For now the class holds the page's settings storage; its window parts join
// it later.
#pragma once

#include <windows.h>

#include <string>

class TSetVorbis {
public:
    // VorStereo, VorSampleRate, VorQ, VorByteRate as decimal text:
    // section "Vorbis" of the INI file when ini is non-empty, else values under
    // the settings key. Missing values take their defaults.
    static void Load(HKEY key, const std::string& ini);
    static void Save(HKEY key, const std::string& ini);
};
