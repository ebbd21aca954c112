// The program's road of one recording without a sound card: /L at start
// reaches the recorder window as a record toggle through the frame, and a
// second copy's stop (first parameter 33) reaches it through the frame too.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/App.h"
#include "app/AppState.h"
#include "app/PrivateMessages.h"
#include "app/SDIDecFrame.h"
#include "app/TAppDialogRecorder.h"
#include "audiofile/WaveFile.h"
#include "recorder/CaptureBuffers.h"
#include "recorder/TAppDialog.h"
#include "tests/app/FakeTrayShell.h"
#include "tests/fakes/FakeAcm.h"
#include "tests/fakes/FakeUserInteraction.h"
#include "tests/fakes/FakeWaveDevices.h"
#include "tests/fakes/ScratchSettings.h"
#include "tests/recorder/FilesTestFolder.h"

namespace {

class ProgramRecordRelayTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppState.Reset();
        SetAcm(&acm_);
        SetWaves(&waves_);
        CopyTextField(AppState.IniPath, ini_.path().c_str());
        app_ = std::make_unique<App>(MakeTAppDialogRecorder);
        CopyTextField(AppState.DefaultDirectory, folder_.Path().c_str());
        CopyTextField(AppState.ImprovedFilePrefix, "relay");
        AppState.AutoName = true;  // a named file: closing asks nothing
        CopyTextField(AppState.WaveInDriver, "Fake Input");
        AppState.SampleRate = 11025;
        AppState.Resolution = true;
        AppState.RecLevel = -1;
        AppState.VoxDisable = true;
        AppState.ListenAtStart = true;  // /L
        waves_.Tone(20, 1000, 0.6);
        app_->InitMainWindow();
        ASSERT_TRUE(app_->GetMainWindow()->Create());
        dialog_ = static_cast<TAppDialog*>(app_->GetMainWindow()->GetClient());
    }
    void TearDown() override {
        app_.reset();
        SetWaves(nullptr);
        SetAcm(nullptr);
        AppState.Reset();
    }
    void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    void Capture(int buffers) {
        for (int i = 0; i < buffers; ++i) {
            waves_.Tick();
            Pump();
        }
    }
    HWND Frame() const { return app_->GetMainWindow()->GetHandle(); }

    FakeAcm acm_;
    FakeWaveDevices waves_;
    FakeUserInteraction ui_;
    ScopedUi scopedUi_{ui_};
    FakeTrayShell tray_;
    ScratchIni ini_;
    FilesTestFolder folder_;
    std::unique_ptr<App> app_;
    TAppDialog* dialog_ = nullptr;
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
