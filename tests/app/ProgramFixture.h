// The application object over the program's own recorder window, hidden,
// on the fake wave devices and codec manager: the program's road without a
// sound card. A test sets what it needs in Configure(), before the frame is
// built; each buffer arrives when the test ticks the fake device.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/App.h"
#include "core/AppState.h"
#include "app/SDIDecFrame.h"
#include "app/RecorderWindowLink.h"
#include "recorder/window/TAppDialog.h"
#include "tests/app/FakeTrayShell.h"
#include "tests/fakes/FakeAcm.h"
#include "tests/fakes/FakeUserInteraction.h"
#include "tests/fakes/FakeWaveDevices.h"
#include "tests/fakes/ScratchSettings.h"
#include "tests/recorder/FilesTestFolder.h"

class ProgramFixture : public ::testing::Test {
protected:
    void SetUp() override {
        AppState.Reset();
        SetAcm(&acm_);
        SetWaves(&waves_);  // before the window: its devices bind to the service
        CopyTextField(AppState.IniPath, ini_.path().c_str());  // /I: nothing saved anywhere
        app_ = std::make_unique<App>(MakeRecorderWindowLink);
        CopyTextField(AppState.DefaultDirectory, folder_.Path().c_str());
        CopyTextField(AppState.WaveInDriver, "Fake Input");
        AppState.SampleRate = 11025;
        AppState.Resolution = true;
        AppState.RecLevel = -1;
        AppState.VoxDisable = true;
        Configure();
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
    virtual void Configure() {}

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
