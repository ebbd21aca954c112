// The conversion stream against the system's own codec manager (Wine's
// msacm32 and its IMA ADPCM codec): a WAV file recorded in IMA ADPCM opens
// again and its decoding stream prepares its five records.
#include "recorder/files/CodecStreamOpen.h"
#include "sound/CodecDriverProbe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "audiofile/PcmFormat.h"
#include "audiofile/WaveFile.h"
#include "sound/AcmCodecs.h"
#include "recorder/files/FileFormats.h"
#include "tests/recorder/FilesTestFolder.h"

namespace {

struct ConversionRecords {
    std::vector<uint8_t> blocks[kConversionRecords];
    ACMSTREAMHEADER headers[kConversionRecords]{};
    ACMSTREAMHEADER* pointers[kConversionRecords]{};
    ConversionRecords() {
        for (int i = 0; i < kConversionRecords; ++i) {
            blocks[i].assign(2 * kConversionRecordBytes, 0);
            headers[i].pbSrc = blocks[i].data();
            headers[i].pbDst = blocks[i].data() + kConversionRecordBytes;
            pointers[i] = &headers[i];
        }
    }
};

// One second of a 440 Hz tone through the open encoding stream.
std::vector<uint8_t> EncodeTone(AcmStream& stream, ACMSTREAMHEADER& record, const WAVEFORMATEX& pcm) {
    int16_t* samples = reinterpret_cast<int16_t*>(record.pbSrc);
    for (DWORD i = 0; i < pcm.nSamplesPerSec; ++i)
        samples[i] = static_cast<int16_t>(8000 * std::sin(i * 2 * 3.14159265 * 440 / pcm.nSamplesPerSec));
    record.cbSrcLength = pcm.nAvgBytesPerSec;
    if (stream.Convert(record, ACM_STREAMCONVERTF_BLOCKALIGN | ACM_STREAMCONVERTF_START) !=
        MMSYSERR_NOERROR)
        return {};
    return std::vector<uint8_t>(record.pbDst, record.pbDst + record.cbDstLengthUsed);
}

TEST(CodecStreamWineTest, ImaAdpcmWaveFileOpensAndItsStreamPrepares) {
    FilesTestFolder folder;
    const std::string path = folder / "adpcm.wav";
    WAVEFORMATEX capture = PcmFormat(1, 8000, 16);
    const std::vector<CodecDriverRecord> drivers = ProbeCodecDrivers();
    const DWORD largest = LargestFormatBytes(true);

    WaveFormatBuffer fileFormat;
    fileFormat->wFormatTag = WAVE_FORMAT_IMA_ADPCM;
    fileFormat->nChannels = 1;
    fileFormat->nSamplesPerSec = 8000;
    {
        ConversionRecords records;
        AcmStream encoder;
        CodecOpenRequest request;
        request.suggest = true;
        request.largestFormatBytes = largest;
        const CodecOpenResult opened =
            OpenCodecStream(request, drivers, fileFormat, capture, encoder, records.pointers);
        ASSERT_TRUE(opened.ok) << opened.failureMessage;
        EXPECT_EQ(opened.prepareFailures, 0);
        ASSERT_GT(fileFormat->nBlockAlign, 0);
        const std::vector<uint8_t> encoded = EncodeTone(encoder, records.headers[0], capture);
        ASSERT_FALSE(encoded.empty());
        EXPECT_TRUE(encoder.Close().Ok());

        WaveFile file(path.c_str(), fileFormat.Get(), MMIO_CREATE | MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        ASSERT_EQ(file.Write(encoded.data(), static_cast<uint32_t>(encoded.size())),
                  static_cast<int32_t>(encoded.size()));
        EXPECT_TRUE(file.Close());
    }

    WaveFile reopened(path.c_str(), nullptr, MMIO_READWRITE);
    ASSERT_TRUE(reopened.Open());
    ASSERT_NE(reopened.GetFormat(), nullptr);
    WaveFormatBuffer stored(*reopened.GetFormat());
    EXPECT_EQ(stored->wFormatTag, WAVE_FORMAT_IMA_ADPCM);
    WAVEFORMATEX playback = CaptureFormatFor(*stored.Get());
    ConversionRecords records;
    AcmStream decoder;
    CodecOpenRequest request;
    request.direction = CodecDirection::Decode;
    request.largestFormatBytes = largest;
    const CodecOpenResult opened = OpenCodecStream(request, drivers, stored, playback, decoder, records.pointers);
    ASSERT_TRUE(opened.ok) << opened.failureMessage;
    EXPECT_EQ(opened.prepareFailures, 0);
    EXPECT_EQ(decoder.PreparedCount(), static_cast<size_t>(kConversionRecords));
    EXPECT_FALSE(opened.codecReadout.empty());
    EXPECT_TRUE(decoder.Close().Ok());
}

}  // namespace
