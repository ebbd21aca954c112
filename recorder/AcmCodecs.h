// Questions the program asks the Audio Compression Manager about its codecs.
#pragma once

#include "recorder/AcmServices.h"

#include <string>
#include <vector>

// A codec driver that offers MPEG Layer-3 and the name it gives the tag.
struct CodecDriver {
    HACMDRIVERID id = nullptr;
    std::string tagName;  // at most 259 characters
};

// The size of the largest format record (acmMetrics, ACM_METRIC_MAX_SIZE_FORMAT),
// kept between kWaveFormatBaseBytes and kMaxFormatBytes so no codec is ever told
// of more room than the program's format buffers have. kWaveFormatBaseBytes
// when codecs are off or the question fails.
DWORD LargestFormatBytes(bool codecsAvailable, AcmServices& acm = Acm());

// The name of a format tag (acmFormatTagDetailsA, ACM_FORMATTAGDETAILSF_FORMATTAG)
// from one driver or, with a null driver, from any. ACMERR_NOTPOSSIBLE (512)
// when the tag is not available; name is unchanged on failure.
[[nodiscard]] MMRESULT FormatTagName(HACMDRIVER driver, WORD formatTag, std::string& name,
                                     AcmServices& acm = Acm());

// Every installed driver that offers MPEG Layer-3, in the order the manager
// lists them: for each driver its details are read and it is opened (either
// failing ends the search), asked for tag 85, and closed again.
std::vector<CodecDriver> FindMp3Drivers(AcmServices& acm = Acm());
