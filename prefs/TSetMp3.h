// The "Mp3" preference page: the format of new MP3 recordings, the ID3v2 tag
// switch and the default file type. For now the class holds the page's
// settings storage; its window parts join it later.
#pragma once

#include <windows.h>
#include <mmreg.h>

#include <string>

class TSetMp3 {
public:
    // Section "Mp3" of the INI file when ini is non-empty, else values under
    // the settings key. Missing values take their defaults.
    static void Load(HKEY key, const std::string& ini);
    static void Save(HKEY key, const std::string& ini);

    // The format of a missing or unusable "Mp3Format": MPEG Layer-3, mono,
    // 16000 samples per second, 32 kbit/s.
    static MPEGLAYER3WAVEFORMAT DefaultFormat();
};
