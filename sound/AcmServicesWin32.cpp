// The codec manager service over msacm32, each call by its platform name.
#include "sound/AcmServices.h"

namespace {

// The manager calls these from inside its enumeration; nothing may unwind
// through it, so a failing visitor ends the enumeration instead.
BOOL CALLBACK DriverEnumThunk(HACMDRIVERID driverId, DWORD_PTR instance, DWORD support) {
    try {
        const auto& visit = *reinterpret_cast<const AcmDriverVisitor*>(instance);
        return visit(driverId, support) ? TRUE : FALSE;
    } catch (...) {
        return FALSE;
    }
}

BOOL CALLBACK FormatEnumThunk(HACMDRIVERID driverId, LPACMFORMATDETAILSA details, DWORD_PTR instance,
                              DWORD support) {
    try {
        const auto& visit = *reinterpret_cast<const AcmFormatVisitor*>(instance);
        return visit(driverId, *details, support) ? TRUE : FALSE;
    } catch (...) {
        return FALSE;
    }
}

// The manager takes formats by non-const pointer but only reads them.
LPWAVEFORMATEX Mutable(const WAVEFORMATEX& format) { return const_cast<LPWAVEFORMATEX>(&format); }

class AcmServicesWin32 final : public AcmServices {
public:
    MMRESULT Metrics(HACMOBJ object, UINT metric, DWORD& value) override {
        return acmMetrics(object, metric, &value);
    }
    MMRESULT DriverEnum(const AcmDriverVisitor& visit, DWORD flags) override {
        if (!visit) return MMSYSERR_INVALPARAM;
        return acmDriverEnum(DriverEnumThunk, reinterpret_cast<DWORD_PTR>(&visit), flags);
    }
    MMRESULT DriverDetails(HACMDRIVERID driverId, ACMDRIVERDETAILSA& details) override {
        return acmDriverDetailsA(driverId, &details, 0);
    }
    MMRESULT DriverOpen(HACMDRIVER& driver, HACMDRIVERID driverId) override {
        return acmDriverOpen(&driver, driverId, 0);
    }
    MMRESULT DriverClose(HACMDRIVER driver) override { return acmDriverClose(driver, 0); }
    MMRESULT DriverId(HACMOBJ object, HACMDRIVERID& driverId) override {
        return acmDriverID(object, &driverId, 0);
    }
    MMRESULT FormatTagDetails(HACMDRIVER driver, ACMFORMATTAGDETAILSA& details, DWORD flags) override {
        return acmFormatTagDetailsA(driver, &details, flags);
    }
    MMRESULT FormatDetails(HACMDRIVER driver, ACMFORMATDETAILSA& details, DWORD flags) override {
        return acmFormatDetailsA(driver, &details, flags);
    }
    MMRESULT FormatEnum(HACMDRIVER driver, ACMFORMATDETAILSA& details, const AcmFormatVisitor& visit,
                        DWORD flags) override {
        if (!visit) return MMSYSERR_INVALPARAM;
        return acmFormatEnumA(driver, &details, FormatEnumThunk, reinterpret_cast<DWORD_PTR>(&visit),
                              flags);
    }
    MMRESULT FormatSuggest(HACMDRIVER driver, const WAVEFORMATEX& source, WAVEFORMATEX* destination,
                           DWORD destinationBytes, DWORD flags) override {
        if (destinationBytes > kMaxFormatBytes) destinationBytes = kMaxFormatBytes;
        return acmFormatSuggest(driver, Mutable(source), destination, destinationBytes, flags);
    }
    MMRESULT StreamOpen(HACMSTREAM& stream, HACMDRIVER driver, const WAVEFORMATEX& source,
                        const WAVEFORMATEX& destination, DWORD flags) override {
        HACMSTREAM* out = (flags & ACM_STREAMOPENF_QUERY) ? nullptr : &stream;
        return acmStreamOpen(out, driver, Mutable(source), Mutable(destination), nullptr, 0, 0, flags);
    }
    MMRESULT StreamPrepareHeader(HACMSTREAM stream, ACMSTREAMHEADER& header) override {
        return acmStreamPrepareHeader(stream, &header, 0);
    }
    MMRESULT StreamUnprepareHeader(HACMSTREAM stream, ACMSTREAMHEADER& header) override {
        return acmStreamUnprepareHeader(stream, &header, 0);
    }
    MMRESULT StreamConvert(HACMSTREAM stream, ACMSTREAMHEADER& header, DWORD flags) override {
        return acmStreamConvert(stream, &header, flags);
    }
    MMRESULT StreamReset(HACMSTREAM stream) override { return acmStreamReset(stream, 0); }
    MMRESULT StreamClose(HACMSTREAM stream) override { return acmStreamClose(stream, 0); }
};

AcmServicesWin32 realAcm;
AcmServices* replacementAcm = nullptr;

}  // namespace

AcmServices& Acm() { return replacementAcm ? *replacementAcm : realAcm; }

void SetAcm(AcmServices* replacement) { replacementAcm = replacement; }
