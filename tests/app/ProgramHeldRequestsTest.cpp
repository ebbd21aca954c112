// A second copy's requests and the recorder's own that come while a dialog
// is open wait in one queue and run, when it closes, in the order they came.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/RunningCopy.h"
#include "core/PrivateMessages.h"
#include "audiofile/PcmFormat.h"
#include "audiofile/WaveFile.h"
#include "framework/UserInteraction.h"
#include "tests/app/ProgramFixture.h"

namespace {

class ProgramHeldRequestsTest : public ProgramFixture {
protected:
    void Configure() override {
        CopyTextField(AppState.ImprovedFilePrefix, "held");
        AppState.AutoName = true;  // a named file: stopping and closing ask nothing
    }
    void StartRecording() {
        waves_.Tone(30, 1000, 0.6);
        dialog_->OpenFile(nullptr);
        ASSERT_TRUE(dialog_->CurrentFile);
        dialog_->Listen();
        ASSERT_TRUE(dialog_->Recording);
        Capture(3);
    }
    // Any modal step: what happens in it comes from ui_.whileOpen.
    void UnderADialog() { (void)Ui().MessageBox(Frame(), "open", "test", MB_OK); }
};

// /H of another file, then /F /P: the other file is opened and played.
TEST_F(ProgramHeldRequestsTest, OpenThenPlayUnderADialogPlaysTheOtherFile) {
    const std::string other = folder_.Path() + "\\other.wav";
    {
        const WAVEFORMATEX format = PcmFormat(1, 11025, 16);
        WaveFile file(other.c_str(), &format, MMIO_CREATE | MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        const std::vector<char> audio(11025 * 2, 0x10);
        ASSERT_EQ(static_cast<int32_t>(audio.size()), file.Write(audio.data(), static_cast<uint32_t>(audio.size())));
    }
    StartRecording();
    ui_.whileOpen.push_back([&] {
        EXPECT_TRUE(SendCopyData(Frame(), COPYDATA_OPENFILE, other));
        PostMessageA(Frame(), WM_STOPTHENPLAY, REMOTE_WPARAM, 0);
        Pump();
        EXPECT_TRUE(dialog_->Recording);
    });
    UnderADialog();
    Pump();
    ASSERT_TRUE(dialog_->CurrentFile);
    EXPECT_EQ(other, dialog_->CurrentFile->GetPath());
    EXPECT_TRUE(dialog_->Playing);
    dialog_->CmStop();
}

// A second copy's settings file (/F /I) arriving while a start or stop pumps
// messages: stop, reload and record again run whole after it, and the
// recording goes on.
TEST_F(ProgramHeldRequestsTest, ASettingsReloadDuringABusyTransportRecordsOn) {
    StartRecording();
    app_->SaveSettings(ini_.path());  // the settings file holds what runs now
    dialog_->BeginTransportBusy();
    EXPECT_TRUE(SendCopyData(Frame(), COPYDATA_LOADSETTINGS, ini_.path()));
    dialog_->EndTransportBusy();
    Pump();
    EXPECT_TRUE(dialog_->Recording);
    dialog_->CmStop();
}

// /O and /Z while Save As copies the recording (the file let go, the copy's
// progress pumping messages): they wait for the copy and find the file.
TEST_F(ProgramHeldRequestsTest, ACommentDuringTheSaveAsCopyGoesIntoTheFile) {
    StartRecording();
    dialog_->CmStop();
    dialog_->BeginTransportBusy();
    std::unique_ptr<RecFile> copying = std::move(dialog_->CurrentFile);
    EXPECT_TRUE(SendCopyData(Frame(), COPYDATA_ADDCOMMENT, "during the copy"));
    dialog_->CurrentFile = std::move(copying);
    dialog_->EndTransportBusy();
    Pump();
    EXPECT_EQ(1, dialog_->CurrentFile->CommentCount());
}

}  // namespace
