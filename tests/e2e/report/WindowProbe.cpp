// Looks at the top-level windows of the Wine session for the end-to-end
// checks, and closes one as its close box would.
//   window_probe wait TITLE SECONDS   0 once a visible window of that title exists
//   window_probe shown CLASS          prints 1 when a window of that class is visible, else 0;
//                                     exit code 1 when there is none
//   window_probe close TITLE          posts WM_CLOSE to the window of that title
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const char* verb = argv[1];
    if (std::strcmp(verb, "wait") == 0 && argc >= 4) {
        const int tenths = std::atoi(argv[3]) * 10;
        for (int i = 0; i < tenths; ++i) {
            const HWND window = FindWindowA(nullptr, argv[2]);
            if (window && IsWindowVisible(window))
                return 0;
            Sleep(100);
        }
        return 1;
    }
    if (std::strcmp(verb, "shown") == 0) {
        const HWND window = FindWindowA(argv[2], nullptr);
        if (!window)
            return 1;
        std::printf("%d\n", IsWindowVisible(window) ? 1 : 0);
        return 0;
    }
    if (std::strcmp(verb, "close") == 0) {
        const HWND window = FindWindowA(nullptr, argv[2]);
        return window && PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    return 2;
}
