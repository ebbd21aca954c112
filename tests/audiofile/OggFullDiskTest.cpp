// Run by ogg_full_disk.sh, which passes a folder on a small file system in
// LARKSPUR_FULL_DIR: once the disk is full, the writes of the Ogg classes
// must fail, and the failure must reach the caller.
#include <gtest/gtest.h>

#include <cstdlib>

#include "audiofile/FileNames.h"
#include "audiofile/OggVorbisFile.h"
#include "audiofile/SpeexFile.h"
#include "tests/audiofile/OggTestSupport.h"

namespace {

std::string FullDir() {
    const char* dir = std::getenv("LARKSPUR_FULL_DIR");
    return dir ? dir : "";
}

constexpr uint32_t kNew = MMIO_CREATE | MMIO_READWRITE;
// Far more than the disk holds at any of these rates.
constexpr double kSeconds = 120;

template <class File>
void FullDiskFailsTheWrite(const char* name, WORD tag, int channels, DWORD rate, int quality) {
    if (FullDir().empty())
        GTEST_SKIP() << "run through ogg_full_disk.sh";
    const std::string path = FullDir() + "\\" + name;
    const WAVEFORMATEX format = CodecFormat(tag, channels, rate);
    {
        File file(path.c_str(), &format, quality, kNew);
        ASSERT_TRUE(file.Open());
        EXPECT_FALSE(WriteTone(file, kSeconds, channels, rate, rate / 5)) << "every write was taken";
        EXPECT_FALSE(file.Close());
    }
    EXPECT_GT(FileSize(path), 32u * 1024) << "it failed before the disk was full";
    DeleteFileA(path.c_str());
    DeleteFileA(RecFile::JournalNameFor(path).c_str());
}

TEST(OggFullDisk, VorbisWriteSamplesFails) {
    FullDiskFailsTheWrite<OggVorbisFile>("full.ogg", kVorbisFormatTag, 2, 44100, 6);
}

TEST(OggFullDisk, SpeexWriteSamplesFails) {
    FullDiskFailsTheWrite<SpeexFile>("full.spx", kSpeexFormatTag, 1, 32000, 10);
}

TEST(OggFullDisk, RawPacketWriteFails) {
    if (FullDir().empty())
        GTEST_SKIP() << "run through ogg_full_disk.sh";
    const std::string path = FullDir() + "\\raw.spx";
    const WAVEFORMATEX format = CodecFormat(kSpeexFormatTag, 1, 8000);
    {
        SpeexFile file(path.c_str(), &format, 4, kNew);
        ASSERT_TRUE(file.Open());
        std::vector<unsigned char> record(kOggPacketRecordBytes + 1000, 0x5A);
        ogg_packet packet{};
        packet.bytes = 1000;
        int32_t result = 0;
        int accepted = 0;
        for (; accepted < 100000; ++accepted) {
            packet.granulepos = 160 * (accepted + 1);
            PutOggPacketRecord(record.data(), packet);
            result = file.Write(record.data(), static_cast<uint32_t>(record.size()));
            if (result < 0)
                break;
        }
        EXPECT_EQ(result, -1);
        EXPECT_GT(accepted, 32) << "it failed before the disk was full";
        EXPECT_FALSE(file.Close());
    }
    DeleteFileA(path.c_str());
    DeleteFileA(RecFile::JournalNameFor(path).c_str());
}

}  // namespace
