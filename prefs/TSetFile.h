// The "File" preference page: where recordings go, how they are named and
// how large they may grow. For now the class holds the page's settings
// storage; its window parts join it later.
#pragma once

#include <windows.h>

#include <string>

class TSetFile {
public:
    // Section "File" of the INI file when ini is non-empty, else values under
    // the settings key. Loading also finds a usable default directory when
    // none is stored (and makes it the current directory), and builds the
    // naming pattern from the settings of older versions when none is stored.
    static void Load(HKEY key, const std::string& ini);
    static void Save(HKEY key, const std::string& ini);

    // The date pattern that older versions appended for "DateFormat" 1..10;
    // empty for any other value.
    static const char* DatePattern(long dateFormat);
};
