// Another program beside the recorder: once the recorder's window is up,
// puts a WAV file's image on the clipboard, asks the recorder for Paste to
// File, answers the save dialog with a name (typed into its name box, then
// OK) and waits until the file is there. When it is not, it says whether the
// clipboard was taken from it meanwhile and what windows the recorder shows.
//   clipboard_peer WAV TARGET     exit 0 when the recorder wrote TARGET
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "resources/ResourceIds.h"
#include "tests/support/SaveDialogSearch.h"

namespace {

// Set when another program emptied the clipboard while the image was ours.
bool clipboardTaken = false;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROYCLIPBOARD)
        clipboardTaken = true;
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateOwner() {
    WNDCLASSA type{};
    type.lpfnWndProc = OwnerProc;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "ClipboardPeerOwner";
    if (!RegisterClassA(&type))
        return nullptr;
    return CreateWindowExA(0, type.lpszClassName, "clipboard peer", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                           type.hInstance, nullptr);
}

bool PutWave(HWND owner, const std::vector<char>& image) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, image.size());
    if (!block)
        return false;
    void* data = GlobalLock(block);
    if (!data) {
        GlobalFree(block);
        return false;
    }
    if (!image.empty())
        std::memcpy(data, image.data(), image.size());
    GlobalUnlock(block);
    if (!OpenClipboard(owner)) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    const bool set = SetClipboardData(CF_WAVE, block) != nullptr;
    if (!set)
        GlobalFree(block);
    CloseClipboard();
    return set;
}

// Pumps this program's own messages (the clipboard owner's) while waiting.
void Wait(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(20);
    }
}

std::string TextOf(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
    char name[64] = "";
    GetClassNameA(child, name, sizeof name);
    const std::string text = TextOf(child);
    if (IsWindowVisible(child) && !text.empty())
        std::fprintf(stderr, "    %s \"%s\"\n", name, text.c_str());
    return TRUE;
}

// Every visible top-level window of the thread, with the texts inside each
// dialog (a message box's among them).
BOOL CALLBACK PrintWindow(HWND window, LPARAM thread) {
    if (GetWindowThreadProcessId(window, nullptr) != static_cast<DWORD>(thread) || !IsWindowVisible(window))
        return TRUE;
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    std::fprintf(stderr, "  window %s \"%s\"\n", name, TextOf(window).c_str());
    if (std::string(name) == "#32770")
        EnumChildWindows(window, &PrintChild, 0);
    return TRUE;
}

void PrintClipboardState(HWND owner) {
    const HWND now = GetClipboardOwner();
    char name[64] = "(none)";
    DWORD process = 0;
    if (now) {
        GetClassNameA(now, name, sizeof name);
        GetWindowThreadProcessId(now, &process);
    }
    std::fprintf(stderr, "the clipboard was %s; its owner now: %s (process %lu), CF_WAVE %s\n",
                 clipboardTaken ? "taken from the peer" : "the peer's throughout",
                 now == owner ? "the peer" : name, static_cast<unsigned long>(process),
                 IsClipboardFormatAvailable(CF_WAVE) ? "there" : "gone");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: clipboard_peer WAV TARGET\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<char> image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    HWND owner = CreateOwner();
    HWND frame = nullptr;
    for (int i = 0; i < 300 && !frame; ++i, Wait(100))
        frame = FindWindowA("Larkspur-PRO", nullptr);
    if (!frame) {
        std::fprintf(stderr, "no recorder window\n");
        return 1;
    }
    // Wine's clipboard manager empties the clipboard once as it starts, in
    // the desktop's process, which may start beside the recorder: the image
    // goes up once the manager runs.
    HWND manager = nullptr;
    for (int i = 0; i < 300 && !manager; ++i, Wait(100))
        manager = FindWindowExA(HWND_MESSAGE, nullptr, "__wine_clipboard_manager", nullptr);
    if (!manager) {
        std::fprintf(stderr, "no clipboard manager\n");
        return 1;
    }
    Wait(300);
    if (image.empty() || !owner || !PutWave(owner, image)) {
        std::fprintf(stderr, "cannot put %s on the clipboard\n", argv[1]);
        return 1;
    }
    Wait(500);
    if (clipboardTaken) {
        PrintClipboardState(owner);
        std::fprintf(stderr, "the image was gone before Paste to File was asked for\n");
        return 1;
    }
    PostMessageA(frame, WM_COMMAND, CM_PASTETOFILE, 0);
    DialogSearch search{GetWindowThreadProcessId(frame, nullptr), nullptr};
    for (int i = 0; i < 200 && !search.found; ++i, Wait(100))
        EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
    if (!search.found) {
        std::fprintf(stderr, "no save dialog\n");
        return 1;
    }
    Wait(300);
    HWND nameBox = nullptr;
    EnumChildWindows(search.found, &FindNameBox, reinterpret_cast<LPARAM>(&nameBox));
    if (!nameBox) {
        std::fprintf(stderr, "no name box in the save dialog\n");
        return 1;
    }
    SendMessageA(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[2]));
    Wait(200);
    char typed[MAX_PATH] = "";
    SendMessageA(nameBox, WM_GETTEXT, sizeof typed, reinterpret_cast<LPARAM>(typed));
    PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(search.found, IDOK)));
    // Done when the file holds the whole image (the clipboard stays ours
    // until then).
    for (int i = 0; i < 300; ++i, Wait(100)) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (GetFileAttributesExA(argv[2], GetFileExInfoStandard, &data) && data.nFileSizeHigh == 0 &&
            data.nFileSizeLow == image.size())
            return 0;
    }
    // What the dialog held, so that a failure says whether the name was
    // taken and the dialog closed.
    char held[MAX_PATH] = "";
    const bool open = IsWindow(search.found) && IsWindow(nameBox);
    if (open)
        SendMessageA(nameBox, WM_GETTEXT, sizeof held, reinterpret_cast<LPARAM>(held));
    std::fprintf(stderr, "%s was not written (the save dialog is %s%s%s)\n", argv[2],
                 open ? "still open, its name box holding \"" : "closed", open ? held : "", open ? "\"" : "");
    std::fprintf(stderr, "the name box held \"%s\" when OK was pressed\n", typed);
    PrintClipboardState(owner);
    std::fprintf(stderr, "the recorder shows:\n");
    EnumWindows(&PrintWindow, static_cast<LPARAM>(search.thread));
    return 1;
}
