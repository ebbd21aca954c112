// The program's road of one recording without a sound card: /L at start
// reaches the recorder window as a record toggle through the frame, and a
// second copy's stop (first parameter 33) reaches it through the frame too.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/PrivateMessages.h"
#include "audiofile/WaveFile.h"
#include "recorder/capture/CaptureBuffers.h"
#include "tests/app/ProgramFixture.h"

namespace {

class ProgramRecordRelayTest : public ProgramFixture {
protected:
    void Configure() override {
        CopyTextField(AppState.ImprovedFilePrefix, "relay");
        AppState.AutoName = true;  // a named file: closing asks nothing
        AppState.ListenAtStart = true;  // /L
        waves_.Tone(20, 1000, 0.6);
    }
};

TEST_F(ProgramRecordRelayTest, ListenAtStartRecordsUntilASecondCopysStop) {
    Pump();  // the frame's start-up action
    ASSERT_TRUE(dialog_->Recording);
    ASSERT_TRUE(dialog_->CurrentFile);
    const std::string path = dialog_->CurrentFile->GetPath();
    Capture(3);

    struct Case {
        const char* name;
        WPARAM wParam;
        bool stops;
    };
    for (const Case& c : {Case{"not from a second copy", 0, false}, Case{"second copy", REMOTE_WPARAM, true}}) {
        SCOPED_TRACE(c.name);
        PostMessageA(Frame(), WM_STOPTRANSPORT, c.wParam, 0);
        Pump();
        EXPECT_EQ(!c.stops, dialog_->Recording != 0);
        EXPECT_EQ(c.stops ? 0 : 1, waves_.OpenDevices(WaveDirection::Input));
    }
    const uint32_t recorded = dialog_->CurrentFile->GetDataLength();
    EXPECT_EQ(3 * CaptureBufferBytes(dialog_->CaptureFormat), recorded);

    SendMessageA(Frame(), WM_CLOSE, 0, 0);  // closing finishes the file, asking nothing
    Pump();
    EXPECT_TRUE(ui_.messageBoxes.empty());
    EXPECT_TRUE(ui_.fileDialogs.empty());
    WaveFile check(path.c_str(), nullptr, MMIO_READ);
    ASSERT_TRUE(check.Open()) << path;
    EXPECT_EQ(recorded, check.GetDataLength());
}

}  // namespace
