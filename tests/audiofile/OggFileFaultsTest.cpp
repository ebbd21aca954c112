// Ogg files that the classes must refuse or read with care: a setup header
// this program's encoder does not make, a broken setup header, raw packets
// larger than a read buffer, and files too large for the 32-bit sizes.
#include <gtest/gtest.h>

#include <ogg/ogg.h>

#include <algorithm>

#include "audiofile/FileNames.h"
#include "audiofile/OggVorbisFile.h"
#include "audiofile/SpeexFile.h"
#include "tests/audiofile/OggTestSupport.h"
#include "tests/audiofile/TempFolder.h"
#include "tests/audiofile/WaveTestSupport.h"

namespace {

constexpr uint32_t kNew = MMIO_CREATE | MMIO_READWRITE;

void MakeVorbis(const std::string& path, int quality, int channels, DWORD rate) {
    const WAVEFORMATEX format = CodecFormat(kVorbisFormatTag, channels, rate);
    OggVorbisFile file(path.c_str(), &format, quality, kNew);
    ASSERT_TRUE(file.Open());
    ASSERT_TRUE(WriteTone(file, 1, channels, rate, rate / 5));
    ASSERT_TRUE(file.Close());
}

// Sets the 32-bit little-endian value at offset of page pageIndex's body and
// mends the page's checksum, as another encoder would have written it.
void PatchPage(const std::string& path, int pageIndex, size_t offset, uint32_t value, size_t bytes = 4) {
    std::string file = ReadAllBytes(path);
    size_t at = 0;
    for (int page = 0;; ++page) {
        ASSERT_LT(at + 27, file.size());
        auto* header = reinterpret_cast<unsigned char*>(&file[at]);
        const size_t headerBytes = 27u + header[26];
        size_t bodyBytes = 0;
        for (int i = 0; i < header[26]; ++i)
            bodyBytes += header[27 + i];
        if (page == pageIndex) {
            ASSERT_LE(offset + bytes, bodyBytes);
            for (size_t i = 0; i < bytes; ++i)
                header[headerBytes + offset + i] = static_cast<unsigned char>(value >> (8 * i));
            ogg_page image{header, static_cast<long>(headerBytes), header + headerBytes, static_cast<long>(bodyBytes)};
            ogg_page_checksum_set(&image);
            ASSERT_TRUE(WriteAllBytes(path, file));
            return;
        }
        at += headerBytes + bodyBytes;
    }
}

// Offset of the nominal bit rate in the Vorbis identification header.
constexpr size_t kNominalBitrateAt = 20;

TEST(OggFileFaults, VorbisSetupOfAnotherEncoderPlaysButRefusesAppends) {
    TempFolder folder;
    const std::string path = folder.File("other.ogg");
    MakeVorbis(path, 6, 1, 22050);
    // Its nominal rate now names quality 2, whose setup header is not the file's.
    PatchPage(path, 0, kNominalBitrateAt, static_cast<uint32_t>(VorbisBitrateFor(2, 22050, 1)));
    const uint64_t size = FileSize(path);
    {
        OggVorbisFile file(path.c_str(), nullptr, 4, MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        EXPECT_FALSE(file.CanAppend());
        const std::vector<int16_t> pcm = SineFrames(4410, 1, 440, 22050);
        EXPECT_EQ(file.WriteSamples(pcm.data(), 8820), OggVorbisFile::kSamplesFailed);
        EXPECT_NEAR(ToneFrequency(DecodeAll(file), 1, 22050), 440, 3);
        file.Close();
    }
    EXPECT_EQ(FileSize(path), size) << "nothing was appended";
    // The file as this program made it may be continued.
    const std::string own = folder.File("own.ogg");
    MakeVorbis(own, 6, 1, 22050);
    OggVorbisFile file(own.c_str(), nullptr, 4, MMIO_READWRITE);
    ASSERT_TRUE(file.Open());
    EXPECT_TRUE(file.CanAppend());
}

TEST(OggFileFaults, BrokenSetupHeaderFailsTheOpenAndNothingDecodes) {
    TempFolder folder;
    const std::string path = folder.File("broken.ogg");
    MakeVorbis(path, 3, 2, 16000);
    PatchPage(path, 2, 0, 7, 1);  // the setup header's packet type
    OggVorbisFile file(path.c_str(), nullptr, 3, MMIO_READWRITE);
    EXPECT_FALSE(file.Open());
    EXPECT_EQ(file.GetError(), statusNoFormat);
    std::vector<int16_t> pcm(4096, 1);
    EXPECT_EQ(file.ReadSamples(pcm.data(), 8192), 0u);
    EXPECT_EQ(file.WriteSamples(pcm.data(), 8192), OggVorbisFile::kSamplesFailed);
    EXPECT_TRUE(file.Close());
}

// Packets the decoder refuses (header-type packets where audio belongs) are
// passed over: what decodes comes out and reading ends.
TEST(OggFileFaults, PacketsTheDecoderRefusesArePassedOver) {
    TempFolder folder;
    const std::string path = folder.File("junk.ogg");
    const WAVEFORMATEX format = CodecFormat(kVorbisFormatTag, 1, 8000);
    {
        OggVorbisFile file(path.c_str(), &format, 3, kNew);
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(WriteTone(file, 1, 1, 8000, 1600));
        ASSERT_TRUE(file.Flush());
        std::vector<unsigned char> record(kOggPacketRecordBytes + 300, 0x01);
        ogg_packet packet{};
        packet.bytes = 300;
        for (int i = 0; i < 20; ++i) {
            packet.granulepos = 9000 + 100 * i;
            PutOggPacketRecord(record.data(), packet);
            ASSERT_EQ(file.Write(record.data(), static_cast<uint32_t>(record.size())),
                      static_cast<int32_t>(record.size()));
        }
        file.Close();
    }
    OggVorbisFile file(path.c_str(), nullptr, 3, MMIO_READ);
    ASSERT_TRUE(file.Open());
    const std::vector<int16_t> pcm = DecodeAll(file);
    EXPECT_NEAR(static_cast<double>(pcm.size()), 8000, 1024);
    EXPECT_NEAR(ToneFrequency(pcm, 1, 8000), 440, 3);
    std::vector<int16_t> more(1024);
    EXPECT_EQ(file.ReadSamples(more.data(), 2048), 0u);
}

// A record of a packet of bytes counted n, filled with a pattern.
std::vector<unsigned char> PacketRecord(uint32_t bytes) {
    ogg_packet packet{};
    packet.bytes = static_cast<long>(bytes);
    packet.granulepos = 160;
    std::vector<unsigned char> record(kOggPacketRecordBytes + bytes);
    PutOggPacketRecord(record.data(), packet);
    for (uint32_t i = 0; i < bytes; ++i)
        record[kOggPacketRecordBytes + i] = static_cast<unsigned char>(i * 7 + i / 251);
    return record;
}

TEST(OggFileFaults, RawPacketsLargerThanTheReadBufferComeBackWhole) {
    TempFolder folder;
    const std::string path = folder.File("raw.spx");
    const WAVEFORMATEX format = CodecFormat(kSpeexFormatTag, 1, 8000);
    // 70000 bytes: more than one page holds.
    const std::vector<uint32_t> sizes = {5000, 70000, 10};
    {
        SpeexFile file(path.c_str(), &format, 4, kNew);
        ASSERT_TRUE(file.Open());
        for (uint32_t bytes : sizes) {
            const std::vector<unsigned char> record = PacketRecord(bytes);
            ASSERT_EQ(file.Write(record.data(), static_cast<uint32_t>(record.size())),
                      static_cast<int32_t>(record.size()));
        }
        EXPECT_TRUE(file.Close());
    }
    SpeexFile file(path.c_str(), nullptr, 4, MMIO_READ);
    ASSERT_TRUE(file.Open());
    for (uint32_t bytes : sizes) {
        SCOPED_TRACE(bytes);
        // In pieces of 4096 bytes, the record's head in the first.
        std::vector<unsigned char> whole;
        unsigned char piece[4096];
        while (whole.size() < kOggPacketRecordBytes ||
               whole.size() < kOggPacketRecordBytes + ReadLE32(whole.data() + 4)) {
            const int32_t got = file.Read(piece, sizeof piece);
            ASSERT_GT(got, 0);
            whole.insert(whole.end(), piece, piece + got);
        }
        const std::vector<unsigned char> expected = PacketRecord(bytes);
        ASSERT_EQ(whole.size(), expected.size()) << "one Read never mixes two records";
        EXPECT_TRUE(std::equal(whole.begin() + kOggPacketRecordBytes, whole.end(),
                               expected.begin() + kOggPacketRecordBytes));
    }
}

// A file past 4 GiB (sparse: only its start is written) cannot be counted in
// the 32-bit sizes and is refused, untouched.
TEST(OggFileFaults, FilesPastFourGigabytesAreRefused) {
    TempFolder folder;
    const std::string path = folder.File("huge.ogg");
    MakeVorbis(path, 3, 1, 8000);
    const int64_t size = 0x100000000LL + 4096;
    ASSERT_TRUE(SetFileSize(path, size));
    for (uint32_t mode : {uint32_t{MMIO_READ}, uint32_t{MMIO_READWRITE}}) {
        OggVorbisFile file(path.c_str(), nullptr, 3, mode);
        EXPECT_FALSE(file.Open());
        EXPECT_EQ(file.GetError(), statusCannotOpen);
    }
    EXPECT_EQ(FileSize(path), static_cast<uint64_t>(size));
}

}  // namespace
