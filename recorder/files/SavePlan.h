// What saving or closing the current recording has to do, decided from a
// snapshot of its state: the decisions of SaveFile and FileCanClose without
// the window, so every combination can be tested.
#pragma once

#include <cstdint>
#include <string>

// The path as the system's long full name (relative parts resolved, 8.3
// names expanded); a file that does not exist yet gets its folder expanded.
std::string LongFullPath(const std::string& path);
// Whether two names are the same file: their long full paths, case-blind,
// or, for files that exist, one file on disk under two names.
bool IsSameFile(const std::string& a, const std::string& b);

// Whether both paths start with a drive letter and the drives differ
// (case-blind: "c:" and "C:" are one drive).
bool OnDifferentDrives(const std::string& a, const std::string& b);

enum class CloseRoute {
    Nothing,            // no file
    Save,               // save it (named, or named automatically)
    AskToSave,          // "Do you want to save?"
    DeleteTemporary,    // an empty temporary file goes without a question
};
CloseRoute PlanFileCanClose(bool hasFile, bool temporary, bool hasData, bool autoName);

struct SaveSituation {
    bool hasFile = false;
    bool temporary = false;
    uint32_t dataLength = 0;
    std::string currentPath;
    std::string newName;  // empty: no new name
    bool close = false;
    bool autoName = false;
    bool autoPrompt = false;
};

enum class SaveRoute {
    Nothing,           // no file
    DiscardEmpty,      // empty file at closing: delete it when temporary, let it go
    UpdateOnly,        // the new name is the file itself: never rename onto it
    MoveTo,            // the file itself takes the new name
    CopyTo,            // a copy takes the new name, the first file stays
    ClaimName,         // a temporary pattern name becomes final
    AskName,           // a temporary file is named in the Save As dialog
    AskCategory,       // ... or after a category
    KeepName,          // a named file keeps its name
};
SaveRoute PlanSave(const SaveSituation& situation);

// The percentage of a copy with copiedBytes of totalBytes done (0 at the
// start, 100 for an empty file).
int CopyPercent(uint64_t copiedBytes, uint64_t totalBytes);
