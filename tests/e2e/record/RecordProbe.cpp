// record_probe DEVICE-NAME OUT.wav MILLISECONDS
// Records through the recorder window's own capture road (Listen, the
// wave-input device chosen by name, StopCapture) into a new 16-bit mono
// 44100 Hz WAV file for about MILLISECONDS of wall-clock time, then prints
// "elapsed_ms N" (from Listen to the stop), "first_ms N" (the audio recorded
// when the first buffers were taken back), "from_first_ms N" (from then to
// the stop) and "data_bytes N".
// Exit code 0 = recorded, 1 = recording did not start, 2 = usage.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "audiofile/PcmFormat.h"
#include "core/AppState.h"
#include "audiofile/WaveFile.h"
#include "framework/FrameWindow.h"
#include "recorder/window/TAppDialog.h"

namespace {

class ProbeDialog : public TAppDialog {
public:
    using TAppDialog::TAppDialog;

protected:
    bool ArmTimer(UINT_PTR, UINT) override { return true; }  // no scheduler in the probe
    void DisarmTimer(UINT_PTR) override {}
};

double NowMs()
{
    LARGE_INTEGER now{}, frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * double(now.QuadPart) / double(frequency.QuadPart);
}

// Runs the message loop (capture arrives as MM_WIM_DATA) until the deadline;
// notes when the first buffers were taken back.
void RunMessagesUntil(double deadlineMs, const TAppDialog& dialog, double& firstMs, uint32_t& firstHeldMs)
{
    for (double now = NowMs(); now < deadlineMs; now = NowMs()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(deadlineMs - now) + 1, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
            if (firstHeldMs == 0 && dialog.Capture.Tally().taken > 0) {
                firstHeldMs = dialog.Capture.RecordedMs();
                firstMs = NowMs();
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    AppState.Reset();
    AppState.RecLevel = -1;
    AppState.VoxDisable = true;
    CopyTextField(AppState.WaveInDriver, argv[1]);
    auto client = std::make_unique<ProbeDialog>(nullptr);
    ProbeDialog* dialog = client.get();
    TFrameWindow frame(nullptr, "record probe", std::move(client), true);
    if (!frame.Create()) {
        std::fprintf(stderr, "the window was not made\n");
        return 1;
    }
    const WAVEFORMATEX format = PcmFormat(1, 44100, 16);
    dialog->FileFormat.Assign(format);
    dialog->CaptureFormat = format;
    dialog->CurrentFile = std::make_unique<WaveFile>(argv[2], &format, MMIO_CREATE | MMIO_READWRITE);
    if (!dialog->CurrentFile->Open()) {
        std::fprintf(stderr, "%s did not open\n", argv[2]);
        return 1;
    }
    const double started = NowMs();
    dialog->Listen();
    if (!dialog->Recording) {
        std::fprintf(stderr, "the window did not start recording from %s\n", argv[1]);
        return 1;
    }
    double firstMs = 0;
    uint32_t firstHeldMs = 0;
    RunMessagesUntil(started + std::atof(argv[3]), *dialog, firstMs, firstHeldMs);
    dialog->StopCapture();
    const double stopped = NowMs();
    std::printf("elapsed_ms %.0f\nfirst_ms %u\nfrom_first_ms %.0f\ndata_bytes %u\n", stopped - started,
                firstHeldMs, firstHeldMs ? stopped - firstMs : 0.0, dialog->CurrentFile->GetDataLength());
    dialog->CurrentFile.reset();  // finishes the file
    return 0;
}
