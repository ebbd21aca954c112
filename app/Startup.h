// The process's first steps, before any window exists: floating-point
// exceptions masked, the record reset, the running copy found, the switches
// read and, where they address the running copy, handed to it.
#pragma once

// True when the process is done (a request went to the running copy, or
// could not); exitCode then holds the process exit code. False when the
// application is to be built and run.
bool PrepareProcess(int argc, const char* const argv[], int& exitCode);
