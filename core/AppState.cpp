#include "core/AppState.h"

#include <cstdio>

AppStateRecord AppState;

void AppStateRecord::Reset() {
    // Plain values are value-initialised (all zero); the containers are
    // cleared through their own operations, never overwritten as bytes.
    static_cast<AppStateValues&>(*this) = AppStateValues();
    WaveFormatSize = kMaxFormatSize;
    Mp3FormatSize = kMaxFormatSize;
    VoxCommand.clear();
    Events.Clear();
    CodecDriverList.clear();
}

void CopyTextField(char (&field)[kTextFieldSize], const char* text) {
    std::snprintf(field, sizeof field, "%s", text ? text : "");
}
