// The "Wave" preference page: the format of new WAV recordings. For now the
// class holds the page's settings storage; its window parts join it later.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>

#include <string>

class TSetWave {
public:
    // Section "Wave" of the INI file when ini is non-empty, else values
    // under the settings key. Missing values take their defaults.
    static void Load(HKEY key, const std::string& ini);
    static void Save(HKEY key, const std::string& ini);

    // The format of a missing or unusable "WaveFormat": PCM, mono, 8000
    // samples per second, 8 bits.
    static WAVEFORMATEX DefaultFormat();
};
