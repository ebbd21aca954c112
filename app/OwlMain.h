// The program's main function, called by the process entry with the
// argument vector (the program's own path first). Returns the exit code.
#pragma once

int OwlMain(int argc, char* argv[]);

// Builds the application object and runs its message loop; returns the
// loop's result. Defined beside the application object.
int RunApplication();

// /R (properties only) names a file that exists; true without /R.
bool PropertiesRunHasFile();
