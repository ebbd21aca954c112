// INFO tags before the data and the annotation chunk after it.
#include <gtest/gtest.h>

#include "audiofile/WaveFile.h"
#include "tests/audiofile/TempFolder.h"
#include "tests/audiofile/WaveTestSupport.h"

namespace {

constexpr uint32_t kCreate = MMIO_READWRITE | MMIO_CREATE;

std::vector<std::string> ChunkIds(const std::string& name) {
    std::vector<std::string> ids;
    for (const WalkedChunk& chunk : WalkRiff(ReadAllBytes(name)))
        ids.push_back(chunk.id);
    return ids;
}

TEST(WaveTags, InfoTagsGoBeforeTheDataOfAnEmptyFileOnly) {
    TempFolder folder;
    const std::string name = folder.File("tags.wav");
    {
        WaveFile file(name.c_str(), nullptr, kCreate);
        ASSERT_TRUE(file.Open());
        EXPECT_TRUE(file.SetTag("artist", "Someone"));
        EXPECT_FALSE(file.SetTag("ARTIST", "Other")) << "a value is never replaced";
        EXPECT_TRUE(file.SetTag("subject", "Test"));
        EXPECT_TRUE(file.SetTag("unknown key", "ignored"));
        file.Write("abcdef", 6);
        EXPECT_FALSE(file.SetTag("name", "too late")) << "the data would have to move";
        EXPECT_EQ(file.GetTag("Artist").value_or(""), "Someone");
    }
    EXPECT_EQ(ChunkIds(name), (std::vector<std::string>{"fmt ", "fact", "LIST/INFO", "data", "DISP"}));
    WaveFile file(name.c_str(), nullptr, MMIO_READ);
    ASSERT_TRUE(file.Open());
    EXPECT_EQ(file.GetTag("artist").value_or(""), "Someone");
    EXPECT_EQ(file.GetTag("subject").value_or(""), "Test");
    EXPECT_FALSE(file.GetTag("name").has_value());
    std::vector<char> back(6);
    EXPECT_EQ(file.Read(back.data(), 6), 6);
    EXPECT_EQ(std::string(back.begin(), back.end()), "abcdef");
}

TEST(WaveTags, AShorterAnnotationReplacesTheLongerOneAndTheFileEndsWithIt) {
    TempFolder folder;
    const std::string name = folder.File("disp.wav");
    {
        WaveFile file(name.c_str(), nullptr, kCreate);
        ASSERT_TRUE(file.Open());
        file.Write("abcdefg", 7);
        EXPECT_TRUE(file.SetTag(kAnnotationKey, std::string(500, 'L')));
        EXPECT_TRUE(file.SetTag(kAnnotationKey, "short"));
        EXPECT_EQ(file.GetTag(kAnnotationKey).value_or(""), "short");
    }
    // Close wrote the annotation block itself over "short"; one DISP chunk remains.
    const std::string bytes = ReadAllBytes(name);
    EXPECT_EQ(ChunkIds(name), (std::vector<std::string>{"fmt ", "fact", "data", "DISP"}));
    EXPECT_EQ(8 + Le32(bytes, 4), bytes.size()) << "nothing left after the RIFF chunk";
}

TEST(WaveTags, UpdateWithoutChangesLeavesTheFileAlone) {
    TempFolder folder;
    const std::string name = folder.File("same.wav");
    {
        WaveFile file(name.c_str(), nullptr, kCreate);
        ASSERT_TRUE(file.Open());
        file.Write("abcd", 4);
    }
    const std::string before = ReadAllBytes(name);
    {
        WaveFile file(name.c_str(), nullptr, MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        EXPECT_FALSE(file.IsModified());
        EXPECT_TRUE(file.Update());
    }
    EXPECT_EQ(ReadAllBytes(name), before);
    EXPECT_FALSE(FileExists(RecFile::JournalNameFor(name)));
}

}  // namespace
