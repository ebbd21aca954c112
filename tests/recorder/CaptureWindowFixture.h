// The recorder window on the fake wave devices, hidden in a frame, for the
// capture and transport tests: timers are not armed, messages are pumped by
// hand and each buffer arrives when the test ticks the fake device.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/AppState.h"
#include "audiofile/PcmFormat.h"
#include "audiofile/WaveFile.h"
#include "framework/FrameWindow.h"
#include "recorder/clipboard/ClipboardTransfer.h"
#include "recorder/editing/EditProgress.h"
#include "recorder/window/TAppDialog.h"
#include "tests/fakes/FakeUserInteraction.h"
#include "tests/fakes/FakeWaveDevices.h"

class QuietAppDialog : public TAppDialog {
public:
    using TAppDialog::TAppDialog;
    bool failTransfers = false;  // every clipboard transfer is cancelled
    bool failScratchFiles = false;  // no scratch recording can be made
    bool cancelEdits = false;  // Cancel is pressed in every edit's progress
    std::set<UINT_PTR> armedTimers;  // armed and not yet disarmed; none fires by itself

protected:
    bool ArmTimer(UINT_PTR id, UINT) override
    {
        armedTimers.insert(id);
        return true;
    }
    void DisarmTimer(UINT_PTR id) override { armedTimers.erase(id); }
    std::unique_ptr<EditProgress> MakeEditProgress() override
    {
        if (cancelEdits)
            return std::make_unique<CancelledEditProgress>();
        return std::make_unique<SilentEditProgress>();
    }
    std::unique_ptr<RecFile> MakeScratchRecording(const RecFile& like) override
    {
        return failScratchFiles ? nullptr : TAppDialog::MakeScratchRecording(like);
    }
    std::unique_ptr<TransferProgress> MakeTransferProgress() override
    {
        if (failTransfers)
            return std::make_unique<CancellingProgress>();
        return std::make_unique<SilentProgress>();
    }

private:
    class CancelledEditProgress : public SilentEditProgress {
    public:
        bool SetPercent(int) override { return false; }
        bool IsCancelled() const override { return true; }
    };
    class CancellingProgress : public TransferProgress {
    public:
        void Begin(const TransferTexts&) override {}
        bool Step(int) override { return false; }
        void End() override {}
    };
};

// The data of a WAV file as it reads back from disk.
inline std::vector<uint8_t> ReadBack(const std::string& path)
{
    WaveFile file(path.c_str(), nullptr, MMIO_READ);
    EXPECT_TRUE(file.Open());
    std::vector<uint8_t> data(file.GetDataLength());
    if (!data.empty()) {
        EXPECT_EQ(static_cast<int32_t>(data.size()), file.Read(data.data(), static_cast<uint32_t>(data.size())));
    }
    return data;
}

// What the scripted device delivers, buffer after buffer, in one format.
inline std::vector<uint8_t> Scripted(void (*script)(FakeWaveDevices&), const WAVEFORMATEX& format, int buffers)
{
    FakeWaveDevices fake;
    fake.postMessages = false;
    script(fake);
    WaveDevice device(WaveDirection::Input, fake);
    EXPECT_EQ(MMSYSERR_NOERROR, device.Open(0, format, nullptr));
    std::vector<char> block(CaptureBufferBytes(format));
    WAVEHDR header{};
    header.lpData = block.data();
    header.dwBufferLength = static_cast<DWORD>(block.size());
    EXPECT_EQ(MMSYSERR_NOERROR, device.Prepare(header));
    EXPECT_EQ(MMSYSERR_NOERROR, device.Start());
    std::vector<uint8_t> out;
    for (int i = 0; i < buffers; ++i) {
        EXPECT_EQ(MMSYSERR_NOERROR, device.Queue(header));
        fake.Tick();
        out.insert(out.end(), block.begin(), block.begin() + header.dwBytesRecorded);
    }
    return out;
}

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
