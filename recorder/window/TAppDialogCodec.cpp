// The recorder window's conversion stream: opened for encoding into
// compressed WAV and MP3 files and for decoding them for playback, and the
// probe of the codec drivers that offer MP3.
#include "recorder/window/TAppDialog.h"

#include "core/AppState.h"
#include "framework/Application.h"
#include "recorder/files/CodecStreamOpen.h"
#include "sound/CodecDriverProbe.h"

// The ring's records, when it was made with them (codecs available).
void TAppDialog::ConversionRecords(ACMSTREAMHEADER* (&records)[5]) {
    for (int slot = 0; slot < kConversionRecords; ++slot)
        records[slot] = Ring.Conversion(slot);
}

bool TAppDialog::AcmOpen(bool suggest, int mode) {
    if (!AppState.CodecsAvailable)
        return false;
    AcmClose();
    CodecOpenRequest request;
    request.direction = mode == 2 ? CodecDirection::Decode : CodecDirection::Encode;
    request.suggest = suggest;
    request.forceSuggest = AppState.ForceFormatSuggest;
    request.chosenWaveTag = AppState.ACMFormatTag;
    request.largestFormatBytes = CodecFormatBytes;
    if (request.direction == CodecDirection::Encode) {
        request.driverName = CodecDriverNameFor(AppState.CommandLineFile, CurrentFile != nullptr,
                                                CurrentFile ? CurrentFile->GetFileType() : ftNone,
                                                FileFormat, AppState);
    }
    ACMSTREAMHEADER* records[kConversionRecords] = {};
    ConversionRecords(records);
    const CodecOpenResult result =
        OpenCodecStream(request, AppState.CodecDriverList, FileFormat, CaptureFormat, hAcmStream, records);
    if (!result.codecReadout.empty())
        SetItemText(IDC_CODECTEXT, result.codecReadout);
    if (result.suggestFailed)
        Error(IDS_SUGGESTFAILED);
    if (!result.ok) {
        Error(result.failureMessage);
        return false;
    }
    AcmMode = mode;
    for (int i = 0; i < result.prepareFailures; ++i)
        Warn(IDS_PREPAREFAILED);
    return true;
}

void TAppDialog::AcmClose() {
    if (!AppState.CodecsAvailable)
        return;
    AcmMode = 0;
    // Reset, unprepare (each record with the lengths it was prepared with)
    // and close; the records keep their buffers for the next stream.
    (void)hAcmStream.Close();
    if (TApplication* app = GetApplication())
        (void)app->PumpWaitingMessages();
}

void TAppDialog::ProbeMp3Codec() {
    AppState.CodecDriverList.clear();
    if (AppState.CodecsAvailable)
        AppState.CodecDriverList = ProbeCodecDrivers();
}
