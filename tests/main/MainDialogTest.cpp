// The main dialog and its about box in the test's own process, with the program's resources,
// where a window can be asked what it shows.

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/AboutDialog.h"
#include "ui/Hyperlink.h"
#include "ui/MainDialog.h"
#include "ui/ProgramInfo.h"
#include "ui/ResourceIds.h"
#include "win/Handles.h"
#include "win/WindowText.h"

namespace {

std::function<void()> inspection;

void CALLBACK Inspect(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    inspection();
}

// Runs `inspect` from within the dialog's modal loop, once it runs: the loop dispatches the
// thread's timer. `inspect` ends the dialog.
INT_PTR RunInspected(Dialog& dialog, std::function<void()> inspect) {
    inspection = std::move(inspect);
    SetTimer(nullptr, 0, 0, Inspect);
    return dialog.DoModal();
}

std::string BitsOf(HBITMAP bitmap) {
    BITMAP format{};
    GetObjectW(bitmap, sizeof format, &format);
    std::string bits(format.bmWidthBytes * format.bmHeight, '\0');
    GetBitmapBits(bitmap, static_cast<LONG>(bits.size()), bits.data());
    return bits;
}

// Whether the static control shows the picture of this bitmap resource.
bool Shows(HWND control, int picture) {
    const UniqueBitmap expected(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(picture), IMAGE_BITMAP, 0, 0, 0)));
    return BitsOf(expected.get()) ==
           BitsOf(reinterpret_cast<HBITMAP>(SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0)));
}

TEST(MainDialog, EachStyleChecksItsOwnThumbnailOnly) {
    // Started in the custom style and disabled, so that the start runs no update.
    constexpr wchar_t kSettingsKey[] = L"Software\\Pembrix\\Pembrix Gloamery";
    for (const auto& [name, value] : {std::pair{L"Mode", 4ul}, std::pair{L"Disabled", 1ul}}) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, name, REG_DWORD, &value, sizeof(DWORD));
    }
    // Each thumbnail and its picture, plain and checked.
    const int thumbnails[][3] = {{IDC_DAYTIME_THUMB, IDB_DAYTIME, IDB_DAYTIME_SELECTED},
                                 {IDC_NIGHTTIME_THUMB, IDB_NIGHTTIME, IDB_NIGHTTIME_SELECTED},
                                 {IDC_DAYNIGHT_THUMB, IDB_DAYNIGHT, IDB_DAYNIGHT_SELECTED},
                                 {IDC_CUSTOM_THUMB, IDB_CUSTOM, IDB_CUSTOM_SELECTED}};
    MainDialog main(nullptr, L"");
    const auto chooseEachStyle = [&] {
        int style = 0;
        for (const auto choose : {&MainDialog::OnDaytimeStyle, &MainDialog::OnNighttimeStyle,
                                  &MainDialog::OnDayAndNightStyle, &MainDialog::OnCustomStyle}) {
            (main.*choose)();
            for (int thumbnail = 0; thumbnail < 4; ++thumbnail) {
                const auto& [control, plain, checked] = thumbnails[thumbnail];
                EXPECT_TRUE(Shows(main.Item(control), style == thumbnail ? checked : plain))
                    << "style " << style << ", thumbnail " << thumbnail;
            }
            ++style;
        }
        main.EndDialog(IDOK);
    };
    EXPECT_EQ(RunInspected(main, chooseEachStyle), IDOK);
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
}

std::vector<std::wstring> opened;

// The link opens on the button going down, and opens what it shows now; over it the pointer is
// the program's own hand.
TEST(AboutDialog, ShowsVersionAndCopyrightAndItsLinkOpensTheTextItShows) {
    const LinkOpener previous =
        ReplaceLinkOpener([](HWND, const wchar_t* address) { opened.push_back(address); });
    AboutDialog box;
    const auto lookAndClick = [&] {
        EXPECT_EQ(ReadWindowText(box.Item(IDC_ABOUT_VERSION)), L"Pembrix Gloamery Version 1.11");
        EXPECT_EQ(ReadWindowText(box.Item(IDC_ABOUT_COPYRIGHT)), kCopyrightLine);
        const HWND link = box.Item(IDC_ABOUT_LINK);
        SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageW(link, WM_LBUTTONUP, 0, 0);
        SetWindowTextW(link, L"http://x.example/");
        SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageW(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(),
                  LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_POINTING_HAND)));
        box.EndDialog(IDOK);
    };
    EXPECT_EQ(RunInspected(box, lookAndClick), IDOK);
    ReplaceLinkOpener(previous);
    EXPECT_EQ(opened, (std::vector<std::wstring>{kHomePageAddress, L"http://x.example/"}));
}

} // namespace
