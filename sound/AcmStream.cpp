// Owned codec drivers and conversion streams.
#include "sound/AcmStream.h"

#include <algorithm>
#include <cstring>

namespace {
// The recorder keeps five conversion records; a few more avoid any
// allocation while converting.
constexpr size_t kUsualHeaders = 8;
}  // namespace

MMRESULT AcmDriver::Open(HACMDRIVERID driverId) {
    Close();
    HACMDRIVER opened = nullptr;
    MMRESULT rc = acm_.DriverOpen(opened, driverId);
    driver_ = rc == MMSYSERR_NOERROR ? opened : nullptr;
    return rc;
}

void AcmDriver::Close() {
    if (driver_) acm_.DriverClose(driver_);
    driver_ = nullptr;
}

AcmStream::AcmStream(AcmServices& acm) : acm_(acm) { prepared_.reserve(kUsualHeaders); }

MMRESULT AcmStream::Query(HACMDRIVER driver, const WAVEFORMATEX& source,
                          const WAVEFORMATEX& destination, AcmServices& acm) {
    HACMSTREAM unused = nullptr;
    return acm.StreamOpen(unused, driver, source, destination, ACM_STREAMOPENF_QUERY);
}

MMRESULT AcmStream::Open(HACMDRIVER driver, const WAVEFORMATEX& source,
                         const WAVEFORMATEX& destination) {
    Close();
    HACMSTREAM opened = nullptr;
    MMRESULT rc = acm_.StreamOpen(opened, driver, source, destination, 0);
    stream_ = rc == MMSYSERR_NOERROR ? opened : nullptr;
    return rc;
}

MMRESULT AcmStream::Prepare(ACMSTREAMHEADER& header) {
    if (!stream_) return MMSYSERR_INVALHANDLE;
    if (Find(header)) return MMSYSERR_NOERROR;  // already prepared on this stream
    MMRESULT rc = acm_.StreamPrepareHeader(stream_, header);
    if (rc == MMSYSERR_NOERROR) prepared_.push_back({&header, header.cbSrcLength, header.cbDstLength});
    return rc;
}

MMRESULT AcmStream::Unprepare(ACMSTREAMHEADER& header) {
    if (!stream_) return MMSYSERR_INVALHANDLE;
    const Prepared* entry = Find(header);
    if (!entry) return ACMERR_UNPREPARED;
    // The manager refuses a header whose lengths differ from those it was
    // prepared with; each conversion lowers the source length to its block.
    header.cbSrcLength = entry->sourceBytes;
    header.cbDstLength = entry->destinationBytes;
    MMRESULT rc = acm_.StreamUnprepareHeader(stream_, header);
    if (rc == MMSYSERR_NOERROR) {
        prepared_.erase(prepared_.begin() + (entry - prepared_.data()));
    }
    return rc;
}

MMRESULT AcmStream::Convert(ACMSTREAMHEADER& header, DWORD flags) {
    if (!stream_) return MMSYSERR_INVALHANDLE;
    const Prepared* entry = Find(header);
    if (!entry) return ACMERR_UNPREPARED;
    // The buffers are only as long as they were when prepared.
    if (header.cbSrcLength > entry->sourceBytes || header.cbDstLength > entry->destinationBytes) {
        return MMSYSERR_INVALPARAM;
    }
    return acm_.StreamConvert(stream_, header, flags);
}

MMRESULT AcmStream::ConvertEnd(ACMSTREAMHEADER& header, DWORD flags) {
    const MMRESULT rc = Convert(header, flags | ACM_STREAMCONVERTF_END);
    if (rc != MMSYSERR_NOERROR) return rc;
    const DWORD used = header.cbSrcLengthUsed;
    const DWORD made = std::min(header.cbDstLengthUsed, header.cbDstLength);
    // The unpreparing writes from the start of the destination block.
    const std::vector<BYTE> ended(header.pbDst, header.pbDst + made);
    header.cbDstLengthUsed = 0;
    if (Unprepare(header) != MMSYSERR_NOERROR) {
        header.cbDstLengthUsed = made;  // still prepared: what the conversion made stands
        return MMSYSERR_NOERROR;
    }
    const DWORD tail = std::min(header.cbDstLengthUsed, header.cbDstLength - made);
    if (made) {
        std::memmove(header.pbDst + made, header.pbDst, tail);
        std::memcpy(header.pbDst, ended.data(), made);
    }
    header.cbSrcLengthUsed = used;
    header.cbDstLengthUsed = made + tail;
    return MMSYSERR_NOERROR;
}

MMRESULT AcmStream::Reset() { return stream_ ? acm_.StreamReset(stream_) : MMSYSERR_INVALHANDLE; }

void AcmStream::KeepDriver(HACMDRIVER driver) {
    if (driver_ && driver_ != driver) (void)acm_.DriverClose(driver_);
    driver_ = driver;
}

AcmCloseResult AcmStream::Close() {
    AcmCloseResult result;
    if (!stream_) {
        prepared_.clear();
        if (driver_) (void)acm_.DriverClose(driver_);
        driver_ = nullptr;
        return result;
    }
    // The manager will not close a stream that still has prepared headers.
    result.reset = acm_.StreamReset(stream_);
    while (!prepared_.empty()) {
        ACMSTREAMHEADER& header = *prepared_.back().header;
        MMRESULT rc = Unprepare(header);
        if (rc != MMSYSERR_NOERROR) {
            if (result.unprepare == MMSYSERR_NOERROR) result.unprepare = rc;
            prepared_.pop_back();
        }
    }
    result.close = acm_.StreamClose(stream_);
    stream_ = nullptr;
    if (driver_) (void)acm_.DriverClose(driver_);
    driver_ = nullptr;
    return result;
}

HACMDRIVERID AcmStream::DriverId() const {
    HACMDRIVERID id = nullptr;
    if (!stream_) return nullptr;
    return acm_.DriverId(reinterpret_cast<HACMOBJ>(stream_), id) == MMSYSERR_NOERROR ? id : nullptr;
}

const AcmStream::Prepared* AcmStream::Find(const ACMSTREAMHEADER& header) const {
    for (const Prepared& entry : prepared_) {
        if (entry.header == &header) return &entry;
    }
    return nullptr;
}
