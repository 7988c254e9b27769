// The link control on a real static control: what it draws and what a click opens follow its
// text; the cursor it shows; the messages it leaves to the control's own procedure.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/Hyperlink.h"
#include "ui/ResourceIds.h"
#include "win/Handles.h"

namespace {

std::vector<std::wstring> openedLinks;

void RecordOpenedLink(HWND, const wchar_t* address) {
    openedLinks.push_back(address);
}

// Records the links opened while it lives.
class RecordedOpener {
public:
    RecordedOpener() { openedLinks.clear(); }
    ~RecordedOpener() { ReplaceLinkOpener(previous); }
    RecordedOpener(const RecordedOpener&) = delete;
    RecordedOpener& operator=(const RecordedOpener&) = delete;

private:
    LinkOpener previous = ReplaceLinkOpener(RecordOpenedLink);
};

// What a window shows in the link's blue after it painted: the right-most column and the
// longest run in one row (the underline); and its top-left pixel.
struct BlueInk {
    int rightmost = -1;
    int longestRun = 0;
    COLORREF corner = CLR_INVALID;
};

BlueInk BlueInkOf(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    const HDC dc = GetDC(window);
    BlueInk ink;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0, run = 0; x < client.right; ++x) {
            const bool blue = GetPixel(dc, x, y) == RGB(0, 0, 255);
            run = blue ? run + 1 : 0;
            ink.longestRun = std::max(ink.longestRun, run);
            ink.rightmost = blue ? std::max(ink.rightmost, x) : ink.rightmost;
        }
    }
    ink.corner = GetPixel(dc, 0, 0);
    ReleaseDC(window, dc);
    return ink;
}

class HyperlinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent.reset(CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 400, 100,
                                     nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
        ASSERT_TRUE(parent);
        control = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 10, 10, 300,
                                  20, parent.get(), nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(control, nullptr);
        MakeHyperlink(control);
    }

    // Shows the text, paints, and clicks the link.
    BlueInk ShowAndClick(const wchar_t* text) {
        SetWindowTextW(control, text);
        InvalidateRect(control, nullptr, TRUE);
        UpdateWindow(control);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        return BlueInkOf(control);
    }

    const RecordedOpener opener;
    UniqueWindow parent;
    HWND control = nullptr;
};

TEST_F(HyperlinkTest, DrawsAndOpensWhatTheTextIsNow) {
    const BlueInk brief = ShowAndClick(L"ab");
    const BlueInk full = ShowAndClick(L"http://www.pembrix.example/products/");
    const BlueInk none = ShowAndClick(L"");

    ASSERT_GT(brief.rightmost, 0);
    EXPECT_GT(full.rightmost, brief.rightmost * 4);
    // Underlined: one run of blue beneath the whole text.
    EXPECT_GT(full.longestRun, 60);
    EXPECT_GE(full.longestRun + 4, full.rightmost);
    // The text cells are filled with the button face, starting at the left.
    EXPECT_EQ(full.corner, GetSysColor(COLOR_BTNFACE) & 0xFFFFFF);
    EXPECT_EQ(none.rightmost, -1);
    const std::vector<std::wstring> opened = {L"ab", L"http://www.pembrix.example/products/", L""};
    EXPECT_EQ(openedLinks, opened);
}

TEST_F(HyperlinkTest, ShowsThePointingHandWithItsHotSpotAtTheTip) {
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    SendMessageW(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    const HCURSOR hand =
        LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_POINTING_HAND));
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(GetCursor(), hand);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    const UniqueBitmap mask(info.hbmMask);
    const UniqueBitmap colour(info.hbmColor);
    EXPECT_EQ(info.xHotspot, 0u);
    EXPECT_EQ(info.yHotspot, 0u);
}

// A window class whose procedure records what reaches it, to see what the link passes on.
std::vector<UINT> messagesSeen;

LRESULT CALLBACK RecordingProcedure(HWND window, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept {
    messagesSeen.push_back(message);
    return message == WM_APP ? 42 : DefWindowProcW(window, message, wParam, lParam);
}

TEST(HyperlinkPassThrough, LeavesAllButPaintCursorAndButtonDownToThePreviousProcedure) {
    const RecordedOpener opener;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = RecordingProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"GloameryRecordingStatic";
    ASSERT_NE(RegisterClassW(&windowClass), 0);
    const UniqueWindow window(CreateWindowExW(0, windowClass.lpszClassName, L"http://x.example/",
                                              WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                                              windowClass.hInstance, nullptr));
    ASSERT_TRUE(window);
    MakeHyperlink(window.get());
    MakeHyperlink(window.get()); // changes nothing: the link must not become its own previous
    messagesSeen.clear();

    EXPECT_EQ(SendMessageW(window.get(), WM_APP, 0, 0), 42);
    for (const UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK}) {
        SendMessageW(window.get(), message, MK_LBUTTON, 0);
    }
    SendMessageW(window.get(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window.get()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));

    // The text the link reads comes from the previous procedure too.
    const auto seen = [](UINT message) {
        return std::find(messagesSeen.begin(), messagesSeen.end(), message) != messagesSeen.end();
    };
    EXPECT_TRUE(seen(WM_APP));
    EXPECT_TRUE(seen(WM_GETTEXT));
    EXPECT_TRUE(seen(WM_LBUTTONUP));
    EXPECT_FALSE(seen(WM_LBUTTONDOWN));
    EXPECT_FALSE(seen(WM_SETCURSOR));
    // Only the button going down opens the link.
    EXPECT_EQ(openedLinks, std::vector<std::wstring>{L"http://x.example/"});
}

} // namespace
