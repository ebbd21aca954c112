// What the application object and the frame window ask of the recorder
// window, its client. The program's link sits over TAppDialog
// (app/RecorderWindowLink.cpp); tests put a plain window behind it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class RecFile;
class TWindow;

class RecorderLink {
public:
    virtual ~RecorderLink() = default;

    virtual HWND Window() const = 0;
    // Capture is running; playback is running; the input device is open.
    virtual bool IsRecording() const = 0;
    virtual bool IsPlaying() const = 0;
    virtual bool InputDeviceOpen() const = 0;
    // An edit is rebuilding the current recording (and pumping messages):
    // nothing may touch the file or the transport until it has ended.
    virtual bool IsEditing() const { return false; }

    // The transport: stop, play from the position, start recording.
    virtual void Stop() = 0;
    virtual void Play() = 0;
    virtual void Listen() = 0;

    // The current recording, or null.
    virtual RecFile* CurrentFile() = 0;
    // Bytes per second of the window's recording format (that of its current
    // or last recording); 0 when it holds none.
    virtual uint32_t RecordingByteRate() const { return 0; }
    virtual void OpenFile(const std::string& path) = 0;
    virtual void NewDefaultFile() = 0;
    // Moves the play/record position and its read-outs.
    virtual void GoTo(uint32_t position) = 0;
    // Shows the annotation at the file's current position.
    virtual void ShowAnnotation() = 0;

    // The conversion stream of an MP3 recording, closed while the
    // preferences sheet may change its format, and opened again after.
    virtual void CloseCodecStream() = 0;
    virtual void ReopenCodecStream() = 0;

    // The frame hands these on.
    virtual void Timer(UINT timerId) = 0;
    virtual LRESULT DeviceChange(WPARAM event, LPARAM data) = 0;

    // While the recorder keeps its own requests for later (a dialog or
    // message box is open, or a start, stop or save pumps messages), keeps
    // target's message among them, to be posted in its place, in order; false
    // when it keeps nothing now.
    virtual bool HoldInOrder(HWND target, UINT msg, WPARAM wParam, LPARAM lParam) {
        (void)target, (void)msg, (void)wParam, (void)lParam;
        return false;
    }

    // Windows ends the session: stop, bring the file up to date and close
    // it, asking nothing (a temporary recording keeps its temporary name).
    virtual void EndSession() = 0;
};

// The recorder window object (the frame's client) and its link. The link
// may be the window object itself.
struct RecorderClient {
    std::unique_ptr<TWindow> window;
    RecorderLink* link = nullptr;
    // A link object apart from the window, kept as long as the frame.
    std::shared_ptr<RecorderLink> keepAlive;
};

// Builds the recorder window, not yet created; the frame becomes its parent.
using RecorderFactory = std::function<RecorderClient()>;
