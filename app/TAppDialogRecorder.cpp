// The recorder link over the program's recorder window, TAppDialog.
#include "app/TAppDialogRecorder.h"

#include <commctrl.h>

#include "audiofile/RecFile.h"
#include "recorder/window/TAppDialog.h"
#include "resources/ResourceIds.h"

namespace {

class TAppDialogLink : public RecorderLink {
public:
    explicit TAppDialogLink(TAppDialog& dialog) : dialog_(dialog) {}

    HWND Window() const override { return dialog_.GetHandle(); }
    bool IsRecording() const override { return dialog_.Recording != 0; }
    bool IsPlaying() const override { return dialog_.Playing != 0; }
    bool InputDeviceOpen() const override { return dialog_.hWaveIn.IsOpen(); }

    void Stop() override { dialog_.CmStop(); }
    void Play() override { dialog_.CmPlay(); }
    void Listen() override { dialog_.Listen(); }

    RecFile* CurrentFile() override { return dialog_.CurrentFile.get(); }
    void OpenFile(const std::string& path) override { dialog_.RequestOpenFile(path.c_str()); }
    void NewDefaultFile() override { dialog_.CmNewDefaultFile(); }
    void GoTo(uint32_t position) override;
    void ShowAnnotation() override;

    void CloseCodecStream() override { dialog_.AcmClose(); }
    void ReopenCodecStream() override { dialog_.AcmOpen(false, 1); }

    void Timer(UINT timerId) override { dialog_.EvTimer(timerId); }
    LRESULT DeviceChange(WPARAM event, LPARAM data) override { return dialog_.EvDeviceChange(event, data); }
    void EndSession() override;

private:
    TAppDialog& dialog_;
};

void TAppDialogLink::GoTo(uint32_t position) {
    // The recorder's own positioning: block alignment, slider, time,
    // segment and the annotation there.
    dialog_.Position(position, true);
}

void TAppDialogLink::ShowAnnotation() {
    dialog_.ShowAnnotation();
}

void TAppDialogLink::EndSession() {
    // The capture's own stop first: it writes the buffers the device gives
    // back, whatever the transport's stop does besides.
    dialog_.StopCapture();
    dialog_.CmStop();
    if (!dialog_.CurrentFile) return;
    // Closing an unmodified temporary file deletes it, and the stop has just
    // brought the file up to date: a recording that has no final name yet
    // stays on disk under its temporary one instead.
    dialog_.CurrentFile->SetTemporary(false);
    dialog_.CurrentFile->Close();
    dialog_.CurrentFile.reset();
}

}  // namespace

RecorderClient MakeTAppDialogRecorder() {
    auto dialog = std::make_unique<TAppDialog>(nullptr);
    auto link = std::make_unique<TAppDialogLink>(*dialog);
    RecorderClient client;
    client.link = link.get();
    client.window = std::move(dialog);
    client.keepAlive = std::move(link);
    return client;
}
