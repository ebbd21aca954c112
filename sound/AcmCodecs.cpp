// Questions about the installed codecs.
#include "sound/AcmCodecs.h"

#include "sound/AcmStream.h"

#include <algorithm>

DWORD LargestFormatBytes(bool codecsAvailable, AcmServices& acm) {
    if (!codecsAvailable) return kWaveFormatBaseBytes;
    DWORD bytes = 0;
    if (acm.Metrics(nullptr, ACM_METRIC_MAX_SIZE_FORMAT, bytes) != MMSYSERR_NOERROR) {
        return kWaveFormatBaseBytes;
    }
    return std::clamp(bytes, kWaveFormatBaseBytes, kMaxFormatBytes);
}

MMRESULT FormatTagName(HACMDRIVER driver, WORD formatTag, std::string& name, AcmServices& acm) {
    ACMFORMATTAGDETAILSA details{};
    details.cbStruct = sizeof details;
    details.dwFormatTag = formatTag;
    MMRESULT rc = acm.FormatTagDetails(driver, details, ACM_FORMATTAGDETAILSF_FORMATTAG);
    if (rc != MMSYSERR_NOERROR) return rc;
    // The manager's text is a fixed array; never read past it.
    const char* text = details.szFormatTag;
    name.assign(text, std::find(text, text + sizeof details.szFormatTag, '\0'));
    return MMSYSERR_NOERROR;
}
