// Posts menu commands to a running program's frame window, as its menu
// would: post_command CLASS ID [ID...]. Waits up to 20 s for the window.
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
    for (int tries = 0; tries < 200 && !frame; ++tries) {
        frame = FindWindowA(argv[1], nullptr);
        if (!frame)
            Sleep(100);
    }
    if (!frame) {
        std::fprintf(stderr, "post_command: no window of class %s\n", argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        const long id = std::strtol(argv[i], nullptr, 10);
        if (!PostMessageA(frame, WM_COMMAND, MAKEWPARAM(id, 0), 0))
            return 1;
    }
    return 0;
}
