// The recorder window on the fake wave devices, hidden in a frame, for the
// capture and transport tests: timers are not armed, messages are pumped by
// hand and each buffer arrives when the test ticks the fake device.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/AppState.h"
#include "audiofile/PcmFormat.h"
#include "audiofile/WaveFile.h"
#include "framework/FrameWindow.h"
#include "recorder/window/TAppDialog.h"
#include "tests/fakes/FakeUserInteraction.h"
#include "tests/fakes/FakeWaveDevices.h"

class QuietAppDialog : public TAppDialog {
public:
    using TAppDialog::TAppDialog;

protected:
    bool ArmTimer(UINT_PTR, UINT) override { return true; }
    void DisarmTimer(UINT_PTR) override {}
};

// A path in the temporary folder, with no file there yet.
inline std::string TempWavePath(const char* name)
{
    char dir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    std::string path = std::string(dir) + name;
    DeleteFileA(path.c_str());
    return path;
}

class CaptureWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppState.Reset();
        AppState.RecLevel = -1;
        AppState.VoxDisable = true;
        CopyTextField(AppState.WaveInDriver, "Fake Input");
        SetWaves(&waves);  // before the window: its devices bind to the service
        auto client = std::make_unique<QuietAppDialog>(nullptr);
        dialog = client.get();
        frame = std::make_unique<TFrameWindow>(nullptr, "capture test", std::move(client), true);
        ASSERT_TRUE(frame->Create());
    }
    void TearDown() override
    {
        frame.reset();
        SetWaves(nullptr);
        AppState.Reset();
    }
    void UseNewWaveFile(const std::string& path, const WAVEFORMATEX& format)
    {
        dialog->FileFormat.Assign(format);
        dialog->CaptureFormat = format;
        dialog->CurrentFile = std::make_unique<WaveFile>(path.c_str(), &format, MMIO_CREATE | MMIO_READWRITE);
        ASSERT_TRUE(dialog->CurrentFile->Open());
    }
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return SendMessageA(dialog->GetHandle(), msg, wParam, lParam);
    }
    void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    void Capture(int buffers)
    {
        for (int i = 0; i < buffers; ++i) {
            waves.Tick();
            Pump();
        }
    }

    FakeUserInteraction ui;
    ScopedUi scopedUi{ui};
    FakeWaveDevices waves;
    QuietAppDialog* dialog = nullptr;
    std::unique_ptr<TFrameWindow> frame;
};
