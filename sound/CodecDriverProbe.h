// The codec drivers the program may use for MP3, found once and kept in
// AppState::CodecDriverList, which the format pages and the recorder's
// conversion stream read.
#pragma once

#include <vector>

#include "core/AppState.h"
#include "sound/AcmServices.h"

// Every codec driver that offers MPEG Layer-3, in the manager's order. A
// driver whose details cannot be read or that cannot be opened is skipped.
std::vector<CodecDriverRecord> ProbeCodecDrivers(AcmServices& acm = Acm());
