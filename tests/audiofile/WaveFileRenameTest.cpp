// Renaming and deleting WAV files, with the platform's rename faked where it
// must fail.
#include <gtest/gtest.h>

#include <cctype>

#include "audiofile/Annotations.h"
#include "audiofile/FileSystem.h"
#include "audiofile/WaveFile.h"
#include "tests/audiofile/TempFolder.h"
#include "tests/audiofile/WaveTestSupport.h"

namespace {

constexpr uint32_t kCreate = MMIO_READWRITE | MMIO_CREATE;

// Passes through to the real service unless told to fail.
class ScriptedFiles : public FileSystem {
public:
    bool failRename = false;
    bool failDelete = false;
    int renames = 0;
    bool Rename(const std::string& from, const std::string& to) override {
        ++renames;
        return !failRename && real_.Rename(from, to);
    }
    bool Delete(const std::string& name) override { return !failDelete && real_.Delete(name); }
    // A file that cannot be deleted (another program holds it) cannot be replaced either.
    bool Replace(const std::string& from, const std::string& to) override {
        return !failDelete && real_.Replace(from, to);
    }

private:
    FileSystem& real_ = Files();
};

class WaveRename : public ::testing::Test {
protected:
    void SetUp() override {
        name_ = folder_.File("take.wav");
        file_ = std::make_unique<WaveFile>(name_.c_str(), nullptr, kCreate);
        ASSERT_TRUE(file_->Open());
        audio_ = Pattern(5000, 9);
        file_->Write(audio_.data(), 5000);
        file_->AddComment("mark", 100, 0);
        ASSERT_TRUE(file_->Position(1234));
        SetFiles(&files_);
    }
    void TearDown() override {
        file_.reset();
        SetFiles(nullptr);
    }
    void ExpectRecordingAt(const std::string& path) {
        WaveFile check(path.c_str(), nullptr, MMIO_READ);
        ASSERT_TRUE(check.Open()) << path;
        std::vector<char> back(5000);
        EXPECT_EQ(check.Read(back.data(), 5000), 5000);
        EXPECT_EQ(back, audio_);
        ASSERT_EQ(check.CommentCount(), 1);
        EXPECT_EQ(check.GetCommentText(0), "mark");
    }

    TempFolder folder_;
    ScriptedFiles files_;
    std::string name_;
    std::unique_ptr<WaveFile> file_;
    std::vector<char> audio_;
};

TEST_F(WaveRename, OntoItsOwnPathKeepsTheRecording) {
    std::string upper = name_;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const std::string& same : {name_, upper}) {
        SCOPED_TRACE(same);
        EXPECT_TRUE(file_->Rename(same));
        EXPECT_EQ(files_.renames, 0);
        EXPECT_TRUE(file_->IsOpen());
        EXPECT_FALSE(file_->IsTemporary());
    }
    file_->Close();
    ExpectRecordingAt(name_);
}

// The replaced file's journal goes with it: the renamed file never reads it
// as its own.
TEST_F(WaveRename, MovesTheFileAndKeepsThePosition) {
    const std::string target = folder_.File("saved.wav");
    ASSERT_TRUE(WriteAllBytes(target, "an older file of that name"));
    ASSERT_TRUE(WriteAllBytes(RecFile::JournalNameFor(target),
                              BuildJournalImage({}, {{5, 0, "stale"}, {9, 0, "stale too"}})));
    EXPECT_TRUE(file_->Rename(target));
    EXPECT_EQ(file_->GetPath(), target);
    EXPECT_EQ(file_->GetPosition(), 1234u);
    EXPECT_EQ(file_->CommentCount(), 1);
    EXPECT_FALSE(FileExists(name_));
    file_->Close();
    ExpectRecordingAt(target);
}

TEST_F(WaveRename, CopiesWhenTheSystemCannotRenameAndKeepsTheSource) {
    files_.failRename = true;
    const std::string target = folder_.File("other-volume.wav");
    EXPECT_TRUE(file_->Rename(target));
    EXPECT_EQ(file_->GetPath(), target);
    file_->Close();
    EXPECT_EQ(ReadAllBytes(target), ReadAllBytes(name_)) << "byte-identical copy";
    ExpectRecordingAt(target);
}

TEST_F(WaveRename, TargetThatCannotBeReplacedLeavesTheFileOpenWhereItWas) {
    const std::string target = folder_.File("locked.wav");
    ASSERT_TRUE(WriteAllBytes(target, "locked"));
    files_.failDelete = true;
    EXPECT_FALSE(file_->Rename(target));
    EXPECT_EQ(file_->GetPath(), name_);
    EXPECT_TRUE(file_->IsOpen());
    EXPECT_EQ(ReadAllBytes(target), "locked");
    files_.failDelete = false;
    file_->Close();
    ExpectRecordingAt(name_);
}

TEST_F(WaveRename, DeleteRemovesFileAndJournal) {
    file_->Update();
    EXPECT_TRUE(FileExists(RecFile::JournalNameFor(name_)));
    EXPECT_TRUE(file_->Delete());
    EXPECT_TRUE(file_->GetPath().empty());
    EXPECT_TRUE(folder_.Names().empty());
}

TEST_F(WaveRename, ReopenKeepsWhatWasRecorded) {
    file_->Update();
    EXPECT_TRUE(file_->Reopen());
    EXPECT_EQ(file_->GetDataLength(), 5000u);
    file_->Close();
    ExpectRecordingAt(name_);
}

TEST(WaveReadOnly, ReadOnlyFileRefusesChanges) {
    TempFolder folder;
    const std::string name = folder.File("ro.wav");
    {
        WaveFile file(name.c_str(), nullptr, kCreate);
        ASSERT_TRUE(file.Open());
        file.Write("abcd", 4);
    }
    const std::string before = ReadAllBytes(name);
    WaveFile file(name.c_str(), nullptr, MMIO_READ);
    ASSERT_TRUE(file.Open());
    EXPECT_TRUE(file.IsReadOnly());
    EXPECT_EQ(file.Write("xy", 2), 0);
    EXPECT_FALSE(file.SetTag("artist", "me"));
    EXPECT_FALSE(file.SetTag(kAnnotationKey, "x"));
    EXPECT_FALSE(file.Delete());
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(ReadAllBytes(name), before);
}

}  // namespace
