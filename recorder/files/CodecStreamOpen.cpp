#include "recorder/files/CodecStreamOpen.h"

#include <algorithm>
#include <cstring>

#include "sound/AcmCodecs.h"
#include "recorder/files/FileFormats.h"

namespace {

constexpr DWORD kSuggestAll =
    ACM_FORMATSUGGESTF_WFORMATTAG | ACM_FORMATSUGGESTF_NCHANNELS | ACM_FORMATSUGGESTF_NSAMPLESPERSEC;
constexpr DWORD kSuggestWithoutRate = ACM_FORMATSUGGESTF_WFORMATTAG | ACM_FORMATSUGGESTF_NCHANNELS;

bool ContainsMp3Ending(const std::string& path) {
    return path.find(".mp3") != std::string::npos || path.find(".MP3") != std::string::npos;
}

// The suggested file format on a copy; false when the codec had none.
bool SuggestFileFormat(AcmServices& acm, HACMDRIVER driver, const WAVEFORMATEX& capture,
                       DWORD largestBytes, WaveFormatBuffer& suggested) {
    suggested->cbSize = static_cast<WORD>(largestBytes - kWaveFormatBaseBytes);
    for (const DWORD flags : {kSuggestAll, kSuggestWithoutRate}) {
        if (acm.FormatSuggest(driver, capture, suggested.Get(), largestBytes, flags) ==
            MMSYSERR_NOERROR)
            return true;
    }
    return false;
}

bool SuggestCaptureFormat(AcmServices& acm, const WAVEFORMATEX& file, WAVEFORMATEX& suggested) {
    for (const DWORD flags : {kSuggestAll, kSuggestWithoutRate}) {
        WAVEFORMATEX attempt = suggested;
        if (acm.FormatSuggest(nullptr, file, &attempt, sizeof(WAVEFORMATEX), flags) ==
            MMSYSERR_NOERROR) {
            suggested = attempt;
            suggested.cbSize = 0;
            return true;
        }
    }
    return false;
}

int PrepareRecords(AcmStream& stream, ACMSTREAMHEADER* const (&records)[kConversionRecords]) {
    int failures = 0;
    for (ACMSTREAMHEADER* record : records) {
        if (!record || !record->pbSrc || !record->pbDst)
            continue;
        record->cbStruct = sizeof(ACMSTREAMHEADER);
        record->cbSrcLength = kConversionRecordBytes;
        record->cbDstLength = kConversionRecordBytes;
        record->cbSrcLengthUsed = 0;
        record->cbDstLengthUsed = 0;
        record->fdwStatus = 0;
        record->dwUser = 0;
        if (stream.Prepare(*record) != MMSYSERR_NOERROR)
            ++failures;
    }
    return failures;
}

// The name of the driver the stream runs on, from the probed list.
std::string StreamDriverName(const AcmStream& stream, const std::vector<CodecDriverRecord>& drivers) {
    const HACMDRIVERID id = stream.DriverId();
    for (const CodecDriverRecord& record : drivers)
        if (id && record.driverId == id)
            return record.formatTagName;
    return std::string();
}

}  // namespace

std::string CodecDriverNameFor(const std::string& currentPath, bool fileOpen, int fileType,
                               const WaveFormatBuffer& fileFormat, const AppStateValues& settings) {
    if (ContainsMp3Ending(currentPath) && fileFormat.SameAs(*settings.Mp3Format.get()))
        return settings.Mp3ACMDriver;
    if (fileOpen && fileType != 1 && fileFormat.SameAs(*settings.WaveFormat.get()))
        return settings.ACMDriver;
    return std::string();
}

const CodecDriverRecord* FindCodecDriver(const std::vector<CodecDriverRecord>& drivers,
                                         const std::string& name) {
    if (name.empty())
        return nullptr;
    for (const CodecDriverRecord& record : drivers)
        if (lstrcmpiA(record.formatTagName, name.c_str()) == 0)
            return &record;
    return nullptr;
}

CodecOpenResult OpenCodecStream(const CodecOpenRequest& request,
                                const std::vector<CodecDriverRecord>& drivers,
                                WaveFormatBuffer& fileFormat, WAVEFORMATEX& captureFormat,
                                AcmStream& stream, ACMSTREAMHEADER* const (&records)[kConversionRecords],
                                AcmServices& acm) {
    CodecOpenResult result;
    stream.Close();
    std::string tagName;
    if (FormatTagName(nullptr, fileFormat->wFormatTag, tagName, acm) != MMSYSERR_NOERROR) {
        result.failureMessage = kMsgFormatTagUnavailable;
        return result;
    }
    result.codecReadout = CodecReadoutName(tagName);

    const bool encode = request.direction == CodecDirection::Encode;
    AcmDriver driver(acm);
    if (encode) {
        if (const CodecDriverRecord* chosen = FindCodecDriver(drivers, request.driverName))
            (void)driver.Open(chosen->driverId);  // not opened: any driver will do
    }
    const DWORD largest = std::max(kWaveFormatBaseBytes,
                                   std::min(request.largestFormatBytes, kMaxFormatBytes));
    WaveFormatBuffer fileCopy(*fileFormat.Get());
    WAVEFORMATEX captureCopy = captureFormat;
    const bool wantSuggestion = request.forceSuggest ||
                                (request.suggest && fileFormat->wFormatTag != request.chosenWaveTag);
    bool suggested = false;
    if (wantSuggestion) {
        suggested = encode ? SuggestFileFormat(acm, driver.Get(), captureFormat, largest, fileCopy)
                           : SuggestCaptureFormat(acm, *fileFormat.Get(), captureCopy);
        result.suggestFailed = !suggested;
    }
    const WAVEFORMATEX& file = suggested && encode ? *fileCopy.Get() : *fileFormat.Get();
    const WAVEFORMATEX& capture = suggested && !encode ? captureCopy : captureFormat;
    const MMRESULT opened = encode ? stream.Open(driver.Get(), capture, file)
                                   : stream.Open(nullptr, file, capture);
    if (opened == MMSYSERR_NOERROR && driver.Get()) stream.KeepDriver(driver.Release());
    driver.Close();
    if (opened != MMSYSERR_NOERROR) {
        result.failureMessage = kMsgStreamOpenFailed;
        return result;
    }
    if (suggested && encode) fileFormat.Assign(*fileCopy.Get());
    if (suggested && !encode) captureFormat = captureCopy;

    if (fileFormat->wFormatTag == kFormatTagMp3 && drivers.size() > 1) {
        const std::string name = StreamDriverName(stream, drivers);
        if (!name.empty())
            result.codecReadout = CodecReadoutName(name);
    }
    result.prepareFailures = PrepareRecords(stream, records);
    result.ok = true;
    return result;
}
