#include "prefs/TSetSpeex.h"

#include "prefs/EncoderStorage.h"

namespace {
constexpr EncoderPage kPage = {
    "Speex",
    {"SpxStereo", 0, &AppStateValues::SpxStereo},
    {"SpxSampleRate", 8000, &AppStateValues::SpxSampleRate},
    {"SpxQ", 4, &AppStateValues::SpxQ},
    {"SpxByteRate", 2000, &AppStateValues::SpxByteRate},
};
}  // namespace

void TSetSpeex::Load(HKEY key, const std::string& ini) { LoadEncoderPage(kPage, key, ini); }

void TSetSpeex::Save(HKEY key, const std::string& ini) { SaveEncoderPage(kPage, key, ini); }
