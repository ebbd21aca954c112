#include "app/RunningCopy.h"

#include "core/AppState.h"
#include "core/PrivateMessages.h"

std::string ForwardClassName(const AppStateRecord& state) {
    return state.WindowClassName[0] ? state.WindowClassName : kProductWindowClass;
}

HWND FindRunningCopy(const std::string& className) {
    return FindWindowA(className.c_str(), nullptr);
}

bool SendCopyData(HWND target, ULONG_PTR code, const std::string& text, UINT timeoutMs) {
    if (!target) return false;
    char payload[kMaxCopyDataText + 1] = {};
    text.copy(payload, kMaxCopyDataText);
    COPYDATASTRUCT data{};
    data.dwData = code;
    data.cbData = static_cast<DWORD>(std::string(payload).size() + 1);
    data.lpData = payload;
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                               SMTO_ABORTIFHUNG | SMTO_BLOCK, timeoutMs, &result) != 0;
}

int SendRequestToRunningCopy(const CommandLineRequest& request, const AppStateRecord& state) {
    HWND target = FindRunningCopy(ForwardClassName(state));
    if (!target) return 1;
    return SendCopyData(target, request.code, request.text) ? 0 : 1;
}

bool ForwardSwitchesToRunningCopy(const AppStateRecord& state, int& exitCode) {
    HWND target = FindRunningCopy(ForwardClassName(state));
    if (!target) return false;
    if (state.RepositionArg != 0)
        PostMessageA(target, WM_REPOSITION, REMOTE_WPARAM, state.RepositionArg);
    if (state.ListenAtStart)
        PostMessageA(target, WM_STOPTHENRECORD, REMOTE_WPARAM, 0);
    else if (state.PlayAtStart)
        PostMessageA(target, WM_STOPTHENPLAY, REMOTE_WPARAM, 0);
    else if (state.StopAtStart)
        PostMessageA(target, WM_STOPTRANSPORT, REMOTE_WPARAM, 0);
    exitCode = 0;
    if (state.IniPath[0] && !SendCopyData(target, COPYDATA_LOADSETTINGS, state.IniPath))
        exitCode = 1;
    return true;
}
