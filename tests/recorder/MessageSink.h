// A hidden message-only window that keeps every message posted to it, so
// tests can see what a device reported and in which order.
#pragma once

#include <windows.h>

#include <vector>

struct SinkedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class MessageSink {
public:
    MessageSink() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "LarkspurTestMessageSink";
        RegisterClassA(&wc);  // fails harmlessly when already registered
        hwnd_ = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, LONG_PTR(this));
    }
    ~MessageSink() { DestroyWindow(hwnd_); }
    MessageSink(const MessageSink&) = delete;
    MessageSink& operator=(const MessageSink&) = delete;

    HWND Hwnd() const { return hwnd_; }

    // Delivers what is waiting in the queue; returns the messages kept so far.
    const std::vector<SinkedMessage>& Pump() {
        MSG msg;
        while (PeekMessageA(&msg, hwnd_, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        return messages;
    }
    // The messages of one kind kept so far, after delivering what waits.
    std::vector<SinkedMessage> Only(UINT message) {
        std::vector<SinkedMessage> kept;
        for (const SinkedMessage& m : Pump()) {
            if (m.message == message) kept.push_back(m);
        }
        return kept;
    }
    // Waits (real time, for real devices only) until count messages of one
    // kind arrived.
    bool WaitFor(UINT message, size_t count, DWORD timeoutMs) {
        const DWORD start = GetTickCount();
        while (Only(message).size() < count) {
            if (GetTickCount() - start > timeoutMs) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
        return true;
    }

    std::vector<SinkedMessage> messages;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<MessageSink*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self && message >= MM_WOM_OPEN && message <= MM_WIM_DATA) {
            self->messages.push_back({message, wParam, lParam});
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }

    HWND hwnd_ = nullptr;
};
