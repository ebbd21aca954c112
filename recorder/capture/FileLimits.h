// The size or duration limit of a recording file, computed in 64 bits (the
// File page allows 9999 MB and 9999 minutes), and the ceiling below which
// every file is kept whatever the limit: the 32-bit positions of the file
// classes, and the 2 GiB of a WAV file.
#pragma once

#include <cstdint>

struct AppStateValues;

struct FileLimitSettings {
    int action = 0;        // 0 none, 1 loop, 2 stop, 3 new file
    int sizeSel = 0;       // 0 size limit, 1 duration limit
    int sizeMb = 0;
    int durationMinutes = 0;

    static FileLimitSettings From(const AppStateValues& state);
};

// How far the file has come: data in the file's own unit (bytes; sample
// frames for Ogg files) and seconds. While a looping file overwrites its
// start, both are measured at the write position, not the data length.
struct FileProgress {
    uint64_t units = 0;
    uint64_t seconds = 0;
};

enum class LimitHit {
    None,
    UserLimit,  // the limit of the File page: its action applies
    Ceiling,    // the file cannot grow much further: start a new file
};

// Data units a file of that type may hold before a new file is started.
uint64_t FileCeilingUnits(int fileType);

// The user's limit first (only with an action), then the ceiling.
LimitHit CheckFileLimit(const FileLimitSettings& limits, const FileProgress& progress,
                        uint64_t ceilingUnits);

// Megabytes left to the limit for the disk-space read-out; false when no
// limit applies. The duration limit counts bytes at the format's byte rate
// and is never below 0.
bool MegabytesToLimit(const FileLimitSettings& limits, double usedMb, uint32_t avgBytesPerSec,
                      double& restMb);
