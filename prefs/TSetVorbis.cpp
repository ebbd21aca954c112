#include "prefs/TSetVorbis.h"

#include "prefs/EncoderStorage.h"

namespace {
constexpr EncoderPage kPage = {
    "Vorbis",
    {"VorStereo", 0, &AppStateValues::VorStereo},
    {"VorSampleRate", 44100, &AppStateValues::VorSampleRate},
    {"VorQ", 4, &AppStateValues::VorQ},
    {"VorByteRate", 10750, &AppStateValues::VorByteRate},
};
}  // namespace

void TSetVorbis::Load(HKEY key, const std::string& ini) { LoadEncoderPage(kPage, key, ini); }

void TSetVorbis::Save(HKEY key, const std::string& ini) { SaveEncoderPage(kPage, key, ini); }
