// The link control on a real static control: what it draws, what a click opens, the cursor it
// shows and the messages it leaves to the control's own procedure.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/Hyperlink.h"
#include "ui/ResourceIds.h"
#include "win/Handles.h"

namespace {

struct OpenedLink {
    HWND control;
    std::wstring address;
};

std::vector<OpenedLink> openedLinks;

void RecordOpenedLink(HWND control, const wchar_t* address) {
    openedLinks.push_back({control, address});
}

// Pixels of a window's client area, read back from the screen after it painted.
class ClientPixels {
public:
    explicit ClientPixels(HWND window) {
        RECT client{};
        GetClientRect(window, &client);
        width = client.right;
        height = client.bottom;
        pixels.resize(static_cast<size_t>(width) * height);
        HDC windowDc = GetDC(window);
        HDC memoryDc = CreateCompatibleDC(windowDc);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        UniqueBitmap bitmap(CreateDIBSection(memoryDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        HGDIOBJ previous = SelectObject(memoryDc, bitmap.get());
        BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* source = static_cast<const DWORD*>(bits);
        for (size_t i = 0; i < pixels.size(); ++i) {
            const DWORD bgra = source[i];
            pixels[i] = RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
        }
        SelectObject(memoryDc, previous);
        DeleteDC(memoryDc);
        ReleaseDC(window, windowDc);
    }

    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }

    int Count(COLORREF colour) const {
        int count = 0;
        for (COLORREF pixel : pixels) {
            count += pixel == colour;
        }
        return count;
    }

    // Right-most column holding the colour, or -1.
    int RightmostColumnOf(COLORREF colour) const {
        int rightmost = -1;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (At(x, y) == colour && x > rightmost) {
                    rightmost = x;
                }
            }
        }
        return rightmost;
    }

    // Longest horizontal run of the colour in any row: the underline.
    int LongestRunOf(COLORREF colour) const {
        int longest = 0;
        for (int y = 0; y < height; ++y) {
            int run = 0;
            for (int x = 0; x < width; ++x) {
                run = At(x, y) == colour ? run + 1 : 0;
                longest = std::max(longest, run);
            }
        }
        return longest;
    }

    int width = 0;
    int height = 0;

private:
    std::vector<COLORREF> pixels;
};

constexpr COLORREF kLinkBlue = RGB(0, 0, 255);

class HyperlinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        openedLinks.clear();
        previousOpener = ReplaceLinkOpener(RecordOpenedLink);
        parent.reset(CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 400, 100,
                                     nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
        ASSERT_TRUE(parent);
        control = CreateWindowExW(0, L"STATIC", L"http://www.pembrix.example/",
                                  WS_CHILD | WS_VISIBLE | SS_NOTIFY, 10, 10, 300, 20, parent.get(),
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(control, nullptr);
        originalProcedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_WNDPROC));
    }

    void TearDown() override { ReplaceLinkOpener(previousOpener); }

    void Repaint() {
        InvalidateRect(control, nullptr, TRUE);
        UpdateWindow(control);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
    }

    void Click() { SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3)); }

    UniqueWindow parent;
    HWND control = nullptr;
    WNDPROC originalProcedure = nullptr;
    LinkOpener previousOpener = nullptr;
};

TEST_F(HyperlinkTest, InstallsItsProcedureAndKeepsThePreviousOneInTheUserDataSlot) {
    MakeHyperlink(control);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_WNDPROC)),
              HyperlinkWndProc);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_USERDATA)),
              originalProcedure);

    // A second call must not record the link's own procedure as the previous one.
    MakeHyperlink(control);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_USERDATA)),
              originalProcedure);
    wchar_t text[64] = {};
    EXPECT_EQ(GetWindowTextW(control, text, 64), 27);
    EXPECT_STREQ(text, L"http://www.pembrix.example/");
}

TEST_F(HyperlinkTest, DrawsTheTextBlueAndUnderlinedOnTheButtonFace) {
    SetWindowTextW(control, L"http://www.pembrix.example/");
    MakeHyperlink(control);
    Repaint();
    const ClientPixels pixels(control);

    EXPECT_GT(pixels.Count(kLinkBlue), 20);
    // The underline runs under the whole text, which is far longer than any one letter.
    const int underline = pixels.LongestRunOf(kLinkBlue);
    EXPECT_GT(underline, 60);
    EXPECT_GE(underline + 4, pixels.RightmostColumnOf(kLinkBlue));
    // Text cells are filled with the button face (opaque background), starting at the left.
    EXPECT_EQ(pixels.At(0, 0), GetSysColor(COLOR_BTNFACE) & 0xFFFFFF);
}

TEST_F(HyperlinkTest, DrawsWhatTheTextIsNow) {
    MakeHyperlink(control);
    SetWindowTextW(control, L"ab");
    Repaint();
    const int shortExtent = ClientPixels(control).RightmostColumnOf(kLinkBlue);

    SetWindowTextW(control, L"http://www.pembrix.example/products/");
    Repaint();
    const int longExtent = ClientPixels(control).RightmostColumnOf(kLinkBlue);

    ASSERT_GT(shortExtent, 0);
    EXPECT_GT(longExtent, shortExtent * 4);
}

TEST_F(HyperlinkTest, EmptyTextDrawsNothing) {
    MakeHyperlink(control);
    SetWindowTextW(control, L"");
    Repaint();
    EXPECT_EQ(ClientPixels(control).Count(kLinkBlue), 0);
}

TEST_F(HyperlinkTest, ButtonDownOpensTheCurrentText) {
    MakeHyperlink(control);
    Click();
    SetWindowTextW(control, L"http://www.pembrix.example/products/gloamery/more.asp");
    Click();
    SetWindowTextW(control, L"");
    Click();

    ASSERT_EQ(openedLinks.size(), 3u);
    EXPECT_EQ(openedLinks[0].control, control);
    EXPECT_EQ(openedLinks[0].address, L"http://www.pembrix.example/");
    EXPECT_EQ(openedLinks[1].address, L"http://www.pembrix.example/products/gloamery/more.asp");
    EXPECT_EQ(openedLinks[2].address, L"");
}

TEST_F(HyperlinkTest, ButtonUpAndPlainStaticsOpenNothing) {
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    MakeHyperlink(control);
    SendMessageW(control, WM_LBUTTONUP, 0, 0);
    SendMessageW(control, WM_LBUTTONDBLCLK, 0, 0);
    EXPECT_TRUE(openedLinks.empty());
}

TEST_F(HyperlinkTest, ShowsThePointingHandFromTheControlsModule) {
    MakeHyperlink(control);
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    SendMessageW(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));

    const HCURSOR hand =
        LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_POINTING_HAND));
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(GetCursor(), hand);

    // The cursor's hot spot is its top-left corner.
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    UniqueBitmap mask(info.hbmMask);
    UniqueBitmap colour(info.hbmColor);
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 0u);
    EXPECT_EQ(info.yHotspot, 0u);
    BITMAP maskBitmap{};
    ASSERT_NE(GetObjectW(mask.get(), sizeof(maskBitmap), &maskBitmap), 0);
    EXPECT_EQ(maskBitmap.bmWidth, 32);
    EXPECT_EQ(maskBitmap.bmHeight, colour ? 32 : 64); // a monochrome cursor stacks both masks
}

// A window class whose procedure records what reaches it, to see what the link passes on.
std::vector<UINT> messagesSeen;

LRESULT CALLBACK RecordingProcedure(HWND window, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept {
    messagesSeen.push_back(message);
    if (message == WM_APP) {
        return 42;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(HyperlinkPassThrough, LeavesOtherMessagesToThePreviousProcedure) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = RecordingProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"GloameryRecordingStatic";
    ASSERT_NE(RegisterClassW(&windowClass), 0);
    UniqueWindow window(CreateWindowExW(0, windowClass.lpszClassName, L"http://x.example/",
                                        WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                                        windowClass.hInstance, nullptr));
    ASSERT_TRUE(window);
    const LinkOpener previous = ReplaceLinkOpener(RecordOpenedLink);
    openedLinks.clear();
    MakeHyperlink(window.get());
    messagesSeen.clear();

    EXPECT_EQ(SendMessageW(window.get(), WM_APP, 0, 0), 42);
    EXPECT_EQ(SendMessageW(window.get(), WM_LBUTTONDOWN, 0, 0), 0);
    SendMessageW(window.get(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window.get()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));

    // The click and the cursor are the link's own; the rest (the text it reads included)
    // reaches the old procedure.
    auto seen = [](UINT message) {
        return std::find(messagesSeen.begin(), messagesSeen.end(), message) != messagesSeen.end();
    };
    EXPECT_TRUE(seen(WM_APP));
    EXPECT_TRUE(seen(WM_GETTEXT));
    EXPECT_FALSE(seen(WM_LBUTTONDOWN));
    EXPECT_FALSE(seen(WM_SETCURSOR));
    ASSERT_EQ(openedLinks.size(), 1u);
    EXPECT_EQ(openedLinks[0].address, L"http://x.example/");
    ReplaceLinkOpener(previous);
}

} // namespace
