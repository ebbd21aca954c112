// Proves id3lib's in-place tag rewrite and Wine's codec manager work from
// our cross-built program: the two platform pieces most likely to surprise.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include <id3/tag.h>

namespace {

std::string TempPath(const char* name) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

void WriteFakeMp3(const std::string& path) {
    // Two MPEG-1 Layer III frame headers with zero payload: enough for id3lib.
    std::vector<unsigned char> bytes(2 * 417, 0);
    const unsigned char header[4] = {0xFF, 0xFB, 0x90, 0x64};
    std::memcpy(&bytes[0], header, 4);
    std::memcpy(&bytes[417], header, 4);
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

}  // namespace

TEST(TagSmoke, PrivFrameSurvivesRewriteInPlace) {
    std::printf("id3lib: %s\n", ID3LIB_FULL_NAME);
    const std::string path = TempPath("larkspur_smoke.mp3");
    WriteFakeMp3(path);
    const unsigned char payload[] = "annotation text 0123456789";
    {
        ID3_Tag tag(path.c_str());
        auto* frame = new ID3_Frame(ID3FID_PRIVATE);
        frame->GetField(ID3FN_OWNER)->Set("larkspur smoke");
        frame->GetField(ID3FN_DATA)->Set(payload, sizeof payload);
        tag.AttachFrame(frame);
        tag.Update(ID3TT_ID3V2);
    }
    {
        ID3_Tag tag(path.c_str());
        ASSERT_TRUE(tag.HasV2Tag());
        ID3_Frame* frame = tag.Find(ID3FID_PRIVATE);
        ASSERT_NE(nullptr, frame);
        ID3_Field* data = frame->GetField(ID3FN_DATA);
        ASSERT_EQ(sizeof payload, data->Size());
        EXPECT_EQ(0, std::memcmp(payload, data->GetRawBinary(), sizeof payload));
    }
    // id3lib rewrites through the temporary copy NAME.XXXXXX; none may be left behind.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((path + ".XXXXXX").c_str()));
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

TEST(AcmSmoke, ImaAdpcmConvertsOneBlock) {
    WAVEFORMATEX pcm{};
    pcm.wFormatTag = WAVE_FORMAT_PCM;
    pcm.nChannels = 1;
    pcm.nSamplesPerSec = 11025;
    pcm.wBitsPerSample = 16;
    pcm.nBlockAlign = 2;
    pcm.nAvgBytesPerSec = pcm.nSamplesPerSec * pcm.nBlockAlign;

    DWORD maxSize = 0;
    ASSERT_EQ(MMSYSERR_NOERROR, acmMetrics(nullptr, ACM_METRIC_MAX_SIZE_FORMAT, &maxSize));
    std::vector<unsigned char> dstBuf(maxSize);
    auto* dst = reinterpret_cast<WAVEFORMATEX*>(dstBuf.data());
    dst->wFormatTag = WAVE_FORMAT_IMA_ADPCM;
    ASSERT_EQ(MMSYSERR_NOERROR,
              acmFormatSuggest(nullptr, &pcm, dst, maxSize, ACM_FORMATSUGGESTF_WFORMATTAG));
    EXPECT_EQ(WAVE_FORMAT_IMA_ADPCM, dst->wFormatTag);

    HACMSTREAM stream = nullptr;
    ASSERT_EQ(MMSYSERR_NOERROR, acmStreamOpen(&stream, nullptr, &pcm, dst, nullptr, 0, 0, 0));
    std::vector<short> src(pcm.nSamplesPerSec);
    for (size_t i = 0; i < src.size(); ++i) src[i] = short(8000 * std::sin(i * 0.3));
    std::vector<unsigned char> out(src.size() * 2);
    ACMSTREAMHEADER hdr{};
    hdr.cbStruct = sizeof hdr;
    hdr.pbSrc = reinterpret_cast<BYTE*>(src.data());
    hdr.cbSrcLength = DWORD(src.size() * 2);
    hdr.pbDst = out.data();
    hdr.cbDstLength = DWORD(out.size());
    ASSERT_EQ(MMSYSERR_NOERROR, acmStreamPrepareHeader(stream, &hdr, 0));
    EXPECT_EQ(MMSYSERR_NOERROR, acmStreamConvert(stream, &hdr, ACM_STREAMCONVERTF_BLOCKALIGN));
    EXPECT_GT(hdr.cbDstLengthUsed, 0u);
    EXPECT_LT(hdr.cbDstLengthUsed, hdr.cbSrcLengthUsed);  // it compressed
    EXPECT_EQ(MMSYSERR_NOERROR, acmStreamUnprepareHeader(stream, &hdr, 0));
    EXPECT_EQ(MMSYSERR_NOERROR, acmStreamClose(stream, 0));
}
