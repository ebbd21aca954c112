// The free-space test of the re-ordering and the clipboard commands: room
// on the drive of the default recording folder.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

using DiskFreeSpaceExFn = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
using DiskFreeSpaceFn = BOOL(WINAPI*)(LPCSTR, LPDWORD, LPDWORD, LPDWORD, LPDWORD);

// "c:\", or the root of the drive a folder such as "d:\rec" names.
std::string DriveRootOf(const char* folder);

// Whether more than bytes are free on the drive of folder. With
// GetDiskFreeSpaceExA (null when the system lacks it): the volume's total
// free bytes, where 4 GiB or more free is room for anything; otherwise
// legacy's free clusters. A failed query answers true: the operation goes
// on and meets a full disk as a failed write.
bool DiskHasFreeBytes(uint64_t bytes, const char* folder, DiskFreeSpaceExFn freeSpaceEx,
                      DiskFreeSpaceFn legacy = GetDiskFreeSpaceA);
