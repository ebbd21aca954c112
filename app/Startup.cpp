#include "app/Startup.h"

#include <float.h>

#include "core/AppState.h"
#include "core/CommandLine.h"
#include "app/RunningCopy.h"

bool PrepareProcess(int argc, const char* const argv[], int& exitCode) {
    // The audio code divides by measured levels and rates: a stray division
    // by zero must give infinity, not stop the program.
    _controlfp(_MCW_EM, _MCW_EM);
    // The platform has sized message queues itself since 32-bit Windows; the
    // old request for 20 entries has nothing left to do.
    AppState.Reset();
    // The first-instance test always asks for the product's class, whatever
    // /J names.
    AppState.FirstInstance = FindRunningCopy(kProductWindowClass) == nullptr;

    CommandLineRequest request = ParseCommandLine(argc, argv, AppState);
    if (request.sendNow) {
        exitCode = SendRequestToRunningCopy(request, AppState);
        return true;
    }
    if (AppState.ForwardToRunning && ForwardSwitchesToRunningCopy(AppState, exitCode)) return true;
    return false;
}
