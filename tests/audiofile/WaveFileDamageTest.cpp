// Damaged and foreign WAV files: bad format chunks, every truncation, a
// recording interrupted after its last refresh, chunks of other programs.
#include <gtest/gtest.h>

#include "audiofile/WaveFile.h"
#include "tests/audiofile/TempFolder.h"
#include "tests/audiofile/WaveTestSupport.h"

namespace {

constexpr uint32_t kCreate = MMIO_READWRITE | MMIO_CREATE;

std::string Chunk(const std::string& id, const std::string& content) {
    std::string chunk = id;
    const uint32_t size = static_cast<uint32_t>(content.size());
    chunk.append(reinterpret_cast<const char*>(&size), 4);
    chunk += content;
    if (size & 1)
        chunk += '\0';
    return chunk;
}

std::string Riff(const std::string& chunks) {
    const uint32_t size = static_cast<uint32_t>(chunks.size() + 4);
    return "RIFF" + std::string(reinterpret_cast<const char*>(&size), 4) + "WAVE" + chunks;
}

std::string FmtContent(uint32_t bytes, WORD cbSize) {
    WAVEFORMATEX format = PcmFormat(1, 8000, 8);
    format.cbSize = cbSize;
    std::string content(reinterpret_cast<const char*>(&format), 18);
    content.resize(bytes, 'x');
    return content;
}

TEST(WaveDamage, FormatChunksThatCannotBeHeldAreRefused) {
    TempFolder folder;
    struct Case { uint32_t fmtBytes; WORD cbSize; bool opens; WORD expectedCbSize; };
    const Case cases[] = {
        {16, 0, true, 0},         // PCMWAVEFORMAT: no cbSize in the chunk
        {18, 0, true, 0},
        {20, 500, true, 2},       // cbSize cut to the bytes present
        {2000, 1982, true, 1982},
        {2001, 0, false, 0},      // larger than the format buffer
        {60000, 0, false, 0},
        {14, 0, false, 0},        // too short to be a format
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fmtBytes);
        const std::string name = folder.File("f" + std::to_string(c.fmtBytes) + ".wav");
        const std::string content = FmtContent(c.fmtBytes, c.cbSize);
        ASSERT_TRUE(WriteAllBytes(name, Riff(Chunk("fmt ", content) + Chunk("data", "abcd"))));
        WaveFile file(name.c_str(), nullptr, MMIO_READ);
        EXPECT_EQ(file.Open(), c.opens);
        if (c.opens) {
            EXPECT_EQ(file.GetFormat()->cbSize, c.expectedCbSize);
            EXPECT_EQ(file.GetFormat()->wBitsPerSample, 8);
            EXPECT_EQ(file.GetDataLength(), 4u);
        } else {
            EXPECT_EQ(file.GetError(), statusNoFormat);
        }
    }
}

TEST(WaveDamage, OversizeFormatGivenForANewFileIsRefused) {
    TempFolder folder;
    std::vector<uint8_t> big(3000, 0);
    WAVEFORMATEX* format = reinterpret_cast<WAVEFORMATEX*>(big.data());
    *format = PcmFormat(1, 8000, 4);
    format->wFormatTag = WAVE_FORMAT_ADPCM;
    format->cbSize = 2500;
    WaveFile file(folder.File("big.wav").c_str(), format, kCreate);
    EXPECT_FALSE(file.Open());
    EXPECT_EQ(file.GetError(), statusNoFormat);
    EXPECT_TRUE(folder.Names().empty());
}

TEST(WaveDamage, NotAWaveFile) {
    TempFolder folder;
    const std::string name = folder.File("text.wav");
    ASSERT_TRUE(WriteAllBytes(name, "this is no RIFF file at all"));
    WaveFile file(name.c_str(), nullptr, MMIO_READWRITE);
    EXPECT_FALSE(file.Open());
    EXPECT_EQ(file.GetError(), statusNoFormat);
    WaveFile missing(folder.File("none.wav").c_str(), nullptr, MMIO_READ);
    EXPECT_FALSE(missing.Open());
    EXPECT_EQ(missing.GetError(), statusCannotOpen);
    EXPECT_TRUE(folder.Names().size() == 1) << "reading a missing file must not create it";
}

TEST(WaveDamage, EveryTruncationFailsCleanlyOrGivesAShorterFile) {
    TempFolder folder;
    const std::string original = folder.File("whole.wav");
    const std::vector<char> audio = Pattern(301, 11);
    {
        WaveFile file(original.c_str(), nullptr, kCreate);
        ASSERT_TRUE(file.Open());
        file.Write(audio.data(), 301);
        file.AddTimeCode(0, 1700000000);
        file.AddComment("c", 10, 0);
    }
    const std::string bytes = ReadAllBytes(original);
    const std::string cut = folder.File("cut.wav");
    for (size_t length = 0; length < bytes.size(); ++length) {
        SCOPED_TRACE(length);
        ASSERT_TRUE(WriteAllBytes(cut, bytes.substr(0, length)));
        WaveFile file(cut.c_str(), nullptr, MMIO_READ);
        if (!file.Open()) {
            EXPECT_NE(file.GetError(), statusOk);
            continue;
        }
        ASSERT_LE(file.GetDataLength(), 301u);
        std::vector<char> back(400);
        ASSERT_EQ(file.Read(back.data(), 400), static_cast<int32_t>(file.GetDataLength()));
        EXPECT_TRUE(std::equal(back.begin(), back.begin() + file.GetDataLength(), audio.begin()));
        file.Close();
        ASSERT_TRUE(DeleteFileA(cut.c_str()));
    }
}

TEST(WaveDamage, InterruptedRecordingKeepsAudioUpToTheLastRefreshAndItsAnnotations) {
    TempFolder folder;
    const std::string name = folder.File("crash.wav");
    const std::string saved = folder.File("saved.wav");
    WaveFile file(name.c_str(), nullptr, kCreate);
    ASSERT_TRUE(file.Open());
    file.AddComment("before the crash", 0, 0);
    for (int i = 0; i < RecFile::kRefreshWrites + 5; ++i)
        file.Write("0123456789", 10);
    // What a crash leaves: the file and its journal as they are on disk now.
    ASSERT_TRUE(WriteAllBytes(saved, ReadAllBytes(name)));
    ASSERT_TRUE(WriteAllBytes(RecFile::JournalNameFor(saved), ReadAllBytes(RecFile::JournalNameFor(name))));
    WaveFile recovered(saved.c_str(), nullptr, MMIO_READWRITE);
    ASSERT_TRUE(recovered.Open());
    EXPECT_GE(recovered.GetDataLength(), 6000u);
    ASSERT_EQ(recovered.CommentCount(), 1);
    EXPECT_EQ(recovered.GetCommentText(0), "before the crash");
}

TEST(WaveDamage, ChunksOfOtherProgramsAfterTheDataSurviveAppending) {
    TempFolder folder;
    const std::string name = folder.File("foreign.wav");
    const std::string fmt(reinterpret_cast<const char*>(&static_cast<const WAVEFORMATEX&>(PcmFormat(1, 8000, 8))), 16);
    ASSERT_TRUE(WriteAllBytes(name, Riff(Chunk("fmt ", fmt) + Chunk("data", "abc") +
                                         Chunk("LIST", "INFOICMT" + std::string("\x04\0\0\0hey\0", 8)) +
                                         Chunk("cue ", "12345"))));
    {
        WaveFile file(name.c_str(), nullptr, MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        file.Write("defgh", 5);
    }
    const std::string bytes = ReadAllBytes(name);
    const std::vector<WalkedChunk> chunks = WalkRiff(bytes);
    std::vector<std::string> ids;
    for (const WalkedChunk& c : chunks)
        ids.push_back(c.id);
    EXPECT_EQ(ids, (std::vector<std::string>{"fmt ", "data", "DISP", "LIST/INFO", "cue "}));
    ASSERT_EQ(chunks.size(), 5u);
    EXPECT_EQ(bytes.substr(chunks[1].offset, 8), "abcdefgh");
    EXPECT_EQ(bytes.substr(chunks[4].offset, 5), "12345");
    EXPECT_EQ(8 + Le32(bytes, 4), bytes.size());
    WaveFile reread(name.c_str(), nullptr, MMIO_READ);
    ASSERT_TRUE(reread.Open());
    EXPECT_EQ(reread.GetTag("comment").value_or(""), "hey");
}

}  // namespace
