#include "sound/CodecDriverProbe.h"

#include <string>

#include "sound/AcmCodecs.h"
#include "sound/AcmStream.h"

std::vector<CodecDriverRecord> ProbeCodecDrivers(AcmServices& acm) {
    std::vector<CodecDriverRecord> found;
    acm.DriverEnum(
        [&](HACMDRIVERID driverId, DWORD) {
            ACMDRIVERDETAILSA details{};
            details.cbStruct = sizeof details;
            AcmDriver driver(acm);
            // One broken driver must not hide the ones after it.
            if (acm.DriverDetails(driverId, details) != MMSYSERR_NOERROR ||
                driver.Open(driverId) != MMSYSERR_NOERROR)
                return true;
            std::string tagName;
            if (FormatTagName(driver.Get(), kFormatTagMp3, tagName, acm) == MMSYSERR_NOERROR) {
                CodecDriverRecord record;
                record.driverId = driverId;
                CopyTextField(record.formatTagName, tagName.c_str());
                found.push_back(record);
            }
            return true;
        },
        0);
    return found;
}
