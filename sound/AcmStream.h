// An open codec driver and an open conversion stream of the Audio Compression
// Manager, each owning its handle.
//
// Two-phase: constructors cannot fail; Open() returns the platform's result;
// Close() is idempotent and the destructors call it. A stream's Close() is its
// one teardown path: reset, unprepare every header this stream prepared (with
// the lengths it was prepared with put back, as the manager demands), close.
// The headers and their buffers stay owned by the caller (the recorder's
// conversion records).
#pragma once

#include "sound/AcmServices.h"

#include <vector>

class AcmDriver {
public:
    explicit AcmDriver(AcmServices& acm = Acm()) : acm_(acm) {}
    ~AcmDriver() { Close(); }
    AcmDriver(const AcmDriver&) = delete;
    AcmDriver& operator=(const AcmDriver&) = delete;

    // acmDriverOpen; an open driver is closed first.
    [[nodiscard]] MMRESULT Open(HACMDRIVERID driverId);
    void Close();
    HACMDRIVER Get() const { return driver_; }
    // Hands the open driver over (to the stream that runs on it).
    HACMDRIVER Release() {
        HACMDRIVER driver = driver_;
        driver_ = nullptr;
        return driver;
    }

private:
    AcmServices& acm_;
    HACMDRIVER driver_ = nullptr;
};

// What each step of AcmStream::Close() returned.
struct AcmCloseResult {
    MMRESULT reset = MMSYSERR_NOERROR;
    MMRESULT unprepare = MMSYSERR_NOERROR;  // the first failing header's result
    MMRESULT close = MMSYSERR_NOERROR;
    bool Ok() const {
        return reset == MMSYSERR_NOERROR && unprepare == MMSYSERR_NOERROR &&
               close == MMSYSERR_NOERROR;
    }
};

class AcmStream {
public:
    explicit AcmStream(AcmServices& acm = Acm());
    ~AcmStream() { Close(); }
    AcmStream(const AcmStream&) = delete;
    AcmStream& operator=(const AcmStream&) = delete;

    // Whether a stream from source to destination can be opened
    // (ACM_STREAMOPENF_QUERY); driver may be null (any driver).
    [[nodiscard]] static MMRESULT Query(HACMDRIVER driver, const WAVEFORMATEX& source,
                                        const WAVEFORMATEX& destination, AcmServices& acm = Acm());

    // Opens without callback and flags; an open stream is closed first.
    // driver may be null (the manager picks one).
    [[nodiscard]] MMRESULT Open(HACMDRIVER driver, const WAVEFORMATEX& source,
                                const WAVEFORMATEX& destination);

    // Prepares a header (cbStruct 84, buffers and lengths set) and remembers
    // its lengths for unpreparing.
    [[nodiscard]] MMRESULT Prepare(ACMSTREAMHEADER& header);
    // Puts the prepared lengths back, unprepares the header and forgets it.
    [[nodiscard]] MMRESULT Unprepare(ACMSTREAMHEADER& header);
    // acmStreamConvert; the header's cbSrcLength (and cbDstLength) may be
    // lowered to the block first, never raised above the prepared lengths:
    // such a header is refused with MMSYSERR_INVALPARAM. Flags:
    // ACM_STREAMCONVERTF_BLOCKALIGN, plus _START on the first block of a run.
    // On success the header is done on return.
    [[nodiscard]] MMRESULT Convert(ACMSTREAMHEADER& header, DWORD flags);
    // The last conversion of a run (flags plus ACM_STREAMCONVERTF_END), then
    // the header is unprepared: some encoders (LAME's) give the end of the
    // run only then, and it is put after what the conversion made. The
    // header must be prepared again before its next conversion.
    [[nodiscard]] MMRESULT ConvertEnd(ACMSTREAMHEADER& header, DWORD flags);
    [[nodiscard]] MMRESULT Reset();

    // The open driver the stream was opened on, closed after the stream:
    // a driver closed under its stream leaves the stream without a codec
    // (under Wine every later prepare and conversion then fails).
    void KeepDriver(HACMDRIVER driver);

    // Reset, unprepare all, close, then the kept driver. Does nothing when
    // closed. The handles are forgotten whatever the steps returned.
    AcmCloseResult Close();

    bool IsOpen() const { return stream_ != nullptr; }
    HACMSTREAM Handle() const { return stream_; }
    size_t PreparedCount() const { return prepared_.size(); }
    // acmDriverID of the open stream (null when closed or on failure).
    HACMDRIVERID DriverId() const;

private:
    struct Prepared {
        ACMSTREAMHEADER* header;
        DWORD sourceBytes;
        DWORD destinationBytes;
    };
    const Prepared* Find(const ACMSTREAMHEADER& header) const;

    AcmServices& acm_;
    HACMDRIVER driver_ = nullptr;  // kept open for the stream
    HACMSTREAM stream_ = nullptr;
    std::vector<Prepared> prepared_;  // reserved once: no allocation per block
};
