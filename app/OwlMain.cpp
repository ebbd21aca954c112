#include "app/OwlMain.h"

#include "app/Startup.h"

int OwlMain(int argc, char* argv[]) {
    int exitCode = 0;
    if (PrepareProcess(argc, argv, exitCode)) return exitCode;
    // Nothing may unwind out of the program's main function: an exception
    // from the application's construction or loop ends the process with the
    // result obtained so far.
    try {
        exitCode = RunApplication();
    } catch (...) {
    }
    return exitCode;
}
