// The fake codec manager: conversion streams.
#include "tests/fakes/FakeAcm.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr DWORD kConvertFlags = ACM_STREAMCONVERTF_BLOCKALIGN | ACM_STREAMCONVERTF_START | ACM_STREAMCONVERTF_END;

bool SameShape(const WAVEFORMATEX& a, const WAVEFORMATEX& b) {
    return a.wFormatTag == b.wFormatTag && a.nChannels == b.nChannels && a.nSamplesPerSec == b.nSamplesPerSec &&
           a.nAvgBytesPerSec == b.nAvgBytesPerSec && a.nBlockAlign == b.nBlockAlign;
}

bool IsPcmFor(const WAVEFORMATEX& pcm, const WAVEFORMATEX& coded) {
    return pcm.wFormatTag == WAVE_FORMAT_PCM && pcm.nChannels == coded.nChannels &&
           pcm.nSamplesPerSec == coded.nSamplesPerSec && pcm.nBlockAlign != 0 &&
           pcm.nAvgBytesPerSec == pcm.nBlockAlign * pcm.nSamplesPerSec;
}

}  // namespace

int FakeAcm::PreparedHeaders() const {
    int count = 0;
    for (const auto& entry : streams_) count += int(entry.second.prepared.size());
    return count;
}

FakeAcm::Stream* FakeAcm::FindStream(HACMSTREAM stream) {
    auto it = streams_.find(stream);
    return it == streams_.end() ? nullptr : &it->second;
}

MMRESULT FakeAcm::StreamOpen(HACMSTREAM& stream, HACMDRIVER driver, const WAVEFORMATEX& source,
                             const WAVEFORMATEX& destination, DWORD flags) {
    if (MMRESULT rc = Enter(AcmCall::StreamOpen, "acmStreamOpen")) return rc;
    if (flags & ~DWORD(ACM_STREAMOPENF_QUERY)) return MMSYSERR_INVALFLAG;
    bool badHandle = false;
    for (const Match& m : Formats(driver, badHandle)) {
        const WAVEFORMATEX& f = *m.format->format.Get();
        const bool encodes = SameShape(f, destination) && IsPcmFor(source, f);
        const bool decodes = SameShape(f, source) && IsPcmFor(destination, f);
        if (!encodes && !decodes) continue;
        if (flags & ACM_STREAMOPENF_QUERY) return MMSYSERR_NOERROR;
        stream = reinterpret_cast<HACMSTREAM>(UINT_PTR(nextHandle_ += 0x10));
        Stream& opened = streams_[stream];
        opened.driverIndex = m.driverIndex;
        opened.source.Assign(source);
        opened.destination.Assign(destination);
        lastStreamDriver = driver;
        lastStreamSource.Assign(source);
        return MMSYSERR_NOERROR;
    }
    return badHandle ? MMSYSERR_INVALHANDLE : ACMERR_NOTPOSSIBLE;
}

MMRESULT FakeAcm::StreamPrepareHeader(HACMSTREAM stream, ACMSTREAMHEADER& header) {
    if (MMRESULT rc = Enter(AcmCall::StreamPrepareHeader, "acmStreamPrepareHeader")) return rc;
    Stream* s = FindStream(stream);
    if (!s) return MMSYSERR_INVALHANDLE;
    if (header.cbStruct != sizeof header || !header.pbSrc || !header.pbDst) return MMSYSERR_INVALPARAM;
    if (header.fdwStatus & ACMSTREAMHEADER_STATUSF_PREPARED) return MMSYSERR_NOERROR;
    if (tailAtUnprepare && s->holdsTail) ++tailsLostAtPrepare;
    s->holdsTail = false;
    s->ended = false;
    header.fdwStatus |= ACMSTREAMHEADER_STATUSF_PREPARED;
    s->prepared[&header] = {header.cbSrcLength, header.cbDstLength};
    return MMSYSERR_NOERROR;
}

MMRESULT FakeAcm::StreamUnprepareHeader(HACMSTREAM stream, ACMSTREAMHEADER& header) {
    if (MMRESULT rc = Enter(AcmCall::StreamUnprepareHeader, "acmStreamUnprepareHeader")) return rc;
    Stream* s = FindStream(stream);
    if (!s) return MMSYSERR_INVALHANDLE;
    auto entry = s->prepared.find(&header);
    if (entry == s->prepared.end()) return ACMERR_UNPREPARED;
    if (header.fdwStatus & ACMSTREAMHEADER_STATUSF_INQUEUE) return ACMERR_BUSY;
    // As the real manager: the lengths must be those the header was prepared with.
    if (header.cbSrcLength != entry->second.first || header.cbDstLength != entry->second.second) {
        return MMSYSERR_INVALPARAM;
    }
    if (tailAtUnprepare && s->holdsTail) {
        const DWORD tail = std::min(tailAtUnprepare, header.cbDstLength);
        std::fill(header.pbDst, header.pbDst + tail, BYTE(0xEE));
        header.cbDstLengthUsed = tail;
        s->holdsTail = false;
    }
    s->ended = true;
    header.fdwStatus &= ~ACMSTREAMHEADER_STATUSF_PREPARED;
    s->prepared.erase(entry);
    return MMSYSERR_NOERROR;
}

MMRESULT FakeAcm::StreamConvert(HACMSTREAM stream, ACMSTREAMHEADER& header, DWORD flags) {
    if (MMRESULT rc = Enter(AcmCall::StreamConvert, "acmStreamConvert")) return rc;
    convertFlags.push_back(flags);
    Stream* s = FindStream(stream);
    if (!s) return MMSYSERR_INVALHANDLE;
    if (flags & ~kConvertFlags) return MMSYSERR_INVALFLAG;
    if (!s->prepared.count(&header)) return ACMERR_UNPREPARED;
    if (tailAtUnprepare && s->ended && (flags & ACM_STREAMCONVERTF_START)) ++startsOnEndedEncoder;
    Convert(*s, header, flags);
    s->holdsTail = true;
    return MMSYSERR_NOERROR;
}

void FakeAcm::Convert(const Stream& stream, ACMSTREAMHEADER& header, DWORD flags) const {
    const WAVEFORMATEX& from = *stream.source.Get();
    const WAVEFORMATEX& to = *stream.destination.Get();
    DWORD used = header.cbSrcLength;
    if ((flags & ACM_STREAMCONVERTF_BLOCKALIGN) && from.nBlockAlign) used -= used % from.nBlockAlign;
    unsigned long long made = from.nAvgBytesPerSec ? 1ull * used * to.nAvgBytesPerSec / from.nAvgBytesPerSec : 0;
    if ((flags & ACM_STREAMCONVERTF_BLOCKALIGN) && to.nBlockAlign) made -= made % to.nBlockAlign;
    if (made > header.cbDstLength) {  // no room: convert only what fits
        made = header.cbDstLength;
        used = DWORD(made * from.nAvgBytesPerSec / std::max<DWORD>(to.nAvgBytesPerSec, 1));
    }
    // Each output byte comes from the source byte at the same relative place.
    for (unsigned long long i = 0; i < made; ++i) {
        header.pbDst[i] = BYTE(header.pbSrc[i * used / made] ^ 0x5A);
    }
    header.cbSrcLengthUsed = used;
    header.cbDstLengthUsed = DWORD(made);
    header.fdwStatus = (header.fdwStatus & ~ACMSTREAMHEADER_STATUSF_INQUEUE) | ACMSTREAMHEADER_STATUSF_DONE;
}

MMRESULT FakeAcm::StreamReset(HACMSTREAM stream) {
    if (MMRESULT rc = Enter(AcmCall::StreamReset, "acmStreamReset")) return rc;
    return FindStream(stream) ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}

MMRESULT FakeAcm::StreamClose(HACMSTREAM stream) {
    if (MMRESULT rc = Enter(AcmCall::StreamClose, "acmStreamClose")) return rc;
    Stream* s = FindStream(stream);
    if (!s) return MMSYSERR_INVALHANDLE;
    if (!s->prepared.empty()) return ACMERR_BUSY;
    streams_.erase(stream);
    return MMSYSERR_NOERROR;
}
