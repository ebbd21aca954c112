// The recorder link over the program's recorder window, TAppDialog.
#include "app/RecorderWindowLink.h"

#include <commctrl.h>

#include "audiofile/RecFile.h"
#include "recorder/editing/EditBusy.h"
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
    bool IsEditing() const override { return IsEditBusy(); }

    void Stop() override { dialog_.CmStop(); }
    void Play() override { dialog_.CmPlay(); }
    void Listen() override { dialog_.Listen(); }

    RecFile* CurrentFile() override { return dialog_.CurrentFile.get(); }
    uint32_t RecordingByteRate() const override { return dialog_.FileFormat->nAvgBytesPerSec; }
    void OpenFile(const std::string& path) override { dialog_.RequestOpenFile(path.c_str()); }
    void NewDefaultFile() override { dialog_.CmNewDefaultFile(); }
    void GoTo(uint32_t position) override;
    void ShowAnnotation() override;

    void CloseCodecStream() override { dialog_.AcmClose(); }
    void ReopenCodecStream() override { dialog_.AcmOpen(false, 1); }

    void Timer(UINT timerId) override { dialog_.EvTimer(timerId); }
    LRESULT DeviceChange(WPARAM event, LPARAM data) override { return dialog_.EvDeviceChange(event, data); }
    bool HoldInOrder(HWND target, UINT msg, WPARAM wParam, LPARAM lParam) override {
        return dialog_.HoldInOrder(target, msg, wParam, lParam);
    }
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

void TAppDialogLink::EndSession() { dialog_.EndSession(); }

}  // namespace

RecorderClient MakeRecorderWindowLink() {
    auto dialog = std::make_unique<TAppDialog>(nullptr);
    auto link = std::make_unique<TAppDialogLink>(*dialog);
    RecorderClient client;
    client.link = link.get();
    client.window = std::move(dialog);
    client.keepAlive = std::move(link);
    return client;
}
