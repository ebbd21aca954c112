// The annotation text in the tag, the journal beside the file, the refresh
// every 600 writes and the signature, on a recording kept in memory.
#include <gtest/gtest.h>

#include "audiofile/Annotations.h"
#include "tests/audiofile/MemoryRecFile.h"
#include "tests/audiofile/TempFolder.h"
#include "tests/audiofile/WaveTestSupport.h"

namespace {

std::string JournalText(const std::string& path) {
    const std::string bytes = ReadAllBytes(RecFile::JournalNameFor(path));
    return bytes.size() > 4 ? std::string(bytes.c_str() + 4) : std::string();
}

TEST(RecFileJournal, EveryRefreshWritesTheJournalOnlyForWav) {
    TempFolder folder;
    for (int type : {ftWav, ftMp3, ftOgg}) {
        SCOPED_TRACE(type);
        const std::string path = folder.File("r" + std::to_string(type) + ".wav");
        MemoryRecFile file(path.c_str(), 44100, type);
        ASSERT_TRUE(file.Open());
        file.AddComment("c", 0, 0);
        for (int i = 0; i < RecFile::kRefreshWrites - 1; ++i)
            file.Write("ab", 2);
        EXPECT_EQ(file.updates, 0);
        file.Write("ab", 2);
        EXPECT_EQ(file.updates, type == ftWav ? 1 : 0);
        EXPECT_EQ(FileExists(RecFile::JournalNameFor(path)), type == ftWav);
        EXPECT_FALSE(file.tag.has_value()) << "the tag waits for the final Update";
        EXPECT_TRUE(file.IsModified());
    }
}

TEST(RecFileJournal, JournalIsTheFallbackWhenTheTagHasNoText) {
    TempFolder folder;
    const std::string path = folder.File("take.wav");
    ASSERT_TRUE(WriteAllBytes(RecFile::JournalNameFor(path),
                              std::string("\x01\0\0\0", 4) + "SAMPLE\tTIMECODE\r\n0\t0\r\n100\t5000\r\n"
                              "COMMENT 50\t0\tsaved\r\n" + std::string(1, '\0') + "stale tail"));
    {
        MemoryRecFile file(path.c_str());
        file.SetLength(1000);
        ASSERT_TRUE(file.Open());
        ASSERT_EQ(file.TimeCodeCount(), 2);
        EXPECT_EQ(file.GetTimeCodeAt(1), 5000);
        ASSERT_EQ(file.CommentCount(), 1);
        EXPECT_EQ(file.GetCommentText(0), "saved");
        EXPECT_TRUE(file.IsModified()) << "restored lists go into the tag at the next Update";
        EXPECT_TRUE(file.Update());
        ASSERT_TRUE(file.tag.has_value());
        EXPECT_NE(file.tag->find("100 5000\r\n"), std::string::npos);
    }
    EXPECT_FALSE(FileExists(RecFile::JournalNameFor(path))) << "the tag holds it all now";
}

TEST(RecFileJournal, JournalStaysWhenTheTagCouldNotBeWritten) {
    TempFolder folder;
    const std::string path = folder.File("take.wav");
    {
        MemoryRecFile file(path.c_str());
        ASSERT_TRUE(file.Open());
        file.Write("abcd", 4);
        file.AddComment("keep me", 0, 0);
        file.tagWritable = false;
        EXPECT_FALSE(file.Update());
        EXPECT_TRUE(file.IsModified());
    }
    EXPECT_EQ(JournalText(path), "SAMPLE\tTIMECODE\r\nCOMMENT 0\t0\tkeep me\r\n");
}

TEST(RecFileJournal, AJournalLeftBesideATaggedFileIsTheNewerCopy) {
    TempFolder folder;
    const std::string path = folder.File("take.wav");
    ASSERT_TRUE(WriteAllBytes(RecFile::JournalNameFor(path),
                              std::string("\x01\0\0\0", 4) + "SAMPLE\tTIMECODE\r\nCOMMENT 5\t0\told\r\n"
                              "COMMENT 9\t0\tnot in the tag\r\n" + std::string(1, '\0')));
    const std::string tag = "SAMPLE TIMECODE\r\nCOMMENT 5\t0\told\r\n"
                            "SIGNATURE 0102030405060708090a0b0c0d0e0f1011121314\r\n";
    {
        MemoryRecFile file(path.c_str());
        file.SetLength(100);
        file.tag = tag;
        ASSERT_TRUE(file.Open());
        ASSERT_EQ(file.CommentCount(), 2);
        EXPECT_EQ(file.GetCommentText(1), "not in the tag");
        EXPECT_EQ(file.GetSignature()[19], 0x14) << "the signature still comes from the tag";
        EXPECT_TRUE(file.Update());
    }
    EXPECT_FALSE(FileExists(RecFile::JournalNameFor(path)));
    // Read-only, the tag is what there is.
    ASSERT_TRUE(WriteAllBytes(RecFile::JournalNameFor(path), std::string("\x01\0\0\0", 4) + "x\r\n"));
    MemoryRecFile file(path.c_str());
    file.SetLength(100);
    file.tag = tag;
    file.SetReadOnly(true);
    ASSERT_TRUE(file.Open());
    ASSERT_EQ(file.CommentCount(), 1);
    EXPECT_EQ(file.GetCommentText(0), "old");
}

TEST(RecFileJournal, ReadOnlyFileTakesNothingFromTheJournalAndKeepsIt) {
    TempFolder folder;
    const std::string path = folder.File("take.wav");
    const std::string journal = std::string("\x01\0\0\0", 4) + "SAMPLE\tTIMECODE\r\nCOMMENT 5\t0\tx\r\n" +
                                std::string(1, '\0');
    ASSERT_TRUE(WriteAllBytes(RecFile::JournalNameFor(path), journal));
    {
        MemoryRecFile file(path.c_str());
        file.SetLength(100);
        file.SetReadOnly(true);
        ASSERT_TRUE(file.Open());
        EXPECT_EQ(file.CommentCount(), 0);
        EXPECT_FALSE(file.IsModified());
    }
    EXPECT_EQ(ReadAllBytes(RecFile::JournalNameFor(path)), journal);
}

TEST(RecFileJournal, AWrongMarkYieldsNothing) {
    TempFolder folder;
    const std::string path = folder.File("take.wav");
    ASSERT_TRUE(WriteAllBytes(RecFile::JournalNameFor(path), std::string("\x02\0\0\0", 4) + "1\t2\r\n"));
    MemoryRecFile file(path.c_str());
    file.SetLength(100);
    ASSERT_TRUE(file.Open());
    EXPECT_EQ(file.TimeCodeCount(), 0);
}

TEST(RecFileSignature, SignedRecordingVerifiesAndDetectsChanges) {
    MemoryRecFile file;
    ASSERT_TRUE(file.Open());
    EXPECT_EQ(file.VerifySignature(), SignatureCheck::Unsigned);
    file.AddTimeCode(0, 1700000000);
    for (int i = 0; i < 10; ++i)
        file.Write("0123456789", 10);
    ASSERT_TRUE(file.Update());
    ASSERT_TRUE(file.tag.has_value());
    EXPECT_NE(file.tag->find("SIGNATURE "), std::string::npos);
    EXPECT_EQ(file.VerifySignature(), SignatureCheck::Match);
    const RecordingSignature first = file.GetSignature();
    // sha1sum of "mivrad", the 100 bytes and the segment record (0, 1700000000).
    EXPECT_EQ(FormatSignatureLine(first), "SIGNATURE 78c556a61f035f105f20b3eeec7a4563c2acc836\r\n");

    file.AddTimeCode(50, 1700000005);
    ASSERT_TRUE(file.Update());
    EXPECT_NE(file.GetSignature(), first) << "segments are part of the digest";
    EXPECT_EQ(file.VerifySignature(), SignatureCheck::Match);

    file.Audio()[3] ^= 1;
    EXPECT_EQ(file.VerifySignature(), SignatureCheck::Mismatch);
}

TEST(RecFileSignature, OverwrittenRecordingIsSignedInFileOrder) {
    MemoryRecFile file;
    ASSERT_TRUE(file.Open());
    file.Write("aaaaaaaaaa", 10);
    file.SetOverwrite(true);
    ASSERT_TRUE(file.Position(2));
    file.Write("bb", 2);
    file.SetOverwrite(false);
    file.Write("cc", 2);
    ASSERT_TRUE(file.Update());
    EXPECT_EQ(file.VerifySignature(), SignatureCheck::Match);
    EXPECT_EQ(file.GetPosition(), 12u) << "signing by reading back keeps the position";
}

TEST(RecFileSignature, OlderFileRewritesAnnotationsWithoutASignatureLine) {
    MemoryRecFile file;
    file.SetLength(100);
    file.tag = "SAMPLE TIMECODE\r\nSIGNATURE 0102030405060708090a0b0c0d0e0f1011121314\r\n";
    ASSERT_TRUE(file.Open());
    EXPECT_EQ(file.GetSignature()[0], 1);
    EXPECT_EQ(file.GetSignature()[19], 0x14);
    file.AddComment("new", 0, 0);
    ASSERT_TRUE(file.Update());
    EXPECT_EQ(file.tag->find("SIGNATURE"), std::string::npos);
    EXPECT_EQ(file.VerifySignature(), SignatureCheck::Mismatch);
}

}  // namespace
