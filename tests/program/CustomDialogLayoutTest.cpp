// The custom settings dialog as drawn: every label and check box shows its whole text in the
// font the system gives "MS Sans Serif". The link draws in the same face and size, underlined.

#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <chrono>
#include <string>
#include <thread>

#include "ui/CustomSettingsDialog.h"
#include "win/Handles.h"

namespace {

struct MemoryDcTraits {
    using Handle = HDC;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle dc) noexcept { DeleteDC(dc); }
};

TEST(CustomDialogLayout, NoTextIsCutOff) {
    int measured = 0;
    std::wstring cutOff;
    // The dialog runs on this thread and is measured from another.
    std::thread measurer([&] {
        HWND dialog = nullptr;
        for (int tries = 0; tries < 3000 && !dialog; ++tries) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            dialog = FindWindowW(L"#32770", L"Pembrix Gloamery - Edit Custom Settings");
        }
        if (!dialog) {
            return;
        }
        const Unique<MemoryDcTraits> dc(CreateCompatibleDC(nullptr));
        SelectObject(dc.get(), reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
        // A check box draws its box and a gap before its text.
        const LONG checkBox = MulDiv(16, GetDeviceCaps(dc.get(), LOGPIXELSX), 96);
        for (HWND child = GetWindow(dialog, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            std::array<wchar_t, 256> text{}, kind{};
            GetWindowTextW(child, text.data(), text.size());
            GetClassNameW(child, kind.data(), kind.size());
            LONG reserved = 0;
            if (lstrcmpiW(kind.data(), L"Button") == 0 &&
                (GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
                reserved = checkBox;
            } else if (lstrcmpiW(kind.data(), L"Static") != 0) {
                continue;
            }
            RECT needed{};
            RECT available{};
            DrawTextW(dc.get(), text.data(), -1, &needed, DT_CALCRECT | DT_SINGLELINE);
            GetClientRect(child, &available);
            if (needed.right + reserved > available.right) {
                cutOff += L" \"" + std::wstring(text.data()) + L"\"";
            }
            ++measured;
        }
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    CustomSettingsDialog().DoModal();
    measurer.join();
    EXPECT_EQ(cutOff, L"");
    // Three check boxes, seven labels and the link.
    EXPECT_EQ(measured, 11);
}

} // namespace
