// An application object with a fake recorder window, a fake tray, the
// scripted user interaction and a scratch settings file: the frame is
// created hidden and never runs a message loop of its own.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/App.h"
#include "core/AppState.h"
#include "app/SDIDecFrame.h"
#include "tests/app/FakeRecorder.h"
#include "tests/app/FakeTrayShell.h"
#include "tests/fakes/FakeUserInteraction.h"
#include "tests/fakes/ScratchSettings.h"

// Counts settings writes and logs loads beside the recorder's calls, so a
// test sees their order.
class TestApp : public App {
public:
    TestApp(RecorderFactory factory) : App(std::move(factory)) {}
    int writes = 0;
    std::vector<std::string> written;
    FakeRecorder* recorder = nullptr;
    // What a settings file holds: applied on every load.
    bool loadedTrayIcon = false;

    void LoadSettings(const std::string& path) override {
        if (recorder) recorder->calls.push_back("load:" + path);
        AppState.TrayIcon = loadedTrayIcon;
    }

protected:
    void WriteSettings(const std::string& path) override {
        ++writes;
        written.push_back(path);
    }
};

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override {
        FakeTrayShell::Reset();
        AppState.Reset();
        // Construction reads the scratch file, never the user's settings.
        CopyTextField(AppState.IniPath, ini_.path().c_str());
        app_ = std::make_unique<TestApp>(FakeRecorderFactory(recorder_));
        AppState.IniPath[0] = '\0';
        AppState.FirstInstance = true;
    }
    void TearDown() override {
        app_.reset();
        AppState.Reset();
    }

    // Builds and creates the frame (hidden) with the settings as they are.
    void CreateFrame() {
        app_->InitMainWindow();
        app_->recorder = recorder_;
        ASSERT_TRUE(app_->GetMainWindow()->Create());
    }
    SDIDecFrame& Frame() { return *app_->Frame(); }
    HWND FrameHandle() { return Frame().GetHandle(); }
    LRESULT SendCommand(UINT id) { return SendMessageA(FrameHandle(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    ScopedCurrentFolder folder_;
    ScratchIni ini_;
    FakeUserInteraction ui_;
    ScopedUi scopedUi_{ui_};
    FakeTrayShell tray_;
    FakeRecorder* recorder_ = nullptr;
    std::unique_ptr<TestApp> app_;
};
