// A recorder window for the application object's and the frame's tests: a
// plain child window that logs what it is asked to do and the private
// messages it receives, and holds a memory recording when a test gives it one.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/RecorderLink.h"
#include "framework/Window.h"
#include "tests/audiofile/MemoryRecFile.h"

class FakeRecorder : public TWindow, public RecorderLink {
public:
    FakeRecorder() {
        Attr.style = WS_CHILD | WS_VISIBLE;
        Attr.x = 0;
        Attr.y = 0;
        Attr.w = 300;
        Attr.h = 120;
    }
    std::string GetClassName() const override { return "LarkspurFakeRecorder"; }

    // State the tests set.
    bool recording = false;
    bool playing = false;
    bool editing = false;
    bool inputOpen = false;
    std::unique_ptr<MemoryRecFile> file;
    uint32_t recordingByteRate = 0;

    // What happened, in order ("stop", "play", "listen", "open:<path>", ...).
    std::vector<std::string> calls;
    struct Received {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Received> received;

    // Dispatches what was posted to this window.
    void PumpPosted() {
        MSG msg;
        while (PeekMessageA(&msg, GetHandle(), 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    bool Got(UINT msg) const {
        for (const Received& r : received)
            if (r.msg == msg) return true;
        return false;
    }

    bool Dispatch(Message& m) override {
        if (m.msg >= WM_USER && m.msg < 0x8000) received.push_back({m.msg, m.wParam, m.lParam});
        return TWindow::Dispatch(m);
    }

    HWND Window() const override { return GetHandle(); }
    bool IsRecording() const override { return recording; }
    bool IsPlaying() const override { return playing; }
    bool IsEditing() const override { return editing; }
    bool InputDeviceOpen() const override { return inputOpen; }
    void Stop() override {
        calls.push_back("stop");
        recording = playing = false;
    }
    void Play() override { calls.push_back("play"); }
    void Listen() override { calls.push_back("listen"); }
    RecFile* CurrentFile() override { return file.get(); }
    uint32_t RecordingByteRate() const override { return recordingByteRate; }
    void OpenFile(const std::string& path) override { calls.push_back("open:" + path); }
    void NewDefaultFile() override { calls.push_back("new"); }
    void GoTo(uint32_t position) override { calls.push_back("goto:" + std::to_string(position)); }
    void ShowAnnotation() override { calls.push_back("annotation"); }
    void CloseCodecStream() override { calls.push_back("codec-close"); }
    void ReopenCodecStream() override { calls.push_back("codec-open"); }
    void Timer(UINT timerId) override { calls.push_back("timer:" + std::to_string(timerId)); }
    LRESULT DeviceChange(WPARAM, LPARAM) override {
        calls.push_back("device");
        return TRUE;
    }
    // As the recorder window does: the recording stopped and closed.
    void EndSession() override {
        calls.push_back("endsession");
        recording = playing = false;
        file.reset();
    }
};

// A factory handing out one fake and remembering it.
inline RecorderFactory FakeRecorderFactory(FakeRecorder*& made) {
    return [&made] {
        auto recorder = std::make_unique<FakeRecorder>();
        made = recorder.get();
        RecorderClient client;
        client.link = recorder.get();
        client.window = std::move(recorder);
        return client;
    };
}
