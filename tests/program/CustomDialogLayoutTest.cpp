// The custom settings dialog as drawn: every label shows its whole text in the dialog's font,
// the link its whole address in the link's font, and the labels in front of the fields end at
// one line. Measured on the dialog itself, so that the checks hold for whatever font the system
// gives "MS Sans Serif".

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "WindowDriver.h"
#include "ui/CustomSettingsDialog.h"
#include "ui/ResourceIds.h"
#include "win/Handles.h"

namespace program_test {
namespace {

constexpr const wchar_t* kFieldLabels[] = {L"Main Image:", L"Night Image:", L"Noon GMT:",
                                           L"Update:"};
constexpr const wchar_t* kOtherLabels[] = {
    L"(Location in pixels - defaults to center of Main Image)",
    L"(Frequency of updates in minutes)", L"Get more images:"};

// What one control's text needs and what the control has, in pixels of the dialog.
struct Fit {
    std::wstring text;
    LONG needed = 0;
    LONG available = 0;
    LONG textRight = 0; // where the text ends, in the dialog's client coordinates
};

// Width of `text` drawn in `font`, with "&" marking a key the way controls draw it.
LONG TextWidth(HWND window, HFONT font, const std::wstring& text) {
    const HDC dc = GetDC(window);
    const HGDIOBJ previous = SelectObject(dc, font);
    RECT bounds{};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds,
              DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return bounds.right - bounds.left;
}

// The font the link control draws its address in: 8 points of "MS Sans Serif", underlined.
UniqueFont LinkFont(HWND link) {
    const HDC dc = GetDC(link);
    const int height = -MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(link, dc);
    return UniqueFont(CreateFontW(height, 0, 0, 0, FW_DONTCARE, FALSE, TRUE, FALSE, ANSI_CHARSET, 0,
                                  0, 0, 0, L"MS Sans Serif"));
}

// `reserved` is room the control takes before its text (the box of a check box).
Fit Measure(HWND dialog, HWND control, HFONT font, LONG reserved = 0) {
    Fit fit;
    if (!control) {
        return fit;
    }
    fit.text = TextOf(control).value_or(L"");
    RECT box{};
    GetWindowRect(control, &box);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
    fit.needed = TextWidth(control, font, fit.text) + reserved;
    fit.available = box.right - box.left;
    const bool rightAligned = (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_RIGHT;
    fit.textRight = rightAligned ? box.right : box.left + fit.needed;
    return fit;
}

// A label by its text: the labels share the id -1.
HWND LabelTitled(HWND dialog, const wchar_t* text) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (TextOf(child) == text) {
            return child;
        }
    }
    return nullptr;
}

class CustomDialogLayout : public ::testing::Test {
protected:
    // Runs the dialog on this thread and measures it from another.
    void SetUp() override {
        const DWORD uiThread = GetCurrentThreadId();
        std::thread measurer([&] {
            HWND dialog = nullptr;
            WaitUntil([&] {
                dialog = FindWindowW(L"#32770", L"Pembrix Gloamery - Edit Custom Settings");
                return dialog && IsWindowVisible(dialog);
            });
            if (!dialog) {
                PostThreadMessageW(uiThread, WM_QUIT, 0, 0);
                return;
            }
            MeasureControls(dialog);
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        });
        CustomSettingsDialog dialog;
        dialog.DoModal();
        measurer.join();
        // A quit request that ended the run is not meant for the next test.
        MSG leftover;
        PeekMessageW(&leftover, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }

    void MeasureControls(HWND dialog) {
        const auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
        const HDC dc = GetDC(dialog);
        // A check box draws its box, then a gap, then its text.
        const LONG checkBox = MulDiv(16, GetDeviceCaps(dc, LOGPIXELSX), 96);
        ReleaseDC(dialog, dc);
        for (const int id : {IDC_TERMINATOR, IDC_NO_BOOT_UPDATE, IDC_DISABLED}) {
            checkBoxes.push_back(Measure(dialog, GetDlgItem(dialog, id), font, checkBox));
        }
        for (const wchar_t* text : kFieldLabels) {
            fieldLabels.push_back(Measure(dialog, LabelTitled(dialog, text), font));
        }
        for (const wchar_t* text : kOtherLabels) {
            otherLabels.push_back(Measure(dialog, LabelTitled(dialog, text), font));
        }
        const HWND link = GetDlgItem(dialog, IDC_MORE_IMAGES_LINK);
        const UniqueFont linkFont = LinkFont(link);
        this->link = Measure(dialog, link, linkFont.get());
    }

    std::vector<Fit> checkBoxes;
    std::vector<Fit> fieldLabels;
    std::vector<Fit> otherLabels;
    Fit link;
};

void ExpectFits(const std::vector<Fit>& fits, size_t expectedCount) {
    ASSERT_EQ(fits.size(), expectedCount);
    for (const Fit& fit : fits) {
        EXPECT_FALSE(fit.text.empty()) << "a control is missing";
        EXPECT_LE(fit.needed, fit.available) << "cut off: \"" << fit.text << "\"";
    }
}

TEST_F(CustomDialogLayout, EveryTextFitsItsControl) {
    ExpectFits(checkBoxes, 3);
    ExpectFits(fieldLabels, std::size(kFieldLabels));
    ExpectFits(otherLabels, std::size(kOtherLabels));
    ExpectFits({link}, 1);
}

TEST_F(CustomDialogLayout, FieldLabelsEndAtOneLine) {
    ASSERT_EQ(fieldLabels.size(), std::size(kFieldLabels));
    for (const Fit& label : fieldLabels) {
        EXPECT_EQ(label.textRight, fieldLabels.front().textRight) << "\"" << label.text << "\"";
    }
}

} // namespace
} // namespace program_test
