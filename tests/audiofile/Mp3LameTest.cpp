// MP3 files made by lame (mp3_lame.sh puts them in LARKSPUR_MP3_DIR): the
// frame scan, the ID3v1 block, ID3v2 tags through id3lib, appending, and
// reading where no encoder is installed.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include <id3/tag.h>

#include "audiofile/Annotations.h"
#include "audiofile/FileNames.h"
#include "audiofile/Mp3File.h"
#include "tests/audiofile/TempFolder.h"
#include "tests/audiofile/WaveTestSupport.h"
#include "tests/audiofile/WithoutMp3Encoder.h"

namespace {

std::string Mp3Dir() {
    const char* dir = std::getenv("LARKSPUR_MP3_DIR");
    return dir ? dir : "";
}

std::vector<uint8_t> ReadAll(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        uint8_t chunk[4096];
        size_t got;
        while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0)
            bytes.insert(bytes.end(), chunk, chunk + got);
        std::fclose(f);
    }
    return bytes;
}

// A working copy of a fixture in the test's own folder.
std::string CopyFixture(const TempFolder& folder, const char* name) {
    const std::string to = folder.File(name);
    CopyFileA((Mp3Dir() + "\\" + name).c_str(), to.c_str(), FALSE);
    return to;
}

class Mp3Lame : public ::testing::Test {
protected:
    void SetUp() override {
        if (Mp3Dir().empty())
            GTEST_SKIP() << "run through mp3_lame.sh";
        Mp3File::EnableTag(true);
    }
    void TearDown() override { Mp3File::EnableTag(true); }
    TempFolder folder_;
};

struct Fixture {
    const char* name;
    uint32_t rate;
    uint16_t channels;
    uint32_t bitRate;
    bool id3v1;
};

}  // namespace

TEST_F(Mp3Lame, FrameScanFindsFormatAndLength) {
    const Fixture fixtures[] = {
        {"m1.mp3", 44100, 2, 128000, false},        {"m1_v1.mp3", 44100, 2, 128000, true},
        {"m2_16k_v2.mp3", 16000, 1, 64000, false},  {"m2_22k_v1v2.mp3", 22050, 1, 32000, true},
        {"m25_8k.mp3", 8000, 1, 16000, false},
    };
    for (const Fixture& fx : fixtures) {
        SCOPED_TRACE(fx.name);
        const std::string path = Mp3Dir() + "\\" + fx.name;
        const std::vector<uint8_t> bytes = ReadAll(path);
        ASSERT_GT(bytes.size(), 1000u);
        const uint32_t start = Id3v2TagBytes(bytes.data());
        const uint32_t expected =
            static_cast<uint32_t>(bytes.size()) - start - (fx.id3v1 ? 128u : 0u);
        Mp3File file(path.c_str(), nullptr, MMIO_READ);
        ASSERT_TRUE(file.Open()) << file.GetError();
        EXPECT_EQ(file.GetFileType(), ftMp3);
        EXPECT_EQ(file.GetDataLength(), expected);
        EXPECT_EQ(file.HasId3v1(), fx.id3v1);
        EXPECT_EQ(file.GetFormat()->wFormatTag, 85);
        EXPECT_EQ(file.GetFormat()->nSamplesPerSec, fx.rate);
        EXPECT_EQ(file.GetFormat()->nChannels, fx.channels);
        EXPECT_EQ(file.GetAvgBytesPerSec(), fx.bitRate / 8);
        EXPECT_EQ(file.GetPcmFormat().nSamplesPerSec, fx.rate);
        EXPECT_TRUE(file.CanEncode());
        // Reading stops at the end of the frames: the ID3v1 block is no audio.
        std::vector<uint8_t> all(bytes.size());
        uint32_t total = 0;
        int32_t got;
        while ((got = file.Read(all.data() + total, 5000)) > 0)
            total += static_cast<uint32_t>(got);
        EXPECT_EQ(total, expected);
        EXPECT_EQ(std::memcmp(all.data(), bytes.data() + start, 4), 0);
        // Positioning resyncs to a frame start and counts the skipped bytes.
        ASSERT_TRUE(file.Position(1001));
        uint8_t header[2];
        ASSERT_EQ(file.Read(header, 2), 2);
        EXPECT_TRUE(IsFrameSync(header[0], header[1]));
        EXPECT_GT(file.GetPosition(), 1001u);
    }
}

TEST_F(Mp3Lame, Id3v1FieldsAreEditedInPlace) {
    const std::string path = CopyFixture(folder_, "m1_v1.mp3");
    const std::vector<uint8_t> before = ReadAll(path);
    {
        Mp3File file(path.c_str(), nullptr, MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        std::string value;
        ASSERT_TRUE(file.GetId3v1Field("TITLE", value));
        EXPECT_EQ(value, "Old title");
        EXPECT_FALSE(file.SetId3v1Field("year", "2024"));
        EXPECT_FALSE(file.SetId3v1Field("comment", "new"));
        ASSERT_TRUE(file.Close());
    }
    const std::vector<uint8_t> after = ReadAll(path);
    ASSERT_EQ(after.size(), before.size());
    const size_t tag = after.size() - 128;
    EXPECT_EQ(std::memcmp(after.data(), before.data(), tag + 93), 0);  // frames, title..album
    EXPECT_EQ(std::memcmp(&after[tag + 93], "2024", 4), 0);
    EXPECT_EQ(std::memcmp(&after[tag + 97], "new\0\0", 5), 0);
    EXPECT_EQ(after[tag + 127], before[tag + 127]);  // the genre
}

TEST_F(Mp3Lame, AppendingKeepsTheId3v1Block) {
    const std::string path = CopyFixture(folder_, "m1_v1.mp3");
    const std::vector<uint8_t> before = ReadAll(path);
    std::vector<uint8_t> frames(before.begin(), before.end() - 128);
    {
        Mp3File file(path.c_str(), nullptr, MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        ASSERT_EQ(file.Write(frames.data(), 4180), 4180);
        EXPECT_EQ(file.GetDataLength(), frames.size() + 4180);
        ASSERT_TRUE(file.Close());
    }
    // Closing wrote the annotations into a new ID3v2 tag in front.
    const std::vector<uint8_t> after = ReadAll(path);
    ASSERT_EQ(after.size(), Id3v2TagBytes(after.data()) + before.size() + 4180);
    EXPECT_EQ(std::memcmp(&after[after.size() - 128], &before[before.size() - 128], 128), 0);
    Mp3File again(path.c_str(), nullptr, MMIO_READ);
    ASSERT_TRUE(again.Open());
    EXPECT_EQ(again.GetDataLength(), frames.size() + 4180);
}

TEST_F(Mp3Lame, Id3v2TagsThroughId3lib) {
    const std::string path = CopyFixture(folder_, "m2_16k_v2.mp3");
    Mp3File file(path.c_str(), nullptr, MMIO_READWRITE);
    ASSERT_TRUE(file.Open());
    const uint32_t length = file.GetDataLength();
    ASSERT_TRUE(file.Position(2000));
    const uint32_t position = file.GetPosition();
    EXPECT_EQ(file.GetTag("title").value_or(""), "Tagged");
    // An existing text frame is kept; the file stays open and usable.
    EXPECT_FALSE(file.SetTag("Title", "Another"));
    EXPECT_TRUE(file.IsOpen());
    EXPECT_EQ(file.GetTag("title").value_or(""), "Tagged");
    // The annotation's private frame, and again (replaced).
    const std::string text = "segment 0 1700000000\r\ncomment 100 200 hello\r\n";
    ASSERT_TRUE(file.SetTag(kAnnotationKey, "first"));
    ASSERT_TRUE(file.SetTag("QUILLMOOR TIMECODE", text));
    EXPECT_EQ(file.GetTag(kAnnotationKey).value_or(""), text);
    ASSERT_TRUE(file.SetTag("artist", "Someone"));
    EXPECT_EQ(file.GetDataLength(), length);
    EXPECT_EQ(file.GetPosition(), position);
    uint8_t header[2];
    ASSERT_EQ(file.Read(header, 2), 2);
    EXPECT_TRUE(IsFrameSync(header[0], header[1]));
    ASSERT_TRUE(file.Close());
    EXPECT_FALSE(FileExists(path + ".XXXXXX"));
    Mp3File again(path.c_str(), nullptr, MMIO_READ);
    ASSERT_TRUE(again.Open());
    EXPECT_EQ(again.GetDataLength(), length);
    EXPECT_EQ(again.GetTag("artist").value_or(""), "Someone");
    std::string artist;
    EXPECT_TRUE(again.GetId3v1Field("artist", artist));
    EXPECT_EQ(artist, "Someone");
}

TEST_F(Mp3Lame, TagSwitchOffWritesNoId3v2) {
    const std::string path = CopyFixture(folder_, "m25_8k.mp3");
    Mp3File::EnableTag(false);
    Mp3File file(path.c_str(), nullptr, MMIO_READWRITE);
    ASSERT_TRUE(file.Open());
    // Not stored in the file: false, so that the annotations' journal stays.
    EXPECT_FALSE(file.SetTag(kAnnotationKey, "annotations"));
    ASSERT_TRUE(file.Close());
    const std::vector<uint8_t> bytes = ReadAll(path);
    EXPECT_EQ(Id3v2TagBytes(bytes.data()), 0u);
}

// With the switch off, a changed recording is still saved: Update succeeds,
// the annotations stay in the journal, and the journal follows a rename.
TEST_F(Mp3Lame, TagSwitchOffSavesAndRenamesWithTheJournal) {
    const std::string path = CopyFixture(folder_, "m25_8k.mp3");
    const std::string renamed = folder_.File("renamed.mp3");
    Mp3File::EnableTag(false);
    {
        Mp3File file(path.c_str(), nullptr, MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        file.AddComment("kept in the journal", 100, 0);
        EXPECT_TRUE(file.Update());
        ASSERT_TRUE(file.Rename(renamed));
        EXPECT_FALSE(FileExists(path));
        EXPECT_FALSE(FileExists(RecFile::JournalNameFor(path)));
        EXPECT_TRUE(FileExists(RecFile::JournalNameFor(renamed)));
        EXPECT_EQ(file.CommentCount(), 1);
        EXPECT_TRUE(file.Close());
    }
    EXPECT_EQ(Id3v2TagBytes(ReadAll(renamed).data()), 0u);
    for (uint32_t mode : {uint32_t{MMIO_READ}, uint32_t{MMIO_READWRITE}}) {
        Mp3File again(renamed.c_str(), nullptr, mode);
        ASSERT_TRUE(again.Open());
        ASSERT_EQ(again.CommentCount(), 1);
        EXPECT_EQ(again.GetCommentText(0), "kept in the journal");
        EXPECT_TRUE(again.Close());
    }
}

// A rename onto a file with a journal of its own: that journal went with the
// replaced file and is never read as the renamed file's, neither over its tag
// nor, tags off, over the older frame that holds its annotations.
TEST_F(Mp3Lame, RenameOntoAFileWithAJournalLeavesThatJournalOut) {
    const auto texts = [](const RecFile& file) {
        std::vector<std::string> all;
        for (int i = 0; i < file.CommentCount(); ++i)
            all.push_back(file.GetCommentText(i));
        return all;
    };
    const std::vector<std::string> own = {"own"};
    for (bool tags : {true, false}) {
        SCOPED_TRACE(tags ? "tags on" : "tags off");
        const std::string from = CopyFixture(folder_, "m25_8k.mp3");
        Mp3File::EnableTag(true);
        {
            Mp3File file(from.c_str(), nullptr, MMIO_READWRITE);
            ASSERT_TRUE(file.Open());
            file.AddComment("own", 100, 0);
            ASSERT_TRUE(file.Close());
        }
        Mp3File::EnableTag(tags);
        const std::string target = folder_.File(tags ? "on.mp3" : "off.mp3");
        ASSERT_TRUE(CopyFileA((Mp3Dir() + "\\m1.mp3").c_str(), target.c_str(), FALSE));
        ASSERT_TRUE(WriteAllBytes(RecFile::JournalNameFor(target), BuildJournalImage({}, {{5, 0, "stale"}})));
        {
            Mp3File file(from.c_str(), nullptr, MMIO_READWRITE);
            ASSERT_TRUE(file.Open());
            ASSERT_TRUE(file.Rename(target));
            EXPECT_EQ(texts(file), own);
            EXPECT_TRUE(file.Close());
        }
        EXPECT_FALSE(FileExists(RecFile::JournalNameFor(target)));
        Mp3File again(target.c_str(), nullptr, MMIO_READ);
        ASSERT_TRUE(again.Open());
        EXPECT_EQ(texts(again), own);
    }
}

// Saved once with tags on, changed later with tags off: the old annotation
// frame stays in the file, the journal holds the newer annotations, and a
// read-only opening shows them as a writable one does.
TEST_F(Mp3Lame, TagSwitchOffJournalWinsOverAnOlderFrameForEveryOpening) {
    const std::string path = CopyFixture(folder_, "m25_8k.mp3");
    {
        Mp3File file(path.c_str(), nullptr, MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        file.AddComment("older", 100, 0);
        ASSERT_TRUE(file.Close());
    }
    Mp3File::EnableTag(false);
    {
        Mp3File file(path.c_str(), nullptr, MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        ASSERT_EQ(file.CommentCount(), 1);
        file.ClearComments();
        file.AddComment("newer", 200, 0);
        ASSERT_TRUE(file.Close());
    }
    const std::vector<uint8_t> bytes = ReadAll(path);
    ASSERT_NE(std::string(bytes.begin(), bytes.end()).find("COMMENT 100\t0\tolder"), std::string::npos)
        << "the older frame is still in the file";
    for (uint32_t mode : {uint32_t{MMIO_READ}, uint32_t{MMIO_READWRITE}}) {
        SCOPED_TRACE(mode);
        Mp3File again(path.c_str(), nullptr, mode);
        ASSERT_TRUE(again.Open());
        ASSERT_EQ(again.CommentCount(), 1);
        EXPECT_EQ(again.GetCommentText(0), "newer");
    }
}

// Another program's private frame is neither read as the annotation nor
// replaced by it.
TEST_F(Mp3Lame, PrivateFramesOfOtherProgramsAreKept) {
    const std::string path = CopyFixture(folder_, "m2_16k_v2.mp3");
    const char theirData[] = "1 2 3 their own data";
    {
        ID3_Tag tag;
        tag.Link(path.c_str(), ID3TT_ID3V2);
        auto* frame = new ID3_Frame(ID3FID_PRIVATE);
        frame->GetField(ID3FN_OWNER)->Set("http://other.example/");
        frame->GetField(ID3FN_DATA)->Set(reinterpret_cast<const uchar*>(theirData), sizeof theirData);
        tag.AttachFrame(frame);
        tag.Update(ID3TT_ID3V2);
    }
    {
        Mp3File file(path.c_str(), nullptr, MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        EXPECT_FALSE(file.GetTag(kAnnotationKey).has_value());
        file.AddComment("ours", 10, 0);
        EXPECT_TRUE(file.Close());
    }
    ID3_Tag tag;
    tag.Link(path.c_str(), ID3TT_ID3V2);
    int theirs = 0, ours = 0;
    std::unique_ptr<ID3_Tag::Iterator> frames(tag.CreateIterator());
    while (const ID3_Frame* frame = frames->GetNext()) {
        if (frame->GetID() != ID3FID_PRIVATE)
            continue;
        const std::string owner = frame->GetField(ID3FN_OWNER)->GetRawText();
        const ID3_Field* data = frame->GetField(ID3FN_DATA);
        const std::string value(reinterpret_cast<const char*>(data->GetRawBinary()), data->Size());
        if (owner == "http://other.example/" && value == std::string(theirData, sizeof theirData))
            ++theirs;
        else if (value.find("COMMENT 10") != std::string::npos)
            ++ours;
    }
    EXPECT_EQ(theirs, 1);
    EXPECT_EQ(ours, 1);
    Mp3File again(path.c_str(), nullptr, MMIO_READ);
    ASSERT_TRUE(again.Open());
    ASSERT_EQ(again.CommentCount(), 1);
    EXPECT_EQ(again.GetCommentText(0), "ours");
}

// Record-overwrite that runs past the end of the frames by less than the
// ID3v1 block: the block is written again after them, not left half
// overwritten and read as audio.
TEST_F(Mp3Lame, OverwritePastTheEndKeepsTheId3v1Block) {
    const std::string path = CopyFixture(folder_, "m1_v1.mp3");
    const std::vector<uint8_t> before = ReadAll(path);
    const uint32_t frames = static_cast<uint32_t>(before.size()) - 128;
    const std::vector<uint8_t> patch(150, 0x55);
    {
        Mp3File file(path.c_str(), nullptr, MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        ASSERT_EQ(file.GetDataLength(), frames);
        file.SetOverwrite(true);
        ASSERT_TRUE(file.Position(frames - 100));
        const uint32_t at = file.GetPosition();
        ASSERT_EQ(file.Write(patch.data(), 150), 150);
        EXPECT_EQ(file.GetDataLength(), at + 150);
        ASSERT_TRUE(file.Close());
    }
    const std::vector<uint8_t> after = ReadAll(path);
    EXPECT_EQ(std::memcmp(&after[after.size() - 128], &before[before.size() - 128], 128), 0);
    Mp3File again(path.c_str(), nullptr, MMIO_READ);
    ASSERT_TRUE(again.Open());
    EXPECT_TRUE(again.HasId3v1());
    std::string title;
    EXPECT_TRUE(again.GetId3v1Field("title", title));
    EXPECT_EQ(title, "Old title");
}

// Frames no installed codec reads before the first one that a codec reads:
// Open passes over them, and so does the reopening after a tag rewrite.
TEST_F(Mp3Lame, DataStartAfterATagRewriteSkipsFramesNoCodecReads) {
    const std::vector<uint8_t> frames = ReadAll(Mp3Dir() + "\\m1.mp3");
    // MPEG-1 layer 2, 384 kbit/s: no MP3 encoder has that format.
    const uint8_t header[4] = {0xFF, 0xFD, 0xE0, 0xC4};
    Mp3FrameHeader unread;
    ASSERT_TRUE(ParseFrameHeader(header, unread));
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 2; ++i) {
        bytes.insert(bytes.end(), header, header + 4);
        bytes.resize(bytes.size() + unread.frameBytes - 4, 0);
    }
    bytes.insert(bytes.end(), frames.begin(), frames.end());
    const std::string path = folder_.File("unread.mp3");
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    WithoutMp3Decoders onlyTheEncoder;
    ASSERT_TRUE(onlyTheEncoder.RemovedOne());
    Mp3File file(path.c_str(), nullptr, MMIO_READWRITE);
    ASSERT_TRUE(file.Open());
    ASSERT_EQ(file.GetDataLength(), frames.size());
    ASSERT_TRUE(file.SetTag("album", "after unread frames"));
    EXPECT_EQ(file.GetDataLength(), frames.size());
    ASSERT_TRUE(file.Position(0));
    uint8_t first[4];
    ASSERT_EQ(file.Read(first, 4), 4);
    EXPECT_EQ(std::memcmp(first, frames.data(), 4), 0);
}

// Bytes before the first frame that look like a frame sync: after id3lib
// rewrote the tag, the data starts where Open found it, so the audio read
// back is the same and what is appended lands after it.
TEST_F(Mp3Lame, DataStartAfterATagRewriteSkipsJunkAsOpenDoes) {
    const std::vector<uint8_t> frames = ReadAll(Mp3Dir() + "\\m1.mp3");
    std::vector<uint8_t> junk = {0xFF, 0xFB, 0x90, 0x00};
    junk.resize(16, 0);
    const std::string path = folder_.File("junk.mp3");
    {
        std::vector<uint8_t> bytes = junk;
        bytes.insert(bytes.end(), frames.begin(), frames.end());
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_TRUE(f);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    Mp3File file(path.c_str(), nullptr, MMIO_READWRITE);
    ASSERT_TRUE(file.Open());
    ASSERT_EQ(file.GetDataLength(), frames.size());
    ASSERT_TRUE(file.SetTag("album", "after the junk"));
    EXPECT_EQ(file.GetDataLength(), frames.size());
    ASSERT_TRUE(file.Position(0));
    std::vector<uint8_t> audio(frames.size() + 16);
    ASSERT_EQ(file.Read(audio.data(), static_cast<uint32_t>(audio.size())), static_cast<int32_t>(frames.size()));
    EXPECT_EQ(std::memcmp(audio.data(), frames.data(), frames.size()), 0);
    ASSERT_EQ(file.Write(frames.data(), 4180), 4180);
    ASSERT_TRUE(file.Close());
    Mp3File again(path.c_str(), nullptr, MMIO_READ);
    ASSERT_TRUE(again.Open());
    EXPECT_EQ(again.GetDataLength(), frames.size() + 4180);
    EXPECT_EQ(again.GetTag("album").value_or(""), "after the junk");
}

TEST_F(Mp3Lame, NewFileRoundTrip) {
    // Frames taken from a lame file, written into a new file of that format.
    Mp3File source((Mp3Dir() + "\\m2_16k_v2.mp3").c_str(), nullptr, MMIO_READ);
    ASSERT_TRUE(source.Open());
    std::vector<uint8_t> frames(source.GetDataLength());
    ASSERT_EQ(source.Read(frames.data(), static_cast<uint32_t>(frames.size())),
              static_cast<int32_t>(frames.size()));
    const std::string path = folder_.File("new.mp3");
    {
        Mp3File file(path.c_str(), source.GetFormat(), MMIO_READWRITE | MMIO_CREATE);
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(file.SetTag("album", "before the audio"));
        ASSERT_EQ(file.Write(frames.data(), static_cast<uint32_t>(frames.size())),
                  static_cast<int32_t>(frames.size()));
        ASSERT_TRUE(file.Close());
    }
    Mp3File again(path.c_str(), nullptr, MMIO_READ);
    ASSERT_TRUE(again.Open()) << again.GetError();
    EXPECT_EQ(again.GetDataLength(), frames.size());
    EXPECT_EQ(again.GetTag("album").value_or(""), "before the audio");
    // Closing stored the annotations (the signature of the new recording).
    EXPECT_NE(again.GetTag(kAnnotationKey).value_or("").find("SIGNATURE"), std::string::npos);
    EXPECT_EQ(again.GetFormat()->nSamplesPerSec, 16000u);
}

// The multimedia file offsets are signed 32-bit: a file of 2 GiB or more (sparse)
// is refused, not misread, and a file just below may not grow past them.
TEST_F(Mp3Lame, FilesOfTwoGigabytesAreRefused) {
    const std::string path = CopyFixture(folder_, "m1.mp3");
    ASSERT_TRUE(SetFileSize(path, 0x7FFFFFFFLL));
    {
        Mp3File file(path.c_str(), nullptr, MMIO_READWRITE);
        ASSERT_TRUE(file.Open()) << file.GetError();
        EXPECT_GT(file.GetDataLength(), 0x7FF00000u);
        const uint8_t frame[4] = {0xFF, 0xFB, 0x92, 0x44};
        if (file.CanEncode()) {
            EXPECT_EQ(file.Write(frame, 4), -1);
        }
        EXPECT_TRUE(file.Close());
    }
    EXPECT_EQ(FileSize(path), 0x7FFFFFFFull);
    for (int64_t size : {0x80000000LL, 0x100000000LL + 4096}) {
        SCOPED_TRACE(size);
        ASSERT_TRUE(SetFileSize(path, size));
        for (uint32_t mode : {uint32_t{MMIO_READ}, uint32_t{MMIO_READWRITE}}) {
            Mp3File file(path.c_str(), nullptr, mode);
            EXPECT_FALSE(file.Open());
            EXPECT_EQ(file.GetError(), statusCannotOpen);
            EXPECT_FALSE(file.IsOpen());
        }
        EXPECT_EQ(FileSize(path), static_cast<uint64_t>(size));
    }
}

TEST_F(Mp3Lame, ReadsWithoutAnEncoder) {
    WithoutMp3Encoder noEncoder;
    if (!noEncoder.RemovedOne())
        GTEST_SKIP() << "LAME's ACM driver is not installed";
    for (const char* name : {"m1_v1.mp3", "m2_16k_v2.mp3"}) {
        SCOPED_TRACE(name);
        const std::string path = CopyFixture(folder_, name);
        Mp3File file(path.c_str(), nullptr, MMIO_READWRITE);
        ASSERT_TRUE(file.Open()) << file.GetError();
        EXPECT_FALSE(file.CanEncode());
        EXPECT_GT(file.GetDataLength(), 0u);
        uint8_t bytes[4];
        EXPECT_EQ(file.Read(bytes, 4), 4);
        EXPECT_EQ(file.Write(bytes, 4), 0);  // no appending without an encoder
    }
    ASSERT_TRUE(noEncoder.Restore());
    Mp3File file(CopyFixture(folder_, "m1.mp3").c_str(), nullptr, MMIO_READ);
    ASSERT_TRUE(file.Open());
    EXPECT_TRUE(file.CanEncode()) << "the encoder is back";
}
