#include "prefs/formats/TSetVorbis.h"

#include "audiofile/OggVorbisFile.h"
#include "prefs/formats/EncoderStorage.h"
#include "resources/ResourceIds.h"

namespace {

constexpr EncoderPage kPage = {
    "Vorbis",
    {"VorStereo", 0, &AppStateValues::VorStereo},
    {"VorSampleRate", 44100, &AppStateValues::VorSampleRate},
    {"VorQ", 4, &AppStateValues::VorQ},
    {"VorByteRate", 10750, &AppStateValues::VorByteRate},
};

const char* const kRates[] = {"8000", "11025", "16000", "22050", "24000", "32000", "44100", "48000"};

const EncoderPageParams kParams = {
    IDD_SETVORBIS, IDC_VORMONO, IDC_VORSTEREO, IDC_VORRATE, IDC_VORQUALITY, IDC_VORQUALITYTEXT,
    IDC_VORREADOUT, IDC_VORDEFAULT, kRates, sizeof kRates / sizeof kRates[0],
    1, 11,  // quality -1..10 on positions 0..11
    3,      // Ogg Vorbis
    &VorbisBitrateFor, kPage,
};

}  // namespace

TSetVorbis::TSetVorbis(int* defaultType) : EncoderFormatPage(kParams, defaultType) {}

void TSetVorbis::Load(HKEY key, const std::string& ini) { LoadEncoderPage(kPage, key, ini); }

void TSetVorbis::Save(HKEY key, const std::string& ini) { SaveEncoderPage(kPage, key, ini); }
