#include "core/CommandLine.h"

#include <cctype>
#include <cstdlib>

#include "core/AppState.h"
#include "core/PrivateMessages.h"
#include "audiofile/FileNames.h"

namespace {

bool TakesValue(char letter, const AppStateRecord& state) {
    switch (letter) {
    case 'A': case 'C': case 'E': case 'H': case 'I': case 'J':
    case 'K': case 'N': case 'O': case 'Q': case 'X': case 'Z':
        return true;
    case 'W':  // only until a file argument has been seen
        return state.CommandLineFile[0] == 0;
    default:
        return false;
    }
}

void ApplyFlag(char letter, AppStateRecord& state) {
    switch (letter) {
    case 'D': state.NoCodecs = true; break;
    case 'F': state.ForwardToRunning = true; break;
    case 'L': state.ListenAtStart = true; break;
    case 'M': state.MinimizeAtStart = true; break;
    case 'P': state.PlayAtStart = true; break;
    case 'R': state.PropertiesOnly = true; break;
    case 'S': state.ForceFormatSuggest = true; break;
    case 'T': state.StopAtStart = true; break;
    default: break;  // B, G, U, V, Y and unknown letters: no effect
    }
}

int ChannelOf(const std::string& value) {
    char first = value.empty() ? 0 : static_cast<char>(std::toupper(static_cast<unsigned char>(value[0])));
    return first == 'L' ? -1 : first == 'R' ? 1 : 0;
}

long DecimalOf(const std::string& value) { return std::strtol(value.c_str(), nullptr, 10); }

void ApplyValue(char letter, const std::string& value, AppStateRecord& state) {
    switch (letter) {
    case 'A': state.VoxCommand = value; break;
    case 'C': state.RecordChannel = ChannelOf(value); break;
    case 'E': CopyTextField(state.SaveCommand, value.c_str()); break;
    case 'I': CopyTextField(state.IniPath, value.empty() ? "" : FullPath(value).c_str()); break;
    case 'J': CopyTextField(state.WindowClassName, value.c_str()); break;
    case 'N':
        state.NotifyWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(value.c_str(), nullptr, 16)));
        break;
    case 'Q': state.UnalignedPositions = static_cast<int>(DecimalOf(value)); break;
    case 'W': CopyTextField(state.WaveInDriverOverride, value.c_str()); break;
    case 'X': state.RepositionArg = static_cast<int>(DecimalOf(value)); break;
    default: break;  // K: the value is skipped
    }
}

// /H, /O and /Z: what to send at once; false for a /H without a name.
bool ImmediateRequest(char letter, const std::string& value, CommandLineRequest& request) {
    if (letter == 'H' && value.empty()) return false;
    request.sendNow = true;
    request.code = letter == 'H' ? COPYDATA_OPENFILE
                 : letter == 'Z' ? COPYDATA_GOTOCOMMENT : COPYDATA_ADDCOMMENT;
    request.text = (letter == 'H' ? FullPath(value) : value).substr(0, kMaxCopyDataText);
    return true;
}

void TakeFileArgument(const char* argument, AppStateRecord& state) {
    if (state.CommandLineFile[0]) return;  // later file arguments are ignored
    CopyTextField(state.CommandLineFile, FullPath(argument).c_str());
}

}  // namespace

CommandLineRequest ParseCommandLine(int argc, const char* const argv[], AppStateRecord& state) {
    CommandLineRequest request;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i] ? argv[i] : "";
        if (argument[0] != '/' && argument[0] != '-') {
            if (argument[0]) TakeFileArgument(argument, state);
            continue;
        }
        unsigned char raw = static_cast<unsigned char>(argument[1]);
        if (!std::isalpha(raw)) continue;
        char letter = static_cast<char>(std::toupper(raw));
        if (!TakesValue(letter, state)) {
            ApplyFlag(letter, state);
            continue;
        }
        std::string value = i + 1 < argc && argv[i + 1] ? argv[i + 1] : "";
        ++i;
        if (letter == 'H' || letter == 'O' || letter == 'Z') {
            if (ImmediateRequest(letter, value, request)) return request;
            continue;
        }
        ApplyValue(letter, value, state);
    }
    return request;
}
