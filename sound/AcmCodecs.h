// Questions the program asks the Audio Compression Manager about its codecs.
#pragma once

#include "sound/AcmServices.h"

#include <string>

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
