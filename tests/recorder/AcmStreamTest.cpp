// Conversion streams and codec questions against the fake codec manager, and
// one real conversion through Wine's IMA ADPCM codec.
#include "sound/AcmCodecs.h"
#include "audiofile/PcmFormat.h"
#include "sound/AcmStream.h"
#include "sound/WaveFormatBuffer.h"
#include "tests/fakes/FakeAcm.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr DWORD kBufferBytes = 450000;  // the recorder's conversion buffers

// The recorder's five conversion records.
struct Records {
    Records() {
        for (size_t i = 0; i < headers.size(); ++i) {
            source[i].assign(kBufferBytes, 0);
            destination[i].assign(kBufferBytes, 0);
            headers[i] = ACMSTREAMHEADER{};
            headers[i].cbStruct = sizeof(ACMSTREAMHEADER);
            headers[i].pbSrc = source[i].data();
            headers[i].cbSrcLength = kBufferBytes;
            headers[i].pbDst = destination[i].data();
            headers[i].cbDstLength = kBufferBytes;
        }
    }
    bool PrepareAll(AcmStream& stream) {
        for (auto& h : headers) {
            if (stream.Prepare(h) != MMSYSERR_NOERROR) return false;
        }
        return true;
    }
    std::array<ACMSTREAMHEADER, 5> headers;
    std::array<std::vector<BYTE>, 5> source, destination;
};

const WAVEFORMATEX kPcm = PcmFormat(2, 44100, 16);
const FakeAcmFormat kMp3 = FakeAcm::Mp3Format(2, 44100, 128);

}  // namespace

TEST(AcmStream, CloseResetsUnpreparesWithThePreparedLengthsAndCloses) {
    FakeAcm acm;
    Records records;
    {
        AcmStream stream(acm);
        ASSERT_EQ(MMSYSERR_NOERROR, stream.Open(nullptr, kPcm, *kMp3.format.Get()));
        ASSERT_TRUE(records.PrepareAll(stream));
        // Each block lowers the source length; the manager only unprepares
        // a header whose lengths are those it was prepared with.
        records.headers[2].cbSrcLength = kPcm.nAvgBytesPerSec / 5;
        ASSERT_EQ(MMSYSERR_NOERROR, stream.Convert(records.headers[2], ACM_STREAMCONVERTF_BLOCKALIGN));

        const std::vector<std::string>::size_type before = acm.calls.size();
        EXPECT_TRUE(stream.Close().Ok());
        const std::vector<std::string> teardown(acm.calls.begin() + before, acm.calls.end());
        EXPECT_EQ((std::vector<std::string>{"acmStreamReset", "acmStreamUnprepareHeader", "acmStreamUnprepareHeader",
                                            "acmStreamUnprepareHeader", "acmStreamUnprepareHeader",
                                            "acmStreamUnprepareHeader", "acmStreamClose"}),
                  teardown);
        EXPECT_EQ(kBufferBytes, records.headers[2].cbSrcLength);
        EXPECT_TRUE(stream.Close().Ok());  // idempotent
        EXPECT_EQ(before + teardown.size(), acm.calls.size());
    }
    EXPECT_EQ(0, acm.OpenStreams());
    EXPECT_EQ(0, acm.PreparedHeaders());
}

TEST(AcmStream, TheDestructorTearsDownAndFailingStepsAreReported) {
    FakeAcm acm;
    Records records;
    {
        AcmStream stream(acm);
        ASSERT_EQ(MMSYSERR_NOERROR, stream.Open(nullptr, kPcm, *kMp3.format.Get()));
        ASSERT_TRUE(records.PrepareAll(stream));
    }
    EXPECT_EQ(0, acm.OpenStreams());

    AcmStream stream(acm);
    ASSERT_EQ(MMSYSERR_NOERROR, stream.Open(nullptr, kPcm, *kMp3.format.Get()));
    ASSERT_TRUE(records.PrepareAll(stream));
    acm.Fail(AcmCall::StreamUnprepareHeader, MMSYSERR_ERROR);
    const int unpreparesBefore = acm.Count("acmStreamUnprepareHeader");
    const AcmCloseResult result = stream.Close();
    EXPECT_EQ(MMSYSERR_ERROR, result.unprepare);
    EXPECT_EQ(5, acm.Count("acmStreamUnprepareHeader") - unpreparesBefore);  // the rest were still tried
    EXPECT_FALSE(stream.IsOpen());
}

TEST(AcmStream, ConvertsEachBlockWithTheCallersFlagsAndIsDoneOnReturn) {
    FakeAcm acm;
    Records records;
    AcmStream stream(acm);
    ASSERT_EQ(MMSYSERR_NOERROR, stream.Open(nullptr, kPcm, *kMp3.format.Get()));
    ASSERT_TRUE(records.PrepareAll(stream));

    const DWORD block = kPcm.nAvgBytesPerSec / 5;  // 200 ms
    const DWORD flags[] = {ACM_STREAMCONVERTF_BLOCKALIGN | ACM_STREAMCONVERTF_START, ACM_STREAMCONVERTF_BLOCKALIGN};
    for (size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        ACMSTREAMHEADER& h = records.headers[i];
        h.cbSrcLength = block;
        ASSERT_EQ(MMSYSERR_NOERROR, stream.Convert(h, flags[i]));
        EXPECT_NE(0u, h.fdwStatus & ACMSTREAMHEADER_STATUSF_DONE);
        EXPECT_EQ(block, h.cbSrcLengthUsed);
        EXPECT_EQ(128000u / 8 / 5, h.cbDstLengthUsed);  // 200 ms at 128 kbit/s
    }
    EXPECT_EQ(std::vector<DWORD>(std::begin(flags), std::end(flags)), acm.convertFlags);

    // A block longer than the buffer prepared, or an unprepared header, is refused.
    records.headers[3].cbSrcLength = kBufferBytes + 1;
    EXPECT_EQ(MMSYSERR_INVALPARAM, stream.Convert(records.headers[3], ACM_STREAMCONVERTF_BLOCKALIGN));
    records.headers[3].cbSrcLength = block;
    records.headers[3].cbDstLength = kBufferBytes + 1;
    EXPECT_EQ(MMSYSERR_INVALPARAM, stream.Convert(records.headers[3], ACM_STREAMCONVERTF_BLOCKALIGN));
    ACMSTREAMHEADER stray = records.headers[4];
    EXPECT_EQ(ACMERR_UNPREPARED, stream.Convert(stray, ACM_STREAMCONVERTF_BLOCKALIGN));
    EXPECT_EQ(2u, acm.convertFlags.size());
}

TEST(AcmStream, QueryOpensNothingAndNamesTheDriverBehindAStream) {
    FakeAcm acm;
    EXPECT_EQ(MMSYSERR_NOERROR, AcmStream::Query(nullptr, kPcm, *kMp3.format.Get(), acm));
    const WAVEFORMATEX mono = PcmFormat(1, 44100, 16);  // channels differ: no codec converts
    EXPECT_EQ(ACMERR_NOTPOSSIBLE, AcmStream::Query(nullptr, mono, *kMp3.format.Get(), acm));
    EXPECT_EQ(0, acm.OpenStreams());

    AcmStream stream(acm);
    ASSERT_EQ(MMSYSERR_NOERROR, stream.Open(nullptr, kPcm, *kMp3.format.Get()));
    EXPECT_EQ(FakeAcm::DriverIdOf(1), stream.DriverId());
    acm.Fail(AcmCall::StreamOpen, ACMERR_NOTPOSSIBLE);
    EXPECT_EQ(ACMERR_NOTPOSSIBLE, stream.Open(nullptr, kPcm, *kMp3.format.Get()));
    EXPECT_FALSE(stream.IsOpen());
    EXPECT_EQ(0, acm.OpenStreams());  // the first stream was closed before reopening
}

TEST(AcmCodecs, KeepsTheLargestFormatSizeWithinTheFormatBuffers) {
    struct Case {
        bool codecs;
        DWORD reported;
        bool fails;
        DWORD expected;
    };
    const Case cases[] = {
        {false, 50, false, 18}, {true, 50, false, 50}, {true, 10, false, 18},
        {true, 65000, false, 2000}, {true, 50, true, 18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reported);
        FakeAcm acm;
        acm.maxFormatBytes = c.reported;
        if (c.fails) acm.Fail(AcmCall::Metrics, MMSYSERR_ERROR);
        EXPECT_EQ(c.expected, LargestFormatBytes(c.codecs, acm));
    }
}

TEST(AcmCodecs, NamesFormatTagsAndReportsMissingOnes) {
    FakeAcm acm;
    std::string name = "unchanged";
    EXPECT_EQ(ACMERR_NOTPOSSIBLE, FormatTagName(nullptr, 0x161, name, acm));
    EXPECT_EQ("unchanged", name);
    EXPECT_EQ(MMSYSERR_NOERROR, FormatTagName(nullptr, kFormatTagMp3, name, acm));
    EXPECT_EQ("MPEG Layer-3", name);
}

// Wine's own codec manager and its IMA ADPCM codec: one 200 ms block.
TEST(AcmWine, ImaAdpcmStreamConvertsOneBlockAndIsDoneOnReturn) {
    const WAVEFORMATEX pcm = PcmFormat(1, 11025, 16);
    WaveFormatBuffer ima;
    ima->wFormatTag = WAVE_FORMAT_IMA_ADPCM;
    ASSERT_EQ(MMSYSERR_NOERROR,
              Acm().FormatSuggest(nullptr, pcm, ima.Get(), WaveFormatBuffer::RoomBytes(), ACM_FORMATSUGGESTF_WFORMATTAG));
    ASSERT_EQ(WAVE_FORMAT_IMA_ADPCM, ima->wFormatTag);

    Records records;
    AcmStream stream;
    ASSERT_EQ(MMSYSERR_NOERROR, stream.Open(nullptr, pcm, *ima.Get()));
    ASSERT_TRUE(records.PrepareAll(stream));
    ACMSTREAMHEADER& h = records.headers[0];
    const DWORD block = pcm.nAvgBytesPerSec / 5;
    auto* samples = reinterpret_cast<short*>(h.pbSrc);
    for (DWORD i = 0; i < block / 2; ++i) samples[i] = short(8000 * std::sin(i * 0.3));
    h.cbSrcLength = block;
    ASSERT_EQ(MMSYSERR_NOERROR, stream.Convert(h, ACM_STREAMCONVERTF_BLOCKALIGN | ACM_STREAMCONVERTF_START));
    EXPECT_NE(0u, h.fdwStatus & ACMSTREAMHEADER_STATUSF_DONE);
    EXPECT_GT(h.cbDstLengthUsed, 0u);
    EXPECT_LT(h.cbDstLengthUsed, h.cbSrcLengthUsed);
    EXPECT_TRUE(stream.Close().Ok());  // lengths put back: every header unprepares
}

// Wine's codec manager calls our visitors from inside its enumerations; the
// format pages list what PCM converts to this way.
TEST(AcmWine, EnumeratesDriversAndWhatPcmConvertsTo) {
    int drivers = 0;
    ASSERT_EQ(MMSYSERR_NOERROR, Acm().DriverEnum([&](HACMDRIVERID, DWORD) { return ++drivers < 100; }, 0));
    EXPECT_GT(drivers, 0);

    const WAVEFORMATEX pcm = PcmFormat(1, 11025, 16);
    WaveFormatBuffer slot(pcm);
    ACMFORMATDETAILSA details{};
    details.cbStruct = sizeof details;
    details.pwfx = slot.Get();
    details.cbwfx = LargestFormatBytes(true);
    const DWORD convertible = ACM_FORMATENUMF_CONVERT | ACM_FORMATENUMF_NCHANNELS | ACM_FORMATENUMF_NSAMPLESPERSEC;
    int listed = 0, imaAdpcm = 0;
    ASSERT_EQ(MMSYSERR_NOERROR, Acm().FormatEnum(nullptr, details,
                                                 [&](HACMDRIVERID, const ACMFORMATDETAILSA& d, DWORD) {
                                                     ++listed;
                                                     EXPECT_EQ(1, d.pwfx->nChannels);
                                                     EXPECT_EQ(11025u, d.pwfx->nSamplesPerSec);
                                                     imaAdpcm += d.pwfx->wFormatTag == WAVE_FORMAT_IMA_ADPCM;
                                                     return true;
                                                 },
                                                 convertible));
    EXPECT_GT(imaAdpcm, 0);

    // A visitor that answers false ends the enumeration at once. (The record
    // must be set up afresh: Wine's manager refuses one an enumeration filled.)
    slot.Assign(pcm);
    const DWORD room = details.cbwfx;
    details = ACMFORMATDETAILSA{};
    details.cbStruct = sizeof details;
    details.pwfx = slot.Get();
    details.cbwfx = room;
    int visited = 0;
    EXPECT_EQ(MMSYSERR_NOERROR,
              Acm().FormatEnum(nullptr, details,
                               [&](HACMDRIVERID, const ACMFORMATDETAILSA&, DWORD) { return ++visited < 0; },
                               convertible));
    EXPECT_EQ(1, visited);
    EXPECT_GT(listed, 1);
}
