// The application object over the program's own recorder window: the end of
// the Windows session finishes a running recording on disk without asking.
#include <gtest/gtest.h>

#include <vector>

#include "core/PrivateMessages.h"
#include "audiofile/FileNames.h"
#include "audiofile/WaveFile.h"
#include "recorder/capture/CaptureBuffers.h"
#include "resources/ResourceIds.h"
#include "tests/app/ProgramFixture.h"

namespace {

constexpr char kRecentFilesKey[] = "Software\\Quillmoor\\LarkspurRecorderTest";

class RecorderWindowLinkTest : public ProgramFixture {
protected:
    void Configure() override {
        // Files the recorder opens join a recent-files list of the test's own.
        app_->SetRegistryKey(kRecentFilesKey);
    }
    void TearDown() override {
        ProgramFixture::TearDown();
        RegDeleteTreeA(HKEY_CURRENT_USER, kRecentFilesKey);
    }
};

TEST_F(RecorderWindowLinkTest, EndOfSessionStopsUpdatesAndClosesARunningRecordingWithoutAsking) {
    dialog_->OpenFile(nullptr);  // a new recording under a temporary name
    ASSERT_TRUE(dialog_->CurrentFile);
    waves_.Tone(10, 1000, 0.6);
    dialog_->Listen();
    ASSERT_TRUE(dialog_->Recording);
    ASSERT_TRUE(dialog_->CurrentFile);
    const std::string path = dialog_->CurrentFile->GetPath();  // Listen may begin a fresh file
    for (int i = 0; i < 3; ++i) {
        waves_.Tick();
        Pump();
    }
    const char note[] = "last words";
    COPYDATASTRUCT data{COPYDATA_ADDCOMMENT, sizeof note, const_cast<char*>(note)};
    SendMessageA(Frame(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));

    SendMessageA(Frame(), WM_QUERYENDSESSION, 0, 0);
    SendMessageA(Frame(), WM_ENDSESSION, TRUE, 0);

    EXPECT_EQ(0, waves_.OpenDevices(WaveDirection::Input));
    EXPECT_FALSE(dialog_->CurrentFile);
    EXPECT_TRUE(ui_.messageBoxes.empty());
    WaveFile check(path.c_str(), nullptr, MMIO_READ);  // still its temporary name
    ASSERT_TRUE(check.Open()) << path;
    EXPECT_EQ(3 * CaptureBufferBytes(dialog_->CaptureFormat), check.GetDataLength());
    ASSERT_EQ(1, check.CommentCount());
    EXPECT_EQ("last words", check.GetCommentText(0));
}

// A second copy's open request (902) that arrives while a start or stop is
// pumping messages waits: opening at once would close the file the capture
// is starting on.
TEST_F(RecorderWindowLinkTest, ASecondCopysOpenRequestWaitsForTheTransport) {
    dialog_->OpenFile(nullptr);
    ASSERT_TRUE(dialog_->CurrentFile);
    const std::string first = dialog_->CurrentFile->GetPath();
    const std::string wanted = folder_ / "other.wav";
    COPYDATASTRUCT data{COPYDATA_OPENFILE, DWORD(wanted.size() + 1), const_cast<char*>(wanted.c_str())};

    dialog_->BeginTransportBusy();
    SendMessageA(Frame(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    ASSERT_TRUE(dialog_->CurrentFile);
    EXPECT_EQ(first, dialog_->CurrentFile->GetPath());

    dialog_->EndTransportBusy();
    Pump();
    ASSERT_TRUE(dialog_->CurrentFile);
    EXPECT_TRUE(SamePath(wanted, dialog_->CurrentFile->GetPath())) << dialog_->CurrentFile->GetPath();
}

TEST_F(RecorderWindowLinkTest, ASecondCopysCommentTextMovesToTheCommentAndShowsIt) {
    const std::string path = folder_ / "talk.wav";
    {
        WaveFile file(path.c_str(), nullptr, MMIO_CREATE | MMIO_READWRITE);  // 8-bit mono 22050 Hz
        ASSERT_TRUE(file.Open());
        const std::vector<char> audio(44100, 9);
        ASSERT_EQ(44100, file.Write(audio.data(), 44100));
        file.AddComment("Chapter two", 30000, 0);
        ASSERT_TRUE(file.Close());
    }
    dialog_->OpenFile(path.c_str());
    ASSERT_TRUE(dialog_->CurrentFile);

    const char wanted[] = "chapter TWO";
    COPYDATASTRUCT data{COPYDATA_GOTOCOMMENT, sizeof wanted, const_cast<char*>(wanted)};
    SendMessageA(Frame(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));

    EXPECT_EQ(30000u, dialog_->CurrentFile->GetPosition());
    EXPECT_EQ("Chapter two", dialog_->GetItemText(IDC_ANNOTATION));
}

}  // namespace
