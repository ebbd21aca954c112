// The fake codec manager: drivers, format questions and suggestions.
#include "tests/fakes/FakeAcm.h"
#include "audiofile/PcmFormat.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr DWORD kEnumFlags = ACM_FORMATENUMF_WFORMATTAG | ACM_FORMATENUMF_NCHANNELS |
                             ACM_FORMATENUMF_NSAMPLESPERSEC | ACM_FORMATENUMF_WBITSPERSAMPLE |
                             ACM_FORMATENUMF_CONVERT | ACM_FORMATENUMF_SUGGEST |
                             ACM_FORMATENUMF_HARDWARE | ACM_FORMATENUMF_INPUT | ACM_FORMATENUMF_OUTPUT;
constexpr DWORD kSuggestFlags = ACM_FORMATSUGGESTF_WFORMATTAG | ACM_FORMATSUGGESTF_NCHANNELS |
                                ACM_FORMATSUGGESTF_NSAMPLESPERSEC | ACM_FORMATSUGGESTF_WBITSPERSAMPLE;

template <size_t N>
void CopyText(char (&to)[N], const std::string& from) {
    std::snprintf(to, N, "%s", from.c_str());
}

}  // namespace

FakeAcm::FakeAcm() : drivers{ImaAdpcmDriver(), Mp3Driver()} {}
FakeAcm::~FakeAcm() = default;

FakeAcmFormat FakeAcm::Mp3Format(WORD channels, DWORD samplesPerSecond, DWORD kbps) {
    MPEGLAYER3WAVEFORMAT mp3{};
    mp3.wfx.wFormatTag = kFormatTagMp3;
    mp3.wfx.nChannels = channels;
    mp3.wfx.nSamplesPerSec = samplesPerSecond;
    mp3.wfx.nAvgBytesPerSec = kbps * 1000 / 8;
    mp3.wfx.nBlockAlign = 1;
    mp3.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
    mp3.wID = MPEGLAYER3_ID_MPEG;
    mp3.fdwFlags = MPEGLAYER3_FLAG_PADDING_OFF;
    mp3.nBlockSize = WORD(144 * kbps * 1000 / samplesPerSecond);
    mp3.nFramesPerBlock = 1;
    mp3.nCodecDelay = 1393;
    FakeAcmFormat format;
    format.format.Assign(&mp3, sizeof mp3);
    char name[64];
    std::snprintf(name, sizeof name, "%lu kBit/s, %lu Hz, %s", static_cast<unsigned long>(kbps),
                  static_cast<unsigned long>(samplesPerSecond), channels == 2 ? "Stereo" : "Mono");
    format.name = name;
    return format;
}

FakeAcmFormat FakeAcm::ImaAdpcmFormat(WORD channels, DWORD samplesPerSecond) {
    IMAADPCMWAVEFORMAT ima{};
    ima.wfx.wFormatTag = WAVE_FORMAT_IMA_ADPCM;
    ima.wfx.nChannels = channels;
    ima.wfx.nSamplesPerSec = samplesPerSecond;
    ima.wfx.nBlockAlign = WORD(256 * channels);
    ima.wfx.wBitsPerSample = 4;
    ima.wfx.cbSize = 2;
    ima.wSamplesPerBlock = WORD((256 - 4) * 2 + 1);
    ima.wfx.nAvgBytesPerSec = samplesPerSecond * ima.wfx.nBlockAlign / ima.wSamplesPerBlock;
    FakeAcmFormat format;
    format.format.Assign(&ima, sizeof ima);
    char name[64];
    std::snprintf(name, sizeof name, "%lu Hz, 4 Bit, %s", static_cast<unsigned long>(samplesPerSecond),
                  channels == 2 ? "Stereo" : "Mono");
    format.name = name;
    return format;
}

FakeAcmDriver FakeAcm::Mp3Driver() {
    FakeAcmDriver driver{"Fake MP3", "Fake MPEG Layer-3 Codec", ACMDRIVERDETAILS_SUPPORTF_CODEC, {}};
    FakeAcmTag tag{kFormatTagMp3, "MPEG Layer-3", {}};
    for (DWORD rate : {8000u, 16000u, 22050u, 44100u}) {
        for (WORD channels : {1, 2}) {
            for (DWORD kbps : {8u, 16u, 32u, 64u, 128u}) tag.formats.push_back(Mp3Format(channels, rate, kbps));
        }
    }
    driver.tags.push_back(tag);
    return driver;
}

FakeAcmDriver FakeAcm::ImaAdpcmDriver() {
    FakeAcmDriver driver{"Fake IMA ADPCM", "Fake IMA ADPCM CODEC", ACMDRIVERDETAILS_SUPPORTF_CODEC, {}};
    FakeAcmTag tag{WAVE_FORMAT_IMA_ADPCM, "IMA ADPCM", {}};
    for (DWORD rate : {8000u, 11025u, 22050u, 44100u}) {
        for (WORD channels : {1, 2}) tag.formats.push_back(ImaAdpcmFormat(channels, rate));
    }
    driver.tags.push_back(tag);
    return driver;
}

HACMDRIVERID FakeAcm::DriverIdOf(size_t index) {
    return reinterpret_cast<HACMDRIVERID>(UINT_PTR(0x7100 + 0x10 * index));
}

void FakeAcm::Fail(AcmCall call, MMRESULT result, int times) {
    if (times == 0) {
        failures_.erase(call);
    } else {
        failures_[call] = {result, times};
    }
}

MMRESULT FakeAcm::Enter(AcmCall call, const char* name) {
    calls.push_back(name);
    auto failure = failures_.find(call);
    if (failure == failures_.end()) return MMSYSERR_NOERROR;
    MMRESULT result = failure->second.result;
    if (failure->second.times > 0 && --failure->second.times == 0) failures_.erase(failure);
    return result;
}

int FakeAcm::Count(const std::string& call) const {
    int count = 0;
    for (const auto& c : calls) count += c == call;
    return count;
}

int FakeAcm::DriverIndexOfHandle(HACMDRIVER driver) const {
    auto it = openDrivers_.find(driver);
    return it == openDrivers_.end() ? -1 : int(it->second);
}

std::vector<FakeAcm::Match> FakeAcm::Formats(HACMDRIVER driver, bool& badHandle) const {
    std::vector<Match> all;
    const int only = driver ? DriverIndexOfHandle(driver) : -1;
    badHandle = driver && only < 0;
    for (size_t d = 0; d < drivers.size(); ++d) {
        if (driver && int(d) != only) continue;
        for (const FakeAcmTag& tag : drivers[d].tags) {
            for (const FakeAcmFormat& format : tag.formats) all.push_back({d, &tag, &format});
        }
    }
    return all;
}

const FakeAcmTag* FakeAcm::FindTag(HACMDRIVER driver, WORD tag, bool& badHandle) const {
    for (const Match& m : Formats(driver, badHandle)) {
        if (m.tag->tag == tag) return m.tag;
    }
    const int only = driver ? DriverIndexOfHandle(driver) : -1;
    for (size_t d = 0; d < drivers.size(); ++d) {  // a tag without formats still has a name
        if (driver && int(d) != only) continue;
        for (const FakeAcmTag& t : drivers[d].tags) {
            if (t.tag == tag) return &t;
        }
    }
    return nullptr;
}

MMRESULT FakeAcm::Metrics(HACMOBJ, UINT metric, DWORD& value) {
    if (MMRESULT rc = Enter(AcmCall::Metrics, "acmMetrics")) return rc;
    if (metric != ACM_METRIC_MAX_SIZE_FORMAT) return MMSYSERR_NOTSUPPORTED;
    value = maxFormatBytes;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeAcm::DriverEnum(const AcmDriverVisitor& visit, DWORD) {
    if (MMRESULT rc = Enter(AcmCall::DriverEnum, "acmDriverEnum")) return rc;
    for (size_t d = 0; d < drivers.size(); ++d) {
        if (!visit(DriverIdOf(d), drivers[d].support)) break;
    }
    return MMSYSERR_NOERROR;
}

MMRESULT FakeAcm::DriverDetails(HACMDRIVERID driverId, ACMDRIVERDETAILSA& details) {
    if (MMRESULT rc = Enter(AcmCall::DriverDetails, "acmDriverDetailsA")) return rc;
    if (details.cbStruct < sizeof details) return MMSYSERR_INVALPARAM;
    for (size_t d = 0; d < drivers.size(); ++d) {
        if (DriverIdOf(d) != driverId) continue;
        details.fccType = ACMDRIVERDETAILS_FCCTYPE_AUDIOCODEC;
        details.fdwSupport = drivers[d].support;
        details.cFormatTags = DWORD(drivers[d].tags.size());
        CopyText(details.szShortName, drivers[d].shortName);
        CopyText(details.szLongName, drivers[d].longName);
        return MMSYSERR_NOERROR;
    }
    return MMSYSERR_INVALHANDLE;
}

MMRESULT FakeAcm::DriverOpen(HACMDRIVER& driver, HACMDRIVERID driverId) {
    if (MMRESULT rc = Enter(AcmCall::DriverOpen, "acmDriverOpen")) return rc;
    for (size_t d = 0; d < drivers.size(); ++d) {
        if (DriverIdOf(d) != driverId) continue;
        driver = reinterpret_cast<HACMDRIVER>(UINT_PTR(nextHandle_ += 0x10));
        openDrivers_[driver] = d;
        return MMSYSERR_NOERROR;
    }
    return MMSYSERR_INVALHANDLE;
}

MMRESULT FakeAcm::DriverClose(HACMDRIVER driver) {
    if (MMRESULT rc = Enter(AcmCall::DriverClose, "acmDriverClose")) return rc;
    return openDrivers_.erase(driver) ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}

MMRESULT FakeAcm::DriverId(HACMOBJ object, HACMDRIVERID& driverId) {
    if (MMRESULT rc = Enter(AcmCall::DriverId, "acmDriverID")) return rc;
    const int index = DriverIndexOfHandle(reinterpret_cast<HACMDRIVER>(object));
    if (index >= 0) {
        driverId = DriverIdOf(size_t(index));
        return MMSYSERR_NOERROR;
    }
    if (Stream* stream = FindStream(reinterpret_cast<HACMSTREAM>(object))) {
        driverId = DriverIdOf(stream->driverIndex);
        return MMSYSERR_NOERROR;
    }
    return MMSYSERR_INVALHANDLE;
}

MMRESULT FakeAcm::FormatTagDetails(HACMDRIVER driver, ACMFORMATTAGDETAILSA& details, DWORD flags) {
    if (MMRESULT rc = Enter(AcmCall::FormatTagDetails, "acmFormatTagDetailsA")) return rc;
    if (details.cbStruct < sizeof details) return MMSYSERR_INVALPARAM;
    if ((flags & ACM_FORMATTAGDETAILSF_QUERYMASK) != ACM_FORMATTAGDETAILSF_FORMATTAG) return MMSYSERR_NOTSUPPORTED;
    bool badHandle = false;
    const FakeAcmTag* tag = FindTag(driver, WORD(details.dwFormatTag), badHandle);
    if (badHandle) return MMSYSERR_INVALHANDLE;
    if (!tag) return ACMERR_NOTPOSSIBLE;
    DWORD largest = 0;
    for (const FakeAcmFormat& f : tag->formats) largest = std::max<DWORD>(largest, DWORD(f.format.Bytes()));
    details.cbFormatSize = largest;
    details.fdwSupport = ACMDRIVERDETAILS_SUPPORTF_CODEC;
    details.cStandardFormats = DWORD(tag->formats.size());
    CopyText(details.szFormatTag, tag->name);
    return MMSYSERR_NOERROR;
}

MMRESULT FakeAcm::FormatDetails(HACMDRIVER driver, ACMFORMATDETAILSA& details, DWORD flags) {
    if (MMRESULT rc = Enter(AcmCall::FormatDetails, "acmFormatDetailsA")) return rc;
    if (details.cbStruct < sizeof details || !details.pwfx) return MMSYSERR_INVALPARAM;
    if ((flags & ACM_FORMATDETAILSF_QUERYMASK) != ACM_FORMATDETAILSF_INDEX) return MMSYSERR_NOTSUPPORTED;
    bool badHandle = false;
    const FakeAcmTag* tag = FindTag(driver, WORD(details.dwFormatTag), badHandle);
    if (badHandle) return MMSYSERR_INVALHANDLE;
    if (!tag || details.dwFormatIndex >= tag->formats.size()) return ACMERR_NOTPOSSIBLE;
    const FakeAcmFormat& format = tag->formats[details.dwFormatIndex];
    if (details.cbwfx < format.format.Bytes()) return MMSYSERR_INVALPARAM;
    std::memcpy(details.pwfx, format.format.Get(), format.format.Bytes());
    details.fdwSupport = ACMDRIVERDETAILS_SUPPORTF_CODEC;
    CopyText(details.szFormat, format.name);
    return MMSYSERR_NOERROR;
}

MMRESULT FakeAcm::FormatEnum(HACMDRIVER driver, ACMFORMATDETAILSA& details, const AcmFormatVisitor& visit,
                             DWORD flags) {
    if (MMRESULT rc = Enter(AcmCall::FormatEnum, "acmFormatEnumA")) return rc;
    if (flags & ~kEnumFlags) return MMSYSERR_INVALFLAG;
    if (details.cbStruct < sizeof details || !details.pwfx || details.cbwfx < kWaveFormatBaseBytes) {
        return MMSYSERR_INVALPARAM;
    }
    // The record names the wanted source or format; it is overwritten below.
    const WAVEFORMATEX wanted = *details.pwfx;
    bool badHandle = false;
    for (const Match& m : Formats(driver, badHandle)) {
        const WAVEFORMATEX& f = *m.format->format.Get();
        if ((flags & ACM_FORMATENUMF_WFORMATTAG) && f.wFormatTag != wanted.wFormatTag) continue;
        if ((flags & ACM_FORMATENUMF_NCHANNELS) && f.nChannels != wanted.nChannels) continue;
        if ((flags & ACM_FORMATENUMF_NSAMPLESPERSEC) && f.nSamplesPerSec != wanted.nSamplesPerSec) continue;
        if (details.cbwfx < m.format->format.Bytes()) continue;
        std::memcpy(details.pwfx, &f, m.format->format.Bytes());
        details.dwFormatTag = f.wFormatTag;
        details.fdwSupport = ACMDRIVERDETAILS_SUPPORTF_CODEC;
        CopyText(details.szFormat, m.format->name);
        if (!visit(DriverIdOf(m.driverIndex), details, details.fdwSupport)) break;
    }
    return badHandle ? MMSYSERR_INVALHANDLE : MMSYSERR_NOERROR;
}

MMRESULT FakeAcm::FormatSuggest(HACMDRIVER driver, const WAVEFORMATEX& source, WAVEFORMATEX* destination,
                                DWORD destinationBytes, DWORD flags) {
    if (MMRESULT rc = Enter(AcmCall::FormatSuggest, "acmFormatSuggest")) return rc;
    suggestFlags.push_back(flags);
    if (flags & ~kSuggestFlags) return MMSYSERR_INVALFLAG;
    if (!destination || destinationBytes < kWaveFormatBaseBytes) return MMSYSERR_INVALPARAM;
    const WAVEFORMATEX wanted = *destination;
    const WORD channels = (flags & ACM_FORMATSUGGESTF_NCHANNELS) ? wanted.nChannels : source.nChannels;
    const DWORD rate = (flags & ACM_FORMATSUGGESTF_NSAMPLESPERSEC) ? wanted.nSamplesPerSec : source.nSamplesPerSec;
    const bool anyTag = !(flags & ACM_FORMATSUGGESTF_WFORMATTAG);
    if (source.wFormatTag != WAVE_FORMAT_PCM && (anyTag || wanted.wFormatTag == WAVE_FORMAT_PCM)) {
        // Decoding: PCM of the source's shape.
        *destination = PcmFormat(channels, source.nSamplesPerSec, 16);
        return MMSYSERR_NOERROR;
    }
    // Without the rate flag the codec may pick another rate, but keeps the
    // source's when it can.
    bool badHandle = false;
    const FakeAcmFormat* chosen = nullptr;
    for (const Match& m : Formats(driver, badHandle)) {
        const WAVEFORMATEX& f = *m.format->format.Get();
        if ((!anyTag && f.wFormatTag != wanted.wFormatTag) || f.wFormatTag == WAVE_FORMAT_PCM) continue;
        if (f.nChannels != channels) continue;
        if (f.nSamplesPerSec == rate) {
            chosen = m.format;
            break;
        }
        if (!(flags & ACM_FORMATSUGGESTF_NSAMPLESPERSEC) && !chosen) chosen = m.format;
    }
    if (badHandle) return MMSYSERR_INVALHANDLE;
    if (!chosen) return ACMERR_NOTPOSSIBLE;
    if (destinationBytes < chosen->format.Bytes()) return MMSYSERR_INVALPARAM;
    std::memcpy(destination, chosen->format.Get(), chosen->format.Bytes());
    return MMSYSERR_NOERROR;
}
