// The platform's Audio Compression Manager (msacm32), one virtual call per
// platform operation, so that encoding, decoding and the codec pages can run
// against a fake codec manager in tests. The program uses the msacm32
// implementation (AcmServicesWin32.cpp); tests install tests/fakes/FakeAcm
// with SetAcm(). Nothing here is used when codecs are switched off (/D).
//
// Conversion streams are opened without a callback, so every conversion is
// finished (ACMSTREAMHEADER_STATUSF_DONE) when StreamConvert returns.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <functional>

// Format tags the program names.
constexpr WORD kFormatTagPcm = WAVE_FORMAT_PCM;  // 1
constexpr WORD kFormatTagMp3 = 85;               // MPEG Layer-3
constexpr WORD kFormatTagVorbis = 6771;          // our own Ogg Vorbis files
constexpr WORD kFormatTagSpeex = 41225;          // our own Speex files

// Size of the part of WAVEFORMATEX before its extra bytes.
constexpr DWORD kWaveFormatBaseBytes = 18;
// The largest format record, extra bytes included, the program ever keeps.
constexpr DWORD kMaxFormatBytes = 2000;

// Called once per driver (acmDriverEnum); return false to stop.
using AcmDriverVisitor = std::function<bool(HACMDRIVERID driverId, DWORD supportFlags)>;
// Called once per format (acmFormatEnumA); return false to stop. The details
// record and its format buffer are the ones passed to FormatEnum.
using AcmFormatVisitor =
    std::function<bool(HACMDRIVERID driverId, const ACMFORMATDETAILSA& details, DWORD supportFlags)>;

class AcmServices {
public:
    virtual ~AcmServices() = default;

    // acmMetrics (object may be null), e.g. ACM_METRIC_MAX_SIZE_FORMAT.
    virtual MMRESULT Metrics(HACMOBJ object, UINT metric, DWORD& value) = 0;

    // acmDriverEnum.
    virtual MMRESULT DriverEnum(const AcmDriverVisitor& visit, DWORD flags) = 0;
    // acmDriverDetailsA: details.cbStruct must be set (sizeof, 920).
    virtual MMRESULT DriverDetails(HACMDRIVERID driverId, ACMDRIVERDETAILSA& details) = 0;
    // acmDriverOpen / acmDriverClose.
    virtual MMRESULT DriverOpen(HACMDRIVER& driver, HACMDRIVERID driverId) = 0;
    virtual MMRESULT DriverClose(HACMDRIVER driver) = 0;
    // acmDriverID: the driver behind an open driver or a stream.
    virtual MMRESULT DriverId(HACMOBJ object, HACMDRIVERID& driverId) = 0;

    // acmFormatTagDetailsA (driver may be null = every driver); details.cbStruct
    // set (72) and, for ACM_FORMATTAGDETAILSF_FORMATTAG, dwFormatTag.
    // ACMERR_NOTPOSSIBLE: the tag is not available.
    virtual MMRESULT FormatTagDetails(HACMDRIVER driver, ACMFORMATTAGDETAILSA& details,
                                      DWORD flags) = 0;
    // acmFormatDetailsA: details.cbStruct (152), pwfx, cbwfx, dwFormatTag and
    // dwFormatIndex set for ACM_FORMATDETAILSF_INDEX.
    virtual MMRESULT FormatDetails(HACMDRIVER driver, ACMFORMATDETAILSA& details, DWORD flags) = 0;
    // acmFormatEnumA (driver may be null). MMSYSERR_INVALFLAG (10) and
    // MMSYSERR_INVALPARAM (11) are the flag and parameter failures.
    virtual MMRESULT FormatEnum(HACMDRIVER driver, ACMFORMATDETAILSA& details,
                                const AcmFormatVisitor& visit, DWORD flags) = 0;
    // acmFormatSuggest into destination (destinationBytes of room, at most
    // kMaxFormatBytes used); flags ACM_FORMATSUGGESTF_WFORMATTAG and friends.
    virtual MMRESULT FormatSuggest(HACMDRIVER driver, const WAVEFORMATEX& source,
                                   WAVEFORMATEX* destination, DWORD destinationBytes,
                                   DWORD flags) = 0;

    // acmStreamOpen without filter and callback; flags 0 or ACM_STREAMOPENF_QUERY
    // (then stream may stay null).
    virtual MMRESULT StreamOpen(HACMSTREAM& stream, HACMDRIVER driver, const WAVEFORMATEX& source,
                                const WAVEFORMATEX& destination, DWORD flags) = 0;
    // acmStreamPrepareHeader / acmStreamUnprepareHeader; header.cbStruct = 84.
    virtual MMRESULT StreamPrepareHeader(HACMSTREAM stream, ACMSTREAMHEADER& header) = 0;
    virtual MMRESULT StreamUnprepareHeader(HACMSTREAM stream, ACMSTREAMHEADER& header) = 0;
    // acmStreamConvert with ACM_STREAMCONVERTF_BLOCKALIGN, _START, _END.
    virtual MMRESULT StreamConvert(HACMSTREAM stream, ACMSTREAMHEADER& header, DWORD flags) = 0;
    // acmStreamReset / acmStreamClose.
    virtual MMRESULT StreamReset(HACMSTREAM stream) = 0;
    virtual MMRESULT StreamClose(HACMSTREAM stream) = 0;
};

// The service in use; never null (msacm32 until a test replaces it).
AcmServices& Acm();
// Installs a replacement (tests); null restores msacm32. Not owned.
void SetAcm(AcmServices* replacement);
