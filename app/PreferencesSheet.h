// The preferences sheet: one table of pages in their order, so each page
// joins by adding one row. While the sheet is open, the format pages share
// one working copy of the default audio format.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/PropertySheet.h"

class RecorderLink;

struct SheetContext {
    int defaultAudioFormat = 0;  // the pages' shared choice of DefaultAudioFormat
    // The recorder window, asked for its recording format; may be null.
    const RecorderLink* recorder = nullptr;
};

struct PreferencePageEntry {
    const char* name;
    std::unique_ptr<TPropertyPage> (*make)(SheetContext& context);
};

// Every page in the sheet's order: Start, Wave, MP3, Vorbis, Speex, File,
// Record, PlayBack, Timer, Vox, Driver, Joy, Key (those that exist).
const std::vector<PreferencePageEntry>& PreferencePages();

// The sheet titled title, owned by owner, with a Help button and without
// Apply, holding every page of the table.
std::unique_ptr<TPropertySheet> MakePreferencesSheet(TWindow* owner, const std::string& title,
                                                     SheetContext& context);
