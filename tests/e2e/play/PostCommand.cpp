// Posts menu commands to a running program's frame window, as its menu
// would: post_command CLASS ID [ID...]. Waits up to 20 s for the window to
// be shown (its set-up done: commands posted while the set-up pumps
// messages would reach a window that is not yet complete).
// Exit code 0 when every command was posted.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: post_command CLASS ID [ID...]\n");
        return 2;
    }
    HWND frame = nullptr;
    for (int tries = 0; tries < 200; ++tries) {
        frame = FindWindowA(argv[1], nullptr);
        if (frame && IsWindowVisible(frame))
            break;
        frame = nullptr;
        Sleep(100);
    }
    if (!frame) {
        std::fprintf(stderr, "post_command: no window of class %s\n", argv[1]);
        return 1;
    }
    Sleep(500);  // the start-up actions it posted to itself come first
    for (int i = 2; i < argc; ++i) {
        const long id = std::strtol(argv[i], nullptr, 10);
        if (!PostMessageA(frame, WM_COMMAND, MAKEWPARAM(id, 0), 0))
            return 1;
    }
    return 0;
}
