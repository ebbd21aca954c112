// Names of new recordings: a temporary "~rec" name, "rec", or a name made
// from the user's naming pattern (strftime date codes plus an optional
// numbering conversion such as %03d), made unique with an instance number.
//
// The checked strftime wrapper and the numbering guard here are the only
// places where user text (patterns, folders, categories, event names) meets
// a C formatting routine: every other part of the program that expands a
// naming pattern (the File page preview, the pattern dialog, the scheduler)
// calls ExpandTimePattern instead of strftime.
#pragma once

#include <ctime>
#include <functional>
#include <string>

// The time patterns (ExpandTimePattern, NamingClock) live with the
// application core, so the preference pages use the same checked wrapper.
#include "core/TimePattern.h"

// ---- the numbering conversion ----

// Where a name holds its one numbering conversion: '%', flags "-+ 0#",
// a width and a precision of at most two digits each, then d, i or u.
// Every other '%' of a name is plain text.
struct NumberingSlot {
    size_t start = 0;   // index of the '%'
    size_t length = 0;  // characters of the conversion
};

// True when the text holds exactly one numbering conversion (several, or
// none, mean the text is used as it stands).
bool FindNumberingSlot(const std::string& text, NumberingSlot& slot);
// The text with the conversion at slot replaced by number.
std::string FillNumberingSlot(const std::string& text, const NumberingSlot& slot, int number);

// ---- making a name ----

struct NamingSettings {
    std::string defaultDirectory;
    bool autoName = false;    // names come from the pattern
    bool autoPrompt = false;  // ... unless a category is asked for instead
    int lhMode = 0;           // bit 0: plain name first, instance number only when taken
};
NamingSettings NamingSettingsFromAppState();

// ".mp3" (1), ".ogg" (3), ".spx" (4), else ".wav".
const char* NewFileExtension(int fileType);

// The base of a new name: "~rec" for temporary names, "rec" for none, the
// pattern expanded with the clock's time when names come from the pattern or
// the base holds '%' ("rec" when that expansion is empty), else the base.
std::string NameBase(const char* base, bool temporary, const NamingSettings& settings);

// The extension with a leading '.'; ".wav" for null or empty.
std::string NormalizedExtension(const char* extension);

// directory + base + extension made unique: first the numbering conversion
// of base (1..999), then, with plainFirst, the name without a number, then
// "_1" .. "_9999" (the last is returned when all are taken). The directory
// is used as text only: a '%' in it is never a conversion.
using ExistsTest = std::function<bool(const std::string& path)>;
std::string PickUniqueName(const std::string& directory, const std::string& base,
                           const std::string& extension, bool plainFirst,
                           const ExistsTest& exists);

// Whether a file or folder of that name exists.
bool PathExists(const std::string& path);

enum class DirectoryState { Usable, Missing, WriteProtected };
// Makes the folder the process's current directory and tests writing in it.
DirectoryState CheckDirectory(const std::string& directory);
// The text shown to the user for a state; empty for Usable.
const char* DirectoryStateText(DirectoryState state);

// The folder a new file goes to when the default one cannot take it: the
// system's temporary folder, else the program's folder; made the current
// directory. Ends with '\'.
std::string FallbackDirectory();

// The whole naming of a new file, with defaultUsable the outcome of the
// default-directory check. Cut to 259 characters.
std::string ComposeFileName(const char* base, bool temporary, const char* extension,
                            const NamingSettings& settings, bool defaultUsable);
