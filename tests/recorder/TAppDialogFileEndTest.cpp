// Ending a file while recording and going on: every buffer lands in exactly
// one of the two files, and the recording never pauses for good.
#include <gtest/gtest.h>

#include "app/PrivateMessages.h"
#include "recorder/capture/CaptureBuffers.h"
#include "tests/recorder/CaptureWindowFixture.h"
#include "tests/recorder/FilesTestFolder.h"

namespace {

class FileEndTest : public CaptureWindowTest {
protected:
    void SetUp() override {
        CaptureWindowTest::SetUp();
        CopyTextField(AppState.DefaultDirectory, folder.Path().c_str());
        CopyTextField(AppState.ImprovedFilePrefix, "part");
        AppState.AutoName = true;  // final names from the start: nothing to ask
        AppState.SampleRate = 44100;
        AppState.Stereo = true;
        AppState.Resolution = true;
    }
    void TearDown() override {
        dialog->CurrentFile.reset();
        CaptureWindowTest::TearDown();
    }
    void StartRecording() {
        dialog->OpenFile(nullptr);
        ASSERT_TRUE(dialog->CurrentFile);
        waves.Tone(10, 1000, 0.5);
        dialog->Listen();
        ASSERT_TRUE(dialog->Recording);
    }
    uint32_t BufferBytes() const { return CaptureBufferBytes(dialog->CaptureFormat); }
    static uint32_t LengthOf(const std::string& path) {
        WaveFile file(path.c_str(), nullptr, MMIO_READ);
        return file.Open() ? file.GetDataLength() : 0;
    }

    FilesTestFolder folder;
};

TEST_F(FileEndTest, ASplitSavesTheFileAndGoesOnInANewOne) {
    StartRecording();
    const std::string first = dialog->CurrentFile->GetPath();
    Capture(3);
    Send(WM_SPLITFILE);
    ASSERT_TRUE(dialog->Recording);
    const std::string second = dialog->CurrentFile->GetPath();
    EXPECT_NE(first, second);
    Capture(2);
    Send(WM_COMMAND, CM_STOP);
    dialog->CurrentFile.reset();
    EXPECT_EQ(3 * BufferBytes(), LengthOf(first));
    EXPECT_EQ(2 * BufferBytes(), LengthOf(second));
}

// The File page's limit of 1 MB with its "Stop" and "New File" actions.
TEST_F(FileEndTest, TheSizeLimitStopsOrContinuesInANewFile) {
    const uint32_t limit = 1048576;
    for (int action : {2, 3}) {
        SCOPED_TRACE(action);
        AppState.FileAction = action;
        AppState.FileSizeSel = 0;
        AppState.FileSize = 1;
        StartRecording();
        const std::string first = dialog->CurrentFile->GetPath();
        const int buffersToLimit = int((limit + BufferBytes() - 1) / BufferBytes());
        Capture(buffersToLimit + 2);
        const uint32_t firstLength = LengthOf(first);
        EXPECT_GE(firstLength, limit);
        if (action == 2) {
            EXPECT_FALSE(dialog->Recording);
        } else {
            ASSERT_TRUE(dialog->Recording);
            EXPECT_NE(first, dialog->CurrentFile->GetPath());
            const std::string second = dialog->CurrentFile->GetPath();
            Send(WM_COMMAND, CM_STOP);
            dialog->CurrentFile.reset();
            // Every buffer captured is in one of the two files.
            EXPECT_EQ(uint32_t(buffersToLimit + 2) * BufferBytes(), firstLength + LengthOf(second));
        }
        dialog->CurrentFile.reset();
    }
}

}  // namespace
