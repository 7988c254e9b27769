// A stand-in for the help viewer's control module, exporting HtmlHelpW under the viewer's
// ordinal. It answers a request to show a topic with a small window that the caller owns and
// that is titled with the requested file, so that a test sees what reached the viewer and from
// which window; any other request gets a window titled "?".

#include <windows.h>

#include <htmlhelp.h>

extern "C" HWND WINAPI StandInHtmlHelpW(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data) {
    const bool showTopic = command == HH_DISPLAY_TOPIC && data == 0 && file;
    return CreateWindowExW(0, L"STATIC", showTopic ? file : L"?", WS_POPUP | WS_VISIBLE, 0, 0, 40,
                           20, caller, nullptr, nullptr, nullptr);
}
