// The texts of the recorder window's read-outs, as plain functions of the
// values they show.
#pragma once

#include <cstdint>
#include <string>

// "  m:ss", or "  h:mm:ss" from one hour on.
std::string ElapsedText(uint64_t seconds);

// The clock time of a time code (seconds since 1970, plus offsetHours) in
// the ctime form with its line break; the elapsed time when the clock time
// cannot be shown (out of the calendar's range).
std::string ClockTimeText(int64_t timeCode, int offsetHours, uint64_t elapsedSeconds);

// "2 of 3": index counts from 0, -1 before the first segment.
std::string SegmentText(int index, int count);

// "0.500MB", "10.00MB", "150MB", followed by the length when withLength.
std::string SizeText(uint64_t bytes, bool withLength, uint64_t seconds);

// ">1GB free on d:" or "500MB free on d:", and "  0.5MB to file limit" /
// "  200MB to file limit" when withLimit.
std::string DiskSpaceText(double freeMb, const std::string& drive, bool withLimit, double restMb);

// The directory a file lies in, with its trailing backslash (the folder
// whose volume holds it); empty for a path without a directory.
std::string DirectoryOf(const std::string& path);
// How the read-out names the volume of a path: "d:" for a drive letter,
// "\\server\share" for a network path, empty when it has neither.
std::string VolumeLabel(const std::string& path);

// Below this much free space the transport is stopped.
constexpr double kDiskNearlyFullMb = 0.2;
