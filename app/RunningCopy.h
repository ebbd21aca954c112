// Talking to a copy of the program that is already running: finding its
// frame window by class name and handing it switches.
#pragma once

#include <windows.h>

#include <string>

#include "core/CommandLine.h"

struct AppStateRecord;

// How long a send waits for the running copy; a hung copy is given up at once.
constexpr UINT kSendTimeoutMs = 5000;

// The class that /F, /H, /O and /Z address: /J's name, else the product's.
std::string ForwardClassName(const AppStateRecord& state);
// A top-level window of that class, or null.
HWND FindRunningCopy(const std::string& className);

// WM_COPYDATA (first parameter 0) with code and text (cut to 259
// characters, sent with its terminating zero). False when the window did not
// take it within timeoutMs or is hung.
bool SendCopyData(HWND target, ULONG_PTR code, const std::string& text,
                  UINT timeoutMs = kSendTimeoutMs);

// /H, /O, /Z: sends the request. The exit code: 0 when it was delivered,
// 1 when no copy runs or it did not take the message.
int SendRequestToRunningCopy(const CommandLineRequest& request, const AppStateRecord& state);

// /F: when a copy runs, posts /X, then one of /L, /P, /T, then sends /I's
// path, and sets exitCode (0, or 1 when the settings path was not taken).
// False when no copy runs: the program starts normally.
bool ForwardSwitchesToRunningCopy(const AppStateRecord& state, int& exitCode);
