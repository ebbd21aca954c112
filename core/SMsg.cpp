#include "core/SMsg.h"

#include <cstdio>
#include <ctime>

#include "core/AppState.h"
#include "framework/UserInteraction.h"

namespace {

constexpr char kCaption[] = "Larkspur-PRO";
constexpr char kMaximumReached[] = "\r\n\r\nMaximum warnings reported";

// Program-wide log state, GUI thread only.
FILE* logFile = nullptr;
int warningCount = 0;

}  // namespace

SMsg::SMsg(HWND owner) : owner_(owner) {
    CloseLog();
    warningCount = 0;
}

std::string SMsg::TextOf(int stringId) {
    char text[260] = {};
    if (LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(stringId), text, sizeof text) <= 0)
        std::snprintf(text, sizeof text, "Diagnostic: %d", stringId);
    return text;
}

bool SMsg::Error(int stringId, UINT flags) const {
    Ui().MessageBox(MsgOwner(), TextOf(stringId), kCaption, flags);
    return true;
}

bool SMsg::ShowText(const std::string& text, UINT flags) const {
    Ui().MessageBox(MsgOwner(), text, kCaption, flags);
    return true;
}

bool SMsg::Warn(int stringId) const { return Log(TextOf(stringId)); }

bool SMsg::Log(const std::string& text) {
    ++warningCount;
    if (warningCount > kMaxCountedLines) return false;
    if (warningCount == kMaxCountedLines) {
        WriteLog(kMaximumReached);
        return false;
    }
    WriteLog(text.substr(0, 259));
    return true;
}

void SMsg::WriteLog(const std::string& text) {
    if (!AppState.LogPath[0]) return;
    OpenLog();
    if (!logFile) return;
    std::time_t now = std::time(nullptr);
    const char* when = std::ctime(&now);
    std::fprintf(logFile, "%s  %s", text.c_str(), when ? when : "\n");
    std::fflush(logFile);
    CloseLog();
}

int SMsg::WarningCount() { return warningCount; }

void SMsg::OpenLog() {
    if (logFile || !AppState.LogPath[0]) return;
    logFile = std::fopen(AppState.LogPath, "a+");
    if (!logFile) return;
    std::fseek(logFile, 0, SEEK_END);
    // Past the limit the log starts again, so it never grows without bound.
    if (std::ftell(logFile) > kMaxLogBytes) {
        std::fclose(logFile);
        logFile = std::fopen(AppState.LogPath, "w");
    }
}

void SMsg::CloseLog() {
    if (!logFile) return;
    std::fclose(logFile);
    logFile = nullptr;
}
