// Process entry: hands the argument vector to the program's main function.
#include <windows.h>

#include <cstdlib>

#include "app/OwlMain.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return OwlMain(__argc, __argv); }
