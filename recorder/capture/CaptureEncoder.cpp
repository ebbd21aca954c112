#include "recorder/capture/CaptureEncoder.h"

#include <algorithm>
#include <cstring>

#include "recorder/capture/CaptureBuffers.h"

void CaptureEncoder::Begin(ConvertFn convert)
{
    convert_ = std::move(convert);
    carry_.clear();
    carry_.reserve(kRingBlockBytes);  // once per run: no allocation per block
    fresh_ = true;
}

void CaptureEncoder::End()
{
    convert_ = nullptr;
    carry_.clear();
    fresh_ = true;
}

MMRESULT CaptureEncoder::Encode(ACMSTREAMHEADER& record, uint32_t capacity, const uint8_t* data,
                                uint32_t bytes, const EncodedFn& out)
{
    if (!convert_)
        return MMSYSERR_INVALHANDLE;
    MMRESULT first = MMSYSERR_NOERROR;
    while (bytes > 0) {
        if (carry_.size() >= capacity)
            carry_.clear();  // the codec takes nothing: do not grow without bound
        const uint32_t take = std::min<uint32_t>(bytes, capacity - static_cast<uint32_t>(carry_.size()));
        const DWORD flags = ACM_STREAMCONVERTF_BLOCKALIGN | (fresh_ ? ACM_STREAMCONVERTF_START : 0);
        const MMRESULT result = ConvertOnce(record, data, take, flags, out);
        if (result != MMSYSERR_NOERROR && first == MMSYSERR_NOERROR)
            first = result;
        data += take;
        bytes -= take;
    }
    return first;
}

MMRESULT CaptureEncoder::Finish(ACMSTREAMHEADER& record, uint32_t capacity, const EncodedFn& out)
{
    MMRESULT result = MMSYSERR_NOERROR;
    if (convert_ && !fresh_ && carry_.size() <= capacity)
        result = ConvertOnce(record, nullptr, 0, ACM_STREAMCONVERTF_END, out);
    carry_.clear();
    fresh_ = true;
    return result;
}

MMRESULT CaptureEncoder::ConvertOnce(ACMSTREAMHEADER& record, const uint8_t* data, uint32_t bytes,
                                     DWORD flags, const EncodedFn& out)
{
    const uint32_t carried = static_cast<uint32_t>(carry_.size());
    if (carried)
        std::memcpy(record.pbSrc, carry_.data(), carried);
    if (bytes)
        std::memcpy(record.pbSrc + carried, data, bytes);
    const uint32_t sourceBytes = carried + bytes;
    record.cbSrcLength = sourceBytes;
    record.cbSrcLengthUsed = 0;
    record.cbDstLengthUsed = 0;
    fresh_ = false;
    const MMRESULT result = convert_(record, flags);
    if (result != MMSYSERR_NOERROR) {
        carry_.clear();
        return result;
    }
    const uint32_t used = std::min<uint32_t>(record.cbSrcLengthUsed, sourceBytes);
    const uint32_t produced = std::min<uint32_t>(record.cbDstLengthUsed, record.cbDstLength);
    out(record.pbDst, produced, used);
    carry_.assign(record.pbSrc + used, record.pbSrc + sourceBytes);
    return MMSYSERR_NOERROR;
}
