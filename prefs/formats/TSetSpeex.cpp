#include "prefs/formats/TSetSpeex.h"

#include "audiofile/SpeexFile.h"
#include "prefs/formats/EncoderStorage.h"
#include "resources/ResourceIds.h"

namespace {

constexpr EncoderPage kPage = {
    "Speex",
    {"SpxStereo", 0, &AppStateValues::SpxStereo},
    {"SpxSampleRate", 8000, &AppStateValues::SpxSampleRate},
    {"SpxQ", 4, &AppStateValues::SpxQ},
    {"SpxByteRate", 2000, &AppStateValues::SpxByteRate},
};

const char* const kRates[] = {"8000", "16000", "32000"};

const EncoderPageParams kParams = {
    IDD_SETSPEEX, IDC_SPXMONO, IDC_SPXSTEREO, IDC_SPXRATE, IDC_SPXQUALITY, IDC_SPXQUALITYTEXT,
    IDC_SPXREADOUT, IDC_SPXDEFAULT, kRates, sizeof kRates / sizeof kRates[0],
    0, 10,  // quality 0..10 on positions 0..10
    4,      // Speex
    &SpeexBitrateFor, kPage,
};

}  // namespace

TSetSpeex::TSetSpeex(int* defaultType) : EncoderFormatPage(kParams, defaultType) {}

void TSetSpeex::Load(HKEY key, const std::string& ini) { LoadEncoderPage(kPage, key, ini); }

void TSetSpeex::Save(HKEY key, const std::string& ini) { SaveEncoderPage(kPage, key, ini); }
