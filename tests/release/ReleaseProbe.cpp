// Starts a shortcut of the installed program as the shell does at sign-in and, once the
// wallpaper picture FILE exists, prints whether the settings window is "shown", "hidden" (and
// off the taskbar: a tool window, not an application window) or "none"; install-test.sh judges
// it. The window is known by its title: Wine's shell gives no process for a shortcut's program.
//   gloamery_release_probe LINK FILE

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <cstdio>

int wmain(int, wchar_t** argv) {
    // Shortcuts are read through COM objects.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ShellExecuteW(nullptr, nullptr, argv[1], nullptr, nullptr, SW_SHOWNORMAL);
    HWND window = nullptr;
    for (int tries = 0; tries < 6000; ++tries) {
        window = FindWindowW(nullptr, L"Pembrix Gloamery Settings");
        if (window && GetFileAttributesW(argv[2]) != INVALID_FILE_ATTRIBUTES) {
            break;
        }
        Sleep(20);
    }
    const LONG_PTR taskbar =
        GetWindowLongPtrW(window, GWL_EXSTYLE) & (WS_EX_APPWINDOW | WS_EX_TOOLWINDOW);
    std::puts(!window                       ? "none"
              : IsWindowVisible(window)     ? "shown"
              : taskbar == WS_EX_TOOLWINDOW ? "hidden"
                                            : "hidden on the taskbar");
    return 0;
}
