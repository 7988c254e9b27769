// The about box run modally, as the main dialog runs it, with a second thread that finds the box,
// reads what it shows and closes it.

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "ui/AboutDialog.h"
#include "ui/Hyperlink.h"
#include "ui/ProgramInfo.h"
#include "ui/ResourceIds.h"
#include "win/Handles.h"

namespace {

std::vector<std::wstring> openedAddresses;

void RecordOpenedAddress(HWND, const wchar_t* address) {
    openedAddresses.push_back(address);
}

std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

BOOL CALLBACK KeepAboutBox(HWND window, LPARAM found) {
    if (TextOf(window) == L"About Pembrix Gloamery") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// The about box among the windows of the given thread, waited for up to ten seconds.
HWND WaitForAboutBox(DWORD threadId) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        HWND found = nullptr;
        EnumThreadWindows(threadId, KeepAboutBox, reinterpret_cast<LPARAM>(&found));
        if (found) {
            return found;
        }
        Sleep(50);
    }
    return nullptr;
}

// Runs the about box on this thread while `drive` looks at it from another; returns the result
// of the modal run. A box that never shows up ends the run through a quit request.
INT_PTR RunAboutBox(const std::function<void(HWND box, DWORD uiThread)>& drive) {
    const DWORD uiThread = GetCurrentThreadId();
    std::thread driver([&] {
        if (HWND box = WaitForAboutBox(uiThread)) {
            drive(box, uiThread);
        } else {
            PostThreadMessageW(uiThread, WM_QUIT, 0, 0);
        }
    });
    AboutDialog dialog;
    const INT_PTR result = dialog.DoModal();
    driver.join();
    // A quit request that ended the run is not meant for later tests.
    MSG leftover;
    PeekMessageW(&leftover, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    return result;
}

// Width in pixels of a text in the link's font, measured on the link's own display.
int LinkTextWidth(HWND link, const std::wstring& text) {
    HDC dc = GetDC(link);
    UniqueFont font(CreateFontW(-MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_DONTCARE,
                                FALSE, TRUE, FALSE, ANSI_CHARSET, 0, 0, 0, 0, L"MS Sans Serif"));
    HGDIOBJ previous = SelectObject(dc, font.get());
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(link, dc);
    return extent.cx;
}

TEST(AboutDialog, ShowsVersionCopyrightAndTheHomePageLink) {
    std::wstring version, copyright, linkText;
    bool visible = false, linkIsHyperlink = false, hasIcon = false, linkFits = false;
    int focused = 0;
    const LinkOpener previous = ReplaceLinkOpener(RecordOpenedAddress);
    openedAddresses.clear();

    const INT_PTR result = RunAboutBox([&](HWND box, DWORD uiThread) {
        for (int attempt = 0; attempt < 40 && !visible; ++attempt, Sleep(50)) {
            visible = IsWindowVisible(box);
        }
        version = TextOf(GetDlgItem(box, IDC_ABOUT_VERSION));
        copyright = TextOf(GetDlgItem(box, IDC_ABOUT_COPYRIGHT));
        const HWND link = GetDlgItem(box, IDC_ABOUT_LINK);
        linkText = TextOf(link);
        linkIsHyperlink =
            reinterpret_cast<WNDPROC>(GetWindowLongPtrW(link, GWLP_WNDPROC)) == HyperlinkWndProc;
        RECT client{};
        GetClientRect(link, &client);
        linkFits = LinkTextWidth(link, linkText) <= client.right;
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            hasIcon = hasIcon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
        }
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        GetGUIThreadInfo(uiThread, &info);
        focused = GetDlgCtrlID(info.hwndFocus);
        // The click runs on the box's own thread; SendMessageW waits for it.
        SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    });
    ReplaceLinkOpener(previous);

    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(visible);
    EXPECT_EQ(version, L"Pembrix Gloamery Version 1.11");
    EXPECT_EQ(copyright, kCopyrightLine);
    EXPECT_EQ(linkText, kHomePageAddress);
    EXPECT_TRUE(linkIsHyperlink);
    EXPECT_TRUE(linkFits) << "the address is cut off by the link's width";
    EXPECT_TRUE(hasIcon);
    EXPECT_EQ(focused, IDOK);
    EXPECT_EQ(openedAddresses, std::vector<std::wstring>{kHomePageAddress});
}

TEST(AboutDialog, EscapeAndTheCloseBoxEndIt) {
    EXPECT_EQ(RunAboutBox([](HWND box, DWORD) {
                  PostMessageW(GetDlgItem(box, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
              }),
              IDCANCEL);
    EXPECT_EQ(RunAboutBox([](HWND box, DWORD) { PostMessageW(box, WM_CLOSE, 0, 0); }), IDCANCEL);
}

} // namespace
