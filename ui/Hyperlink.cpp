#include "ui/Hyperlink.h"

#include <new>
#include <string>

#include <shellapi.h>

#include "ui/ResourceIds.h"
#include "win/Handles.h"
#include "win/WindowText.h"

namespace {

void OpenWithShell(HWND control, const wchar_t* address) {
    // The result is not examined: a link that cannot be opened simply does nothing.
    ShellExecuteW(control, L"open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

LinkOpener linkOpener = OpenWithShell;

WNDPROC PreviousProcedure(HWND control) noexcept {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_USERDATA));
}

LRESULT CallPrevious(HWND control, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (WNDPROC previous = PreviousProcedure(control)) {
        return CallWindowProcW(previous, control, message, wParam, lParam);
    }
    return DefWindowProcW(control, message, wParam, lParam);
}

// BeginPaint and EndPaint as one scope.
class PaintScope {
public:
    explicit PaintScope(HWND window) noexcept : window(window), dc(BeginPaint(window, &paint)) {}
    ~PaintScope() { EndPaint(window, &paint); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    HDC Dc() const noexcept { return dc; }

private:
    HWND window;
    PAINTSTRUCT paint{};
    HDC dc;
};

// Selects a font into a device context and puts the one it replaced back at the end.
class FontSelection {
public:
    FontSelection(HDC dc, HFONT font) noexcept
        : dc(dc), previous(font ? SelectObject(dc, font) : nullptr) {}
    ~FontSelection() {
        if (previous) {
            SelectObject(dc, previous);
        }
    }
    FontSelection(const FontSelection&) = delete;
    FontSelection& operator=(const FontSelection&) = delete;

private:
    HDC dc;
    HGDIOBJ previous;
};

LRESULT OnPaint(HWND control, WPARAM wParam, LPARAM lParam) noexcept {
    std::wstring text;
    try {
        // Throws std::bad_alloc when there is no memory for the text.
        text = ReadWindowText(control);
    } catch (const std::bad_alloc&) {
        // Without the text the control can still paint itself as a plain static.
        return CallPrevious(control, WM_PAINT, wParam, lParam);
    }
    PaintScope paint(control);
    const HDC dc = paint.Dc();
    // The background mode stays opaque, so the text cells are filled with the button face.
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    const UniqueFont font(CreateFontW(-MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0,
                                      FW_DONTCARE, FALSE, TRUE, FALSE, ANSI_CHARSET, 0, 0, 0, 0,
                                      L"MS Sans Serif"));
    const FontSelection selection(dc, font.get());
    SetTextColor(dc, RGB(0, 0, 255));
    TextOutW(dc, 0, 0, text.data(), static_cast<int>(text.size()));
    return 0;
}

LRESULT OnSetCursor(HWND control) noexcept {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(control, GWLP_HINSTANCE));
    HCURSOR hand = LoadCursorW(instance, MAKEINTRESOURCEW(IDC_POINTING_HAND));
    if (!hand) {
        // A module without the cursor resource still shows a hand rather than no cursor.
        hand = LoadCursorW(nullptr, IDC_HAND);
    }
    SetCursor(hand);
    return TRUE;
}

LRESULT OnButtonDown(HWND control) noexcept {
    try {
        const std::wstring address = ReadWindowText(control);
        linkOpener(control, address.c_str());
    } catch (const std::bad_alloc&) {
        // No memory for the address: the click does nothing.
    }
    return 0;
}

} // namespace

void MakeHyperlink(HWND control) noexcept {
    const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_WNDPROC));
    if (!current || current == HyperlinkWndProc) {
        // A second call would keep the link's own procedure as the previous one and recurse.
        return;
    }
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(current));
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HyperlinkWndProc));
}

LRESULT CALLBACK HyperlinkWndProc(HWND control, UINT message, WPARAM wParam,
                                  LPARAM lParam) noexcept {
    switch (message) {
    case WM_PAINT:
        return OnPaint(control, wParam, lParam);
    case WM_SETCURSOR:
        return OnSetCursor(control);
    case WM_LBUTTONDOWN:
        return OnButtonDown(control);
    default:
        return CallPrevious(control, message, wParam, lParam);
    }
}

LinkOpener ReplaceLinkOpener(LinkOpener opener) noexcept {
    const LinkOpener previous = linkOpener;
    linkOpener = opener ? opener : OpenWithShell;
    return previous;
}
