// bare_clipboard_put FILE EVENTS
// The least a program can do to copy a WAV file to the clipboard: the whole
// file read (ReadFile, 600000 bytes at a time) into one GMEM_MOVEABLE |
// GMEM_DDESHARE block, which goes on the clipboard as CF_WAVE. The edit
// bench's baseline for a copy or cut of that many bytes.
// EVENTS names three events the caller made: EVENTS.ready is set once this
// program is up (its start-up is no part of a copy), EVENTS.go starts the
// copy, EVENTS.quit ends the program (the clipboard's data lives until then;
// messages are answered meanwhile). Exit code 0 once the block was put.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr DWORD kChunkBytes = 600000;

// The whole file in a new block; null on failure.
HGLOBAL ReadIntoBlock(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    LARGE_INTEGER size{};
    HGLOBAL block = nullptr;
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && static_cast<uint64_t>(size.QuadPart) < SIZE_MAX)
        block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, static_cast<SIZE_T>(size.QuadPart));
    char* data = block ? static_cast<char*>(GlobalLock(block)) : nullptr;
    bool read = data != nullptr;
    for (uint64_t done = 0, total = static_cast<uint64_t>(size.QuadPart); read && done < total;) {
        const DWORD take = static_cast<DWORD>(total - done < kChunkBytes ? total - done : kChunkBytes);
        DWORD got = 0;
        read = ReadFile(file, data + done, take, &got, nullptr) && got == take;
        done += got;
    }
    if (data)
        GlobalUnlock(block);
    CloseHandle(file);
    if (!read && block) {
        GlobalFree(block);
        return nullptr;
    }
    return block;
}

bool PutOnClipboard(HWND owner, HGLOBAL block) {
    if (!OpenClipboard(owner))
        return false;
    const bool put = EmptyClipboard() && SetClipboardData(CF_WAVE, block);
    CloseClipboard();
    return put;
}

// Answers messages (another program emptying the clipboard sends one to
// its owner) until the event is set.
void WaitAnswering(HANDLE event) {
    while (MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bare_clipboard_put FILE EVENTS\n");
        return 2;
    }
    const std::string events = argv[2];
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, (events + ".ready").c_str());
    HANDLE go = OpenEventA(SYNCHRONIZE, FALSE, (events + ".go").c_str());
    HANDLE quit = OpenEventA(SYNCHRONIZE, FALSE, (events + ".quit").c_str());
    HWND owner = CreateWindowExA(0, "STATIC", "bare clipboard", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (!ready || !go || !quit || !owner) {
        std::fprintf(stderr, "bare_clipboard_put: no events named %s, or no window\n", argv[2]);
        return 2;
    }
    SetEvent(ready);
    WaitAnswering(go);
    HGLOBAL block = ReadIntoBlock(argv[1]);
    const bool put = block && PutOnClipboard(owner, block);
    if (block && !put)
        GlobalFree(block);
    if (!put)
        return 1;
    WaitAnswering(quit);
    DestroyWindow(owner);
    return 0;
}
