// The main dialog and its about box in the test's own process, with the program's resources,
// where a window can be asked what it shows.

#include <gtest/gtest.h>

#include <process.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "ui/AboutDialog.h"
#include "ui/Hyperlink.h"
#include "ui/MainDialog.h"
#include "ui/ProgramInfo.h"
#include "ui/ResourceIds.h"
#include "ui/Thumbnails.h"
#include "win/WindowText.h"

namespace {

// What a test looks at from within a dialog's modal loop, once it runs: the loop dispatches the
// thread's timer that Inspect is set on. The inspection ends the dialog.
std::function<void()> inspection;

void CALLBACK Inspect(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    inspection();
}

// A DIB section's bytes, rows padded to four bytes.
std::vector<BYTE> BitsOf(HBITMAP bitmap) {
    DIBSECTION section{};
    GetObjectW(bitmap, sizeof section, &section);
    const auto* bits = static_cast<const BYTE*>(section.dsBm.bmBits);
    return {bits, bits + section.dsBm.bmWidthBytes * section.dsBm.bmHeight};
}

// At 96 and 144 DPI the main dialog starts with thumbnails of 100x50 pixels at 100%, each
// showing its map made for what lies inside its one-pixel sunken edge, and only the chosen
// style's with the check mark; told that it moved to a monitor of the next scale, its thumbnails
// follow. The system reads the scale once, when a process starts: this process runs at the test
// prefix's 96 DPI, and the test runs itself again at 144.
TEST(MainDialog, ThumbnailsFillTheirControlsAtEveryScale) {
    constexpr LONG kScales[][3] = {{96, 100, 50}, {144, 150, 75}, {192, 200, 100}};
    constexpr wchar_t kDesktop[] = L"Control Panel\\Desktop";
    const char* asked = std::getenv("GLOAMERY_TEST_SCALE");
    if (!asked) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels", REG_DWORD, kScales[1], 4);
        _putenv("GLOAMERY_TEST_SCALE=1");
        EXPECT_EQ(_spawnl(_P_WAIT, _pgmptr, "test", "--gtest_filter=MainDialog.*", nullptr), 0);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels");
    }
    const int row = asked ? std::atoi(asked) : 0;
    // Started in the custom style and disabled, so that the start runs no update.
    constexpr wchar_t kSettingsKey[] = L"Software\\Pembrix\\Pembrix Gloamery";
    for (const auto& [name, value] : {std::pair{L"Mode", 4ul}, std::pair{L"Disabled", 1ul}}) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, name, REG_DWORD, &value, sizeof(DWORD));
    }
    // The map of each thumbnail, daytime to custom, and whether it is turned half round.
    const std::pair<int, bool> maps[] = {
        {IDB_DAYTIME, false}, {IDB_NIGHTTIME, false}, {IDB_DAYNIGHT, false}, {IDB_DAYTIME, true}};
    MainDialog main(nullptr, L"");
    const auto expectEachStyle = [&](const LONG(&scale)[3]) {
        const SIZE inside{scale[1] - 2, scale[2] - 2};
        for (int style = 0; style < 4; ++style) {
            // A click on the style's thumbnail: without a control, code 0 is STN_CLICKED.
            SendMessageW(main.Window(), WM_COMMAND, IDC_DAYTIME_THUMB + style, 0);
            for (int thumbnail = 0; thumbnail < 4; ++thumbnail) {
                SCOPED_TRACE(testing::Message()
                             << scale[0] << " DPI, style " << style << ", thumbnail " << thumbnail);
                const auto drawn = BitsOf(reinterpret_cast<HBITMAP>(SendMessageW(
                    main.Item(IDC_DAYTIME_THUMB + thumbnail), STM_GETIMAGE, IMAGE_BITMAP, 0)));
                const auto& [map, turned] = maps[thumbnail];
                const auto plain = BitsOf(MakeThumbnail(map, turned, inside, false).get());
                ASSERT_EQ(drawn.size(), plain.size());
                // Only the chosen style's thumbnail differs from its plain map: by the check
                // mark, which covers the same share of it at every scale.
                const double marked =
                    std::inner_product(drawn.begin(), drawn.end(), plain.begin(), 0.0,
                                       std::plus<>(), std::not_equal_to<>()) /
                    drawn.size();
                EXPECT_NEAR(marked, style == thumbnail ? 0.165 : 0, style == thumbnail ? 0.02 : 0);
            }
        }
    };
    inspection = [&] {
        expectEachStyle(kScales[row]);
        // The custom map is the day map turned half round.
        const auto day = BitsOf(MakeThumbnail(IDB_DAYTIME, false, {100, 50}, false).get());
        auto turned = BitsOf(MakeThumbnail(IDB_DAYTIME, true, {100, 50}, false).get());
        for (auto at = turned.begin(); at != turned.end(); at += 300) {
            std::rotate(at, at + 150, at + 300);
        }
        EXPECT_TRUE(turned == day);
        RECT suggested{};
        GetWindowRect(main.Window(), &suggested);
        const auto& next = kScales[row + 1];
        SendMessageW(main.Window(), WM_DPICHANGED, MAKEWPARAM(next[0], next[0]),
                     reinterpret_cast<LPARAM>(&suggested));
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
            DispatchMessageW(&message);
        }
        expectEachStyle(next);
        main.EndDialog(IDOK);
    };
    SetTimer(nullptr, 0, 0, Inspect);
    EXPECT_EQ(main.DoModal(), IDOK);
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
}

std::vector<std::wstring> opened;

// The link opens on the button going down, and opens what it shows now; over it the pointer is
// the program's own hand.
TEST(AboutDialog, ShowsVersionAndCopyrightAndItsLinkOpensTheTextItShows) {
    // Kept for the rest of the process, whose other tests open no links.
    ReplaceLinkOpener([](HWND, const wchar_t* address) { opened.push_back(address); });
    AboutDialog box;
    inspection = [&] {
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
    SetTimer(nullptr, 0, 0, Inspect);
    EXPECT_EQ(box.DoModal(), IDOK);
    EXPECT_EQ(opened, (std::vector<std::wstring>{kHomePageAddress, L"http://x.example/"}));
}

} // namespace
