// Damaged MP3, Ogg Vorbis and Speex files and Ogg comment packets: every
// case opens, reads, play-reads (Position, Read and decoding through the
// whole file) and closes without a crash, a hang, an oversize allocation or
// a write beside the file; every fourth opens read-write and, as recording
// onto a file and annotating it do, appends audio and writes its tags.
// Files made by lame, oggenc and speexenc join the seeds when
// LARKSPUR_HOSTILE_SOX_DIR names a folder of them (hostile_sox.sh).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <vector>

#include "audiofile/Mp3File.h"
#include "audiofile/OggVorbisFile.h"
#include "audiofile/SpeexFile.h"
#include "tests/audiofile/OggTestSupport.h"
#include "tests/hostile/Hostile.h"
#include "tests/hostile/Mp3Bytes.h"
#include "tests/hostile/OggPages.h"

namespace hostile {
namespace {

constexpr int kSuiteCases = 400;

std::string AnnotationLines() {
    return FormatAnnotationLines(AnnotationForm::TagBlock, {{0, 1700000000}, {4000, 1700000100}},
                                 {{0, 100, "one"}, {200, 0, "still open"}});
}

bool IsReadWriteCase(uint32_t caseNo) { return caseNo % 4 == 3; }

// What the recorder does to a file it records onto and annotates.
void AnnotateAndAppend(RecFile& file, uint32_t caseNo) {
    file.AddComment("hostile", 0, 0);
    file.AddTimeCode(kNoPosition, 1700000200);
    if (caseNo % 8 == 7)
        file.SetTag("title", "another title");
    const WAVEFORMATEX* format = file.GetFormat();
    if (format && format->nChannels >= 1 && format->nChannels <= 2) {
        const std::vector<int16_t> pcm = SineFrames(4000, format->nChannels, 440, 8000);
        (void)file.WriteSamples(pcm.data(), static_cast<uint32_t>(pcm.size() * 2));
    }
}

// ---- MP3

std::string Utf16Text(const char* text) {
    std::string out("\x01\xFF\xFE", 3);
    for (; *text; ++text)
        out += std::string(1, *text) + '\0';
    return out + std::string(2, '\0');
}

std::vector<std::string> Mp3Seeds() {
    const uint8_t mpeg1[4] = {0xFF, 0xFB, 0x90, 0x00};   // layer 3, 128 kbit/s, 44100 Hz, stereo
    const uint8_t mpeg2[4] = {0xFF, 0xF3, 0x88, 0xC0};   // layer 3, 64 kbit/s, 16000 Hz, mono
    const uint8_t mpeg25[4] = {0xFF, 0xE3, 0x28, 0xC0};  // layer 3, 16 kbit/s, 8000 Hz, mono
    const std::string tag = Id3v2Tag({
        {"TIT2", std::string(1, '\0') + "a title"},
        {"TPE1", Utf16Text("an artist")},
        {"COMM", std::string("\0eng\0a comment", 14)},
        {"PRIV", std::string("http://www.quillmoor.example/") + '\0' + AnnotationLines() + '\0'},
    });
    std::vector<std::string> seeds = {
        tag + Mp3FrameRun(mpeg1, 12) + Id3v1Block("a title"),
        Mp3FrameRun(mpeg2, 10),
        Mp3FrameRun(mpeg25, 10) + Id3v1Block("old"),
    };
    // The program's own tag, written through id3lib.
    const std::string folder = MakeFolder("lkhs");
    const std::string path = folder + "\\seed.mp3";
    WriteBytes(path, seeds[1]);
    {
        Mp3File file(path.c_str(), nullptr, MMIO_READWRITE);
        if (file.Open()) {
            file.AddTimeCode(0, 1700000000);
            file.AddComment("a comment", 0, 288);
            file.SetTag("title", "a title");
            file.Close();
        }
    }
    seeds.push_back(ReadBytes(path));
    RemoveFolder(folder);
    for (std::string& seed : SeedFiles("mp3"))
        seeds.push_back(std::move(seed));
    return seeds;
}

void ExerciseMp3(const std::string& bytes, const std::string& folder, uint32_t caseNo) {
    const std::string path = folder + "\\input.mp3";
    WriteBytes(path, bytes);
    Mp3File file(path.c_str(), nullptr, IsReadWriteCase(caseNo) ? MMIO_READWRITE : MMIO_READ);
    if (!file.Open())
        return;
    NoteOpened();
    PlayRead(file);
    std::string title;
    (void)file.GetId3v1Field("title", title);
    if (IsReadWriteCase(caseNo)) {
        AnnotateAndAppend(file, caseNo);
        // MPEG bytes as the encoder hands them over.
        if (file.CanEncode() && bytes.size() > 4) {
            const std::string frames = bytes.substr(bytes.size() / 2, 2000);
            (void)file.Write(frames.data(), static_cast<uint32_t>(frames.size()));
        }
    }
    file.Close();
}

TEST(Hostile, Mp3Files) {
    Reader reader;
    reader.name = "mp3";
    reader.seeds = Mp3Seeds();
    ASSERT_GE(reader.seeds.size(), 4u);
    reader.mutations = &Mp3Mutations();
    reader.exercise = ExerciseMp3;
    RunSuite(reader, kSuiteCases);
}

// ---- Ogg Vorbis and Speex

template <class File>
std::string WrittenOgg(const std::string& folder, WORD tag, int channels, DWORD rate, int quality) {
    const std::string path = folder + "\\seed.ogg";
    const WAVEFORMATEX format = CodecFormat(tag, channels, rate);
    {
        File file(path.c_str(), &format, quality, MMIO_READWRITE | MMIO_CREATE);
        if (!file.Open())
            return {};
        WriteTone(file, 0.6, channels, rate, rate / 10);
        file.AddTimeCode(0, 1700000000);
        file.AddComment("first comment", 0, rate / 4);
        file.AddComment("an open comment", rate / 2, 0);
        file.Close();
    }
    std::string image = ReadBytes(path);
    DeleteFileA(path.c_str());
    DeleteFileA(RecFile::JournalNameFor(path).c_str());
    return image;
}

template <class File>
std::vector<std::string> OggSeeds(WORD tag, int quality, const char* extension) {
    const std::string folder = MakeFolder("lkhs");
    std::vector<std::string> seeds = {WrittenOgg<File>(folder, tag, 1, 8000, quality),
                                      WrittenOgg<File>(folder, tag, 2, 16000, quality)};
    RemoveFolder(folder);
    for (std::string& seed : SeedFiles(extension))
        seeds.push_back(std::move(seed));
    seeds.erase(std::remove(seeds.begin(), seeds.end(), std::string()), seeds.end());
    return seeds;
}

template <class File>
void ExerciseOgg(const std::string& bytes, const std::string& folder, uint32_t caseNo) {
    const std::string path = folder + "\\input.ogg";
    WriteBytes(path, bytes);
    File file(path.c_str(), nullptr, 3, IsReadWriteCase(caseNo) ? MMIO_READWRITE : MMIO_READ);
    if (!file.Open())
        return;
    NoteOpened();
    PlayRead(file);
    if (IsReadWriteCase(caseNo))
        AnnotateAndAppend(file, caseNo);
    file.Close();
}

template <class File>
void RunOggSuite(const char* name, WORD tag, int quality, const char* extension) {
    Reader reader;
    reader.name = name;
    reader.seeds = OggSeeds<File>(tag, quality, extension);
    ASSERT_GE(reader.seeds.size(), 2u);
    reader.mutations = &OggMutations();
    reader.exercise = ExerciseOgg<File>;
    RunSuite(reader, kSuiteCases);
}

TEST(Hostile, OggVorbisFiles) { RunOggSuite<OggVorbisFile>("vorbis", kVorbisFormatTag, 0, "ogg"); }
TEST(Hostile, SpeexFiles) { RunOggSuite<SpeexFile>("speex", kSpeexFormatTag, 4, "spx"); }

// ---- the comment packet alone

const unsigned char kVorbisCommentPrefix[7] = {0x03, 'v', 'o', 'r', 'b', 'i', 's'};

std::string CommentPacket(bool vorbis) {
    OggCommentBlock block;
    block.SetVendor(vorbis ? "Xiph.Org libVorbis I 20200704" : "Encoded with Speex 1.2");
    block.Add("bar", "foofoo");
    block.Add("TITLE", "a title");
    block.Add(kAnnotationKey, AnnotationLines());
    block.SetPadded(kOggCommentLimit, kAnnotationKey, '\n');
    const OggOwnedPacket packet =
        block.SerializeCommentPacket(vorbis ? kVorbisCommentPrefix : nullptr, vorbis ? sizeof kVorbisCommentPrefix : 0);
    return std::string(packet.data.begin(), packet.data.end());
}

TEST(Hostile, OggCommentPackets) {
    Reader reader;
    reader.name = "oggcomment";
    reader.seeds = {CommentPacket(false), CommentPacket(true)};
    reader.mutations = &ByteMutations();
    reader.exercise = [](const std::string& bytes, const std::string&, uint32_t caseNo) {
        const bool vorbis = caseNo % 2 == 1;
        const size_t prefix = vorbis ? sizeof kVorbisCommentPrefix : 0;
        OggCommentBlock block;
        if (!block.ParseCommentPacket(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), prefix))
            return;
        NoteOpened();
        (void)block.Find(kAnnotationKey);
        // What a parsed block is written back as must read again the same.
        (void)block.SetPadded(kOggCommentLimit, kAnnotationKey, '\n');
        const OggOwnedPacket again =
            block.SerializeCommentPacket(vorbis ? kVorbisCommentPrefix : nullptr, prefix);
        EXPECT_EQ(again.data.size(), block.PacketSize() + prefix);
        OggCommentBlock reread;
        EXPECT_TRUE(reread.ParseCommentPacket(again.data.data(), again.data.size(), prefix));
        EXPECT_EQ(reread.Count(), block.Count());
        EXPECT_EQ(reread.Vendor(), block.Vendor());
    };
    RunSuite(reader, kSuiteCases);
}

}  // namespace
}  // namespace hostile

namespace hostile {
namespace {

// Found by Hostile.Mp3Files: a compressed ID3v2 frame that claims to expand
// to 2.9 GB made id3lib allocate that much when the tag was read. Such a tag
// is not given to id3lib: it reads as holding no values and is not rewritten.
TEST(HostileRegression, CompressedId3FrameClaimingGigabytesIsNotInflated) {
    const uint8_t mpeg2[4] = {0xFF, 0xF3, 0x88, 0xC0};
    std::string tag = Id3v2Tag({{"TIT2", std::string(1, '\0') + "a title"},
                                {"COMM", std::string("\xAF\x9E\x23\x81\x78\x9C\x03\x00", 8)}});
    const size_t comm = tag.find("COMM");
    tag[comm + 9] = '\xA0';  // compressed, grouped
    const std::string folder = MakeFolder("lkhs");
    const std::string input = folder + "\\input.mp3";
    ASSERT_TRUE(WriteBytes(input, tag + Mp3FrameRun(mpeg2, 10)));
    BeginCase("a compressed frame claiming 2.9 GB");
    {
        Mp3File file(input.c_str(), nullptr, MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        EXPECT_FALSE(file.GetTag("comment").has_value());
        EXPECT_FALSE(file.GetTag("title").has_value());
        EXPECT_FALSE(file.SetTag("title", "another title"));
        file.Close();
    }
    EXPECT_EQ(OversizeAllocations(), 0);
    EndCase();
    EXPECT_EQ(ReadBytes(input).compare(0, tag.size(), tag), 0);
    RemoveFolder(folder);
}

}  // namespace
}  // namespace hostile
