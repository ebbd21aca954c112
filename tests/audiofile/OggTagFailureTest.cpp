// An Ogg file whose comments cannot be written at Close (too long for the
// page in place, and the file held open by another program so the rewrite
// cannot replace it): the failure is reported and the journal keeps them.
#include <gtest/gtest.h>

#include "audiofile/FileNames.h"
#include "audiofile/OggVorbisFile.h"
#include "audiofile/SpeexFile.h"
#include "tests/audiofile/OggTestSupport.h"
#include "tests/audiofile/TempFolder.h"
#include "tests/audiofile/WaveTestSupport.h"

namespace {

constexpr uint32_t kNew = MMIO_CREATE | MMIO_READWRITE;

// What a player does: reads the file and lets nobody delete or replace it.
HANDLE HoldOpen(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string JournalText(const std::string& path) {
    const std::string bytes = ReadAllBytes(RecFile::JournalNameFor(path));
    return bytes.size() > 4 ? std::string(bytes.c_str() + 4) : std::string();
}

template <class File>
void MakeRecording(const std::string& path, WORD tag) {
    const WAVEFORMATEX format = CodecFormat(tag, 1, 8000);
    File file(path.c_str(), &format, 4, kNew);
    ASSERT_TRUE(file.Open());
    ASSERT_TRUE(WriteTone(file, 1, 1, 8000, 1600));
    ASSERT_TRUE(file.Close());
}

// Fifteen comments: more than the padded comment page holds.
const std::string kLongText(200, 'n');
constexpr int kComments = 15;

void AddLongComments(RecFile& file) {
    for (int i = 0; i < kComments; ++i)
        file.AddComment(kLongText, 100u * i, 0);
}

void ExpectLongComments(RecFile& file) {
    ASSERT_EQ(file.CommentCount(), kComments);
    EXPECT_EQ(file.GetCommentText(kComments - 1), kLongText);
}

template <class File>
void CloseFailsAndTheJournalStays(const TempFolder& folder, const std::string& path, WORD tag) {
    MakeRecording<File>(path, tag);
    const uint64_t size = FileSize(path);
    HANDLE holder = INVALID_HANDLE_VALUE;
    {
        File file(path.c_str(), nullptr, 4, MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        AddLongComments(file);
        holder = HoldOpen(path);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(file.Close()) << "the comments never reached the file";
    }
    CloseHandle(holder);
    EXPECT_EQ(FileSize(path), size) << "the recording is as it was";
    EXPECT_EQ(folder.Names().size(), 2u) << "the recording and its journal, no temporary file";
    EXPECT_NE(JournalText(path).find(kLongText), std::string::npos);
    // Once the file is free again, the next opening stores the journal's text.
    {
        File file(path.c_str(), nullptr, 4, MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        ExpectLongComments(file);
        EXPECT_TRUE(file.Close());
    }
    EXPECT_FALSE(FileExists(RecFile::JournalNameFor(path)));
    File file(path.c_str(), nullptr, 4, MMIO_READ);
    ASSERT_TRUE(file.Open());
    ExpectLongComments(file);
}

TEST(OggTagFailure, VorbisCloseFailsAndTheJournalStays) {
    TempFolder folder;
    CloseFailsAndTheJournalStays<OggVorbisFile>(folder, folder.File("held.ogg"), kVorbisFormatTag);
}

TEST(OggTagFailure, SpeexCloseFailsAndTheJournalStays) {
    TempFolder folder;
    CloseFailsAndTheJournalStays<SpeexFile>(folder, folder.File("held.spx"), kSpeexFormatTag);
}

TEST(OggTagFailure, RenameRefusedWhileTheCommentsAreOnlyInTheJournal) {
    TempFolder folder;
    const std::string path = folder.File("first.ogg");
    MakeRecording<OggVorbisFile>(path, kVorbisFormatTag);
    OggVorbisFile file(path.c_str(), nullptr, 4, MMIO_READWRITE);
    ASSERT_TRUE(file.Open());
    AddLongComments(file);
    HANDLE holder = HoldOpen(path);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(file.Rename(folder.File("second.ogg")));
    CloseHandle(holder);
    EXPECT_FALSE(FileExists(folder.File("second.ogg")));
    EXPECT_TRUE(file.IsOpen());
    ExpectLongComments(file);  // taken back from the journal
    ASSERT_TRUE(file.Rename(folder.File("second.ogg")));
    EXPECT_TRUE(file.Close());
    OggVorbisFile again(folder.File("second.ogg").c_str(), nullptr, 4, MMIO_READ);
    ASSERT_TRUE(again.Open());
    ExpectLongComments(again);
}

}  // namespace
