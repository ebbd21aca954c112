// A fake codec manager for tests. It offers drivers with format tags and
// formats that a test may change (by default an IMA ADPCM driver, tag 17, and
// an MPEG Layer-3 driver, tag 85), answers the detail, enumeration and
// suggestion questions from them, and converts deterministically: the
// destination length follows the two byte rates and every destination byte is
// derived from the source, so a test can tell which block went where.
// Like the real manager it finishes each conversion inside the convert call,
// refuses to unprepare a header whose lengths changed since it was prepared,
// and refuses to close a stream that still has prepared headers. It records
// every call and the flags of each conversion and suggestion, and any call
// can be made to fail.
#pragma once

#include "sound/AcmServices.h"
#include "sound/WaveFormatBuffer.h"

#include <map>
#include <string>
#include <vector>

enum class AcmCall {
    Metrics, DriverEnum, DriverDetails, DriverOpen, DriverClose, DriverId, FormatTagDetails,
    FormatDetails, FormatEnum, FormatSuggest, StreamOpen, StreamPrepareHeader,
    StreamUnprepareHeader, StreamConvert, StreamReset, StreamClose
};

struct FakeAcmFormat {
    WaveFormatBuffer format;
    std::string name;  // e.g. "64 kBit/s, 44100 Hz, Stereo"
};

struct FakeAcmTag {
    WORD tag = 0;
    std::string name;  // e.g. "MPEG Layer-3"
    std::vector<FakeAcmFormat> formats;
};

struct FakeAcmDriver {
    std::string shortName;
    std::string longName;
    DWORD support = ACMDRIVERDETAILS_SUPPORTF_CODEC;
    std::vector<FakeAcmTag> tags;
};

class FakeAcm : public AcmServices {
public:
    FakeAcm();  // the IMA ADPCM and MPEG Layer-3 drivers
    ~FakeAcm() override;

    // --- set-up ---
    std::vector<FakeAcmDriver> drivers;
    DWORD maxFormatBytes = 50;  // what ACM_METRIC_MAX_SIZE_FORMAT reports
    // As LAME's encoder: after a conversion, unpreparing a header of the
    // stream writes this many bytes of 0xEE (the encoder's last frames) into
    // its destination and cbDstLengthUsed, and ends the encoder; preparing a
    // header starts it afresh, and what it held is lost. With it set, what
    // that encoder would have spoilt is counted: a prepare after conversions
    // (audio lost inside a run) and a start-flagged conversion on an ended
    // encoder (a run that does not start afresh).
    DWORD tailAtUnprepare = 0;
    int tailsLostAtPrepare = 0;
    int startsOnEndedEncoder = 0;
    // The next `times` calls of that kind return result (times < 0: all;
    // 0: none again).
    void Fail(AcmCall call, MMRESULT result, int times = 1);

    static FakeAcmFormat Mp3Format(WORD channels, DWORD samplesPerSecond, DWORD kbps);
    static FakeAcmFormat ImaAdpcmFormat(WORD channels, DWORD samplesPerSecond);
    static FakeAcmDriver Mp3Driver();
    static FakeAcmDriver ImaAdpcmDriver();
    // The identity the manager gives drivers[index].
    static HACMDRIVERID DriverIdOf(size_t index);

    // --- inspection ---
    std::vector<std::string> calls;        // platform names in call order
    std::vector<DWORD> convertFlags;       // of every acmStreamConvert
    std::vector<DWORD> suggestFlags;       // of every acmFormatSuggest
    HACMDRIVER lastStreamDriver = nullptr; // driver handle given to the last stream open
    WaveFormatBuffer lastStreamSource;     // source format of the last stream opened
    int OpenDrivers() const { return int(openDrivers_.size()); }
    int OpenStreams() const { return int(streams_.size()); }
    int PreparedHeaders() const;
    int Count(const std::string& call) const;

    // --- AcmServices ---
    MMRESULT Metrics(HACMOBJ object, UINT metric, DWORD& value) override;
    MMRESULT DriverEnum(const AcmDriverVisitor& visit, DWORD flags) override;
    MMRESULT DriverDetails(HACMDRIVERID driverId, ACMDRIVERDETAILSA& details) override;
    MMRESULT DriverOpen(HACMDRIVER& driver, HACMDRIVERID driverId) override;
    MMRESULT DriverClose(HACMDRIVER driver) override;
    MMRESULT DriverId(HACMOBJ object, HACMDRIVERID& driverId) override;
    MMRESULT FormatTagDetails(HACMDRIVER driver, ACMFORMATTAGDETAILSA& details, DWORD flags) override;
    MMRESULT FormatDetails(HACMDRIVER driver, ACMFORMATDETAILSA& details, DWORD flags) override;
    MMRESULT FormatEnum(HACMDRIVER driver, ACMFORMATDETAILSA& details, const AcmFormatVisitor& visit,
                        DWORD flags) override;
    MMRESULT FormatSuggest(HACMDRIVER driver, const WAVEFORMATEX& source, WAVEFORMATEX* destination,
                           DWORD destinationBytes, DWORD flags) override;
    MMRESULT StreamOpen(HACMSTREAM& stream, HACMDRIVER driver, const WAVEFORMATEX& source,
                        const WAVEFORMATEX& destination, DWORD flags) override;
    MMRESULT StreamPrepareHeader(HACMSTREAM stream, ACMSTREAMHEADER& header) override;
    MMRESULT StreamUnprepareHeader(HACMSTREAM stream, ACMSTREAMHEADER& header) override;
    MMRESULT StreamConvert(HACMSTREAM stream, ACMSTREAMHEADER& header, DWORD flags) override;
    MMRESULT StreamReset(HACMSTREAM stream) override;
    MMRESULT StreamClose(HACMSTREAM stream) override;

private:
    struct Failure {
        MMRESULT result;
        int times;
    };
    struct Stream {
        size_t driverIndex;
        WaveFormatBuffer source, destination;
        std::map<ACMSTREAMHEADER*, std::pair<DWORD, DWORD>> prepared;  // lengths when prepared
        bool holdsTail = false;  // converted since the tail was last given
        bool ended = false;      // unprepared since the last prepare
    };
    // A driver's format that one side of a conversion uses.
    struct Match {
        size_t driverIndex;
        const FakeAcmTag* tag;
        const FakeAcmFormat* format;
    };

    MMRESULT Enter(AcmCall call, const char* name);
    // -1: no such driver; for a null handle every driver is searched.
    int DriverIndexOfHandle(HACMDRIVER driver) const;
    std::vector<Match> Formats(HACMDRIVER driver, bool& badHandle) const;
    const FakeAcmTag* FindTag(HACMDRIVER driver, WORD tag, bool& badHandle) const;
    Stream* FindStream(HACMSTREAM stream);
    void Convert(const Stream& stream, ACMSTREAMHEADER& header, DWORD flags) const;

    std::map<AcmCall, Failure> failures_;
    std::map<HACMDRIVER, size_t> openDrivers_;
    std::map<HACMSTREAM, Stream> streams_;
    unsigned nextHandle_ = 0x7800;
};
