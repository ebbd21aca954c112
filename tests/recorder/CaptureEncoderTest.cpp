#include "recorder/capture/CaptureEncoder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A block codec that converts whole blocks of 4 bytes into 1 byte (their
// first byte), leaving the rest unconverted; with the end flag it converts
// a partial block as well.
struct BlockCodec {
    std::vector<DWORD> flags;
    MMRESULT fail = MMSYSERR_NOERROR;

    MMRESULT operator()(ACMSTREAMHEADER& rec, DWORD f)
    {
        flags.push_back(f);
        if (fail != MMSYSERR_NOERROR)
            return fail;
        const DWORD whole = (f & ACM_STREAMCONVERTF_END) ? (rec.cbSrcLength + 3) / 4 : rec.cbSrcLength / 4;
        for (DWORD i = 0; i < whole; ++i)
            rec.pbDst[i] = rec.pbSrc[4 * i];
        rec.cbDstLengthUsed = whole;
        rec.cbSrcLengthUsed = (f & ACM_STREAMCONVERTF_END) ? rec.cbSrcLength : whole * 4;
        rec.fdwStatus |= ACMSTREAMHEADER_STATUSF_DONE;
        return MMSYSERR_NOERROR;
    }
};

struct Record {
    std::vector<uint8_t> src = std::vector<uint8_t>(64), dst = std::vector<uint8_t>(64);
    ACMSTREAMHEADER rec{};
    Record()
    {
        rec.cbStruct = sizeof rec;
        rec.pbSrc = src.data();
        rec.pbDst = dst.data();
        rec.cbSrcLength = rec.cbDstLength = 64;
    }
};

TEST(CaptureEncoder, CarriesTheRemainderAndFlushesAtTheEnd)
{
    BlockCodec codec;
    CaptureEncoder encoder;
    encoder.Begin([&](ACMSTREAMHEADER& r, DWORD f) { return codec(r, f); });
    Record record;
    std::vector<uint8_t> out;
    uint32_t source = 0;
    auto collect = [&](const uint8_t* d, uint32_t n, uint32_t used) {
        out.insert(out.end(), d, d + n);
        source += used;
    };
    std::vector<uint8_t> pcm(22);
    for (size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = static_cast<uint8_t>(i);

    EXPECT_EQ(MMSYSERR_NOERROR, encoder.Encode(record.rec, 64, pcm.data(), 10, collect));
    EXPECT_EQ(2u, encoder.CarriedBytes());
    EXPECT_EQ(MMSYSERR_NOERROR, encoder.Encode(record.rec, 64, pcm.data() + 10, 10, collect));
    EXPECT_EQ(0u, encoder.CarriedBytes());
    EXPECT_EQ(MMSYSERR_NOERROR, encoder.Encode(record.rec, 64, pcm.data() + 20, 2, collect));
    EXPECT_EQ(MMSYSERR_NOERROR, encoder.Finish(record.rec, 64, collect));

    EXPECT_EQ((std::vector<uint8_t>{0, 4, 8, 12, 16, 20}), out);  // no byte of input lost
    EXPECT_EQ(22u, source);
    ASSERT_EQ(4u, codec.flags.size());
    EXPECT_EQ(DWORD(ACM_STREAMCONVERTF_BLOCKALIGN | ACM_STREAMCONVERTF_START), codec.flags[0]);
    EXPECT_EQ(DWORD(ACM_STREAMCONVERTF_BLOCKALIGN), codec.flags[1]);
    EXPECT_EQ(DWORD(ACM_STREAMCONVERTF_END), codec.flags[3]);
    EXPECT_TRUE(encoder.AtStart());
}

TEST(CaptureEncoder, SplitsInputLargerThanTheRecord)
{
    BlockCodec codec;
    CaptureEncoder encoder;
    encoder.Begin([&](ACMSTREAMHEADER& r, DWORD f) { return codec(r, f); });
    Record record;
    std::vector<uint8_t> pcm(150, 7);
    uint32_t source = 0;
    EXPECT_EQ(MMSYSERR_NOERROR, encoder.Encode(record.rec, 64, pcm.data(), 150,
                                               [&](const uint8_t*, uint32_t, uint32_t used) { source += used; }));
    EXPECT_EQ(148u, source);
    EXPECT_EQ(2u, encoder.CarriedBytes());
}

TEST(CaptureEncoder, NothingToFinishWithoutConversion)
{
    BlockCodec codec;
    CaptureEncoder encoder;
    encoder.Begin([&](ACMSTREAMHEADER& r, DWORD f) { return codec(r, f); });
    Record record;
    EXPECT_EQ(MMSYSERR_NOERROR, encoder.Finish(record.rec, 64, [](const uint8_t*, uint32_t, uint32_t) {}));
    EXPECT_TRUE(codec.flags.empty());
}

TEST(CaptureEncoder, FailureIsReportedAndTheRunGoesOn)
{
    BlockCodec codec;
    codec.fail = MMSYSERR_ERROR;
    CaptureEncoder encoder;
    encoder.Begin([&](ACMSTREAMHEADER& r, DWORD f) { return codec(r, f); });
    Record record;
    std::vector<uint8_t> pcm(8, 1);
    auto ignore = [](const uint8_t*, uint32_t, uint32_t) {};
    EXPECT_EQ(MMSYSERR_ERROR, encoder.Encode(record.rec, 64, pcm.data(), 6, ignore));
    codec.fail = MMSYSERR_NOERROR;
    EXPECT_EQ(MMSYSERR_NOERROR, encoder.Encode(record.rec, 64, pcm.data(), 8, ignore));
    EXPECT_EQ(0u, encoder.CarriedBytes());
}

}  // namespace
