#include "audiofile/SpeexFile.h"

#include <gtest/gtest.h>
#include <speex/speex_header.h>

#include <cstring>

#include "audiofile/FileNames.h"
#include "tests/audiofile/OggTestSupport.h"
#include "tests/audiofile/TempFolder.h"

namespace {

WAVEFORMATEX SpeexFormat(int channels, DWORD rate) { return CodecFormat(kSpeexFormatTag, channels, rate); }

constexpr uint32_t kNew = MMIO_CREATE | MMIO_READWRITE;

TEST(SpeexFileTest, EveryBandInMonoAndStereo) {
    EXPECT_EQ(SpeexModeForRate(12500), 0);
    EXPECT_EQ(SpeexModeForRate(25000), 1);
    EXPECT_EQ(SpeexModeForRate(32000), 2);
    TempFolder folder;
    const struct { DWORD rate; int channels; int frame; } cases[] = {
        {8000, 1, 160}, {8000, 2, 160}, {16000, 1, 320}, {16000, 2, 320}, {32000, 1, 640}, {32000, 2, 640},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.rate) + " Hz, channels " + std::to_string(c.channels));
        const std::string path = folder.File("s" + std::to_string(c.rate) + "_" + std::to_string(c.channels) + ".spx");
        const WAVEFORMATEX format = SpeexFormat(c.channels, c.rate);
        {
            SpeexFile file(path.c_str(), &format, 8, kNew);
            ASSERT_TRUE(file.Open());
            EXPECT_EQ(file.FrameSize(), c.frame);
            EXPECT_EQ(file.Comments().PacketSize(), kOggCommentLimit);
            EXPECT_EQ(file.Comments().Vendor().rfind("Encoded with Speex ", 0), 0u);
            ASSERT_TRUE(WriteTone(file, 1, c.channels, c.rate, c.rate / 5));
            EXPECT_TRUE(file.Close());
        }
        SpeexFile file(path.c_str(), nullptr, -1, MMIO_READ);
        ASSERT_TRUE(file.Open());
        EXPECT_EQ(file.GetFormat()->nChannels, c.channels);
        EXPECT_EQ(file.GetLength(), c.rate);
        EXPECT_EQ(file.GetTag("bar").value_or(""), "foo");
        const std::vector<int16_t> pcm = DecodeAll(file, 1000);  // less than a frame per call
        EXPECT_NEAR(static_cast<double>(pcm.size()) / c.channels, c.rate, c.frame);
        EXPECT_NEAR(ToneFrequency(pcm, c.channels, c.rate), 440, 8);
    }
}

TEST(SpeexFileTest, CallsThatEndInsideAFrameLoseNoSample) {
    TempFolder folder;
    const std::string path = folder.File("odd.spx");
    const WAVEFORMATEX format = SpeexFormat(1, 11025);
    {
        SpeexFile file(path.c_str(), &format, 5, kNew);
        ASSERT_TRUE(file.Open());
        const std::vector<int16_t> few(100);
        EXPECT_EQ(file.WriteSamples(few.data(), 200), 200u) << "a part frame is kept, not dropped";
        ASSERT_TRUE(WriteTone(file, 2, 1, 11025, 2205));  // 200 ms calls
        EXPECT_TRUE(file.Close());
    }
    SpeexFile file(path.c_str(), nullptr, -1, MMIO_READWRITE);
    ASSERT_TRUE(file.Open());
    EXPECT_EQ(file.GetLength(), 100u + 2 * 11025);
    EXPECT_GE(DecodeAll(file).size(), 100u + 2 * 11025);
    EXPECT_EQ(file.Quality(), SpeexQualityForBitrate(file.GetAvgBytesPerSec() * 8, 11025, 1));
}

TEST(SpeexFileTest, QualityForBitRate) {
    const long low = SpeexBitrateFor(0, 8000, 1);
    const long high = SpeexBitrateFor(10, 8000, 1);
    EXPECT_LT(low, high);
    EXPECT_EQ(SpeexBitrateFor(4, 8000, 1), SpeexBitrateFor(4, 8000, 2));
    EXPECT_EQ(SpeexQualityForBitrate(low, 8000, 1), 0);
    EXPECT_EQ(SpeexQualityForBitrate(high, 8000, 1), 10);
    EXPECT_EQ(SpeexQualityForBitrate(high + 1, 8000, 1), -1);
}

// A stream by hand: Speex header, comment, then one audio page of the given
// packet size that ends the stream.
void WriteHandMadeStream(const std::string& path, int framesPerPacket, int audioBytes) {
    SpeexHeader header;
    speex_init_header(&header, 8000, 1, speex_lib_get_mode(0));
    header.frames_per_packet = framesPerPacket;
    int size = 0;
    char* id = speex_header_to_packet(&header, &size);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 77);
    FILE* out = fopen(path.c_str(), "wb");
    auto put = [&](ogg_packet& packet) {
        ogg_stream_packetin(&stream, &packet);
        ogg_page page;
        while (ogg_stream_flush(&stream, &page)) {
            fwrite(page.header, 1, page.header_len, out);
            fwrite(page.body, 1, page.body_len, out);
        }
    };
    ogg_packet packet{};
    packet.packet = reinterpret_cast<unsigned char*>(id);
    packet.bytes = size;
    packet.b_o_s = 1;
    put(packet);
    speex_header_free(id);
    OggCommentBlock comments;
    comments.SetVendor("by hand");
    OggOwnedPacket comment = comments.SerializeCommentPacket(nullptr, 0);
    comment.packet.packetno = 1;
    put(comment.packet);
    std::vector<unsigned char> audio(static_cast<size_t>(audioBytes), 0x55);
    packet = ogg_packet{};
    packet.packet = audio.data();
    packet.bytes = audioBytes;
    packet.granulepos = 160;
    packet.packetno = 2;
    packet.e_o_s = 1;
    put(packet);
    fclose(out);
    ogg_stream_clear(&stream);
}

struct PageWalk { int pages = 0, endPages = 0; bool inOrder = true; bool lastEnds = false; };

PageWalk WalkPages(const std::string& path) {
    PageWalk walk;
    FILE* in = fopen(path.c_str(), "rb");
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    ogg_page page;
    for (;;) {
        if (ogg_sync_pageout(&sync, &page) == 1) {
            walk.inOrder = walk.inOrder && ogg_page_pageno(&page) == walk.pages;
            walk.lastEnds = ogg_page_eos(&page) != 0;
            walk.endPages += walk.lastEnds;
            ++walk.pages;
            continue;
        }
        char* buffer = ogg_sync_buffer(&sync, 4096);
        const size_t got = fread(buffer, 1, 4096, in);
        if (got == 0)
            break;
        ogg_sync_wrote(&sync, static_cast<long>(got));
    }
    ogg_sync_clear(&sync);
    fclose(in);
    return walk;
}

TEST(SpeexFileTest, AppendsAfterALastPageLargerThanFourKilobytes) {
    TempFolder folder;
    const std::string path = folder.File("big.spx");
    WriteHandMadeStream(path, 1, 20000);
    {
        SpeexFile file(path.c_str(), nullptr, 4, MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        EXPECT_EQ(file.GetLength(), 160u);
        ASSERT_TRUE(WriteTone(file, 1, 1, 8000, 1600));
        EXPECT_TRUE(file.Close());
    }
    const PageWalk walk = WalkPages(path);
    EXPECT_TRUE(walk.inOrder);
    EXPECT_EQ(walk.endPages, 1);
    EXPECT_TRUE(walk.lastEnds);
    SpeexFile file(path.c_str(), nullptr, 4, MMIO_READ);
    ASSERT_TRUE(file.Open());
    EXPECT_EQ(file.GetLength(), 160u + 8000);
}

TEST(SpeexFileTest, DamagedLastPageRefusesTheWrite) {
    TempFolder folder;
    const std::string path = folder.File("damaged.spx");
    WriteHandMadeStream(path, 1, 3000);
    const uint64_t size = FileSize(path);
    FILE* f = fopen(path.c_str(), "rb+");
    fseek(f, -10, SEEK_END);
    fputc(0, f);
    fclose(f);
    SpeexFile file(path.c_str(), nullptr, 4, MMIO_READWRITE);
    ASSERT_TRUE(file.Open());
    const std::vector<int16_t> pcm = SineFrames(1600, 1, 440, 8000);
    EXPECT_EQ(file.WriteSamples(pcm.data(), 3200), SpeexFile::kSamplesFailed);
    file.Close();
    EXPECT_EQ(FileSize(path), size);
}

TEST(SpeexFileTest, ForeignHeaderWithoutFramesIsRefused) {
    TempFolder folder;
    const std::string path = folder.File("zero.spx");
    WriteHandMadeStream(path, 0, 100);
    SpeexFile file(path.c_str(), nullptr, 4, MMIO_READ);
    EXPECT_FALSE(file.Open());
    EXPECT_EQ(file.GetError(), statusNoFormat);
}

// Speex encoders other than ours end the comment packet after the last
// comment, without a framing byte; adding an annotation keeps what they wrote.
TEST(SpeexFileTest, CommentsOfAnotherEncoderAreKeptBesideOurs) {
    TempFolder folder;
    const std::string path = folder.File("other.spx");
    const WAVEFORMATEX format = SpeexFormat(1, 8000);
    {
        SpeexFile file(path.c_str(), &format, 4, kNew);
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(WriteTone(file, 1, 1, 8000, 1600));
        ASSERT_TRUE(file.Close());
    }
    OggCommentBlock theirs;
    theirs.SetVendor("Other encoder 2.0");
    theirs.Add("TITLE", "spoken");
    theirs.Add("ARTIST", "someone");
    OggOwnedPacket packet = theirs.SerializeCommentPacket(nullptr, 0);
    packet.data.pop_back();
    packet.packet.packet = packet.data.data();
    packet.packet.bytes = static_cast<long>(packet.data.size());
    ASSERT_TRUE(RewriteOggHeaders(path, packet, 2));
    {
        SpeexFile file(path.c_str(), nullptr, 4, MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        EXPECT_EQ(file.GetTag("TITLE").value_or(""), "spoken");
        file.AddComment("our note", 0, 0);
        EXPECT_TRUE(file.Close());
    }
    SpeexFile file(path.c_str(), nullptr, 4, MMIO_READ);
    ASSERT_TRUE(file.Open());
    EXPECT_EQ(file.Comments().Vendor(), "Other encoder 2.0");
    EXPECT_EQ(file.GetTag("TITLE").value_or(""), "spoken");
    EXPECT_EQ(file.GetTag("ARTIST").value_or(""), "someone");
    ASSERT_EQ(file.CommentCount(), 1);
    EXPECT_EQ(file.GetCommentText(0), "our note");
    EXPECT_NEAR(static_cast<double>(DecodeAll(file).size()), 8000.0, 320);
}

TEST(SpeexFileTest, RawPacketRecordsRoundTrip) {
    TempFolder folder;
    const std::string source = folder.File("src.spx");
    const std::string copy = folder.File("copy.spx");
    const WAVEFORMATEX format = SpeexFormat(1, 8000);
    {
        SpeexFile file(source.c_str(), &format, 6, kNew);
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(WriteTone(file, 1, 1, 8000, 1600));
        EXPECT_TRUE(file.Close());
    }
    SpeexFile in(source.c_str(), nullptr, 6, MMIO_READ);
    ASSERT_TRUE(in.Open());
    SpeexFile out(copy.c_str(), &format, 6, kNew);
    ASSERT_TRUE(out.Open());
    unsigned char record[4096];
    int packets = 0;
    for (int32_t got; (got = in.Read(record, sizeof record)) > 0; ++packets) {
        ASSERT_GE(got, static_cast<int32_t>(kOggPacketRecordBytes));
        EXPECT_EQ(ReadLE32(record + 4) + kOggPacketRecordBytes, static_cast<uint32_t>(got));
        if (ReadLE32(record + 4) == 0)
            continue;  // the end-of-stream packet
        EXPECT_EQ(out.Write(record, static_cast<uint32_t>(got)), got);
    }
    EXPECT_EQ(packets, 51);  // 50 frames and the end of the stream
    // A record claiming more data than it was given is refused.
    WriteLE32(record + 4, 5000);
    EXPECT_EQ(out.Write(record, 100), -1);
    EXPECT_TRUE(out.Close());
    SpeexFile check(copy.c_str(), nullptr, 6, MMIO_READ);
    ASSERT_TRUE(check.Open());
    EXPECT_NEAR(ToneFrequency(DecodeAll(check), 1, 8000), 440, 8);
}

}  // namespace
