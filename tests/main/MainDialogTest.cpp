// The main dialog and its about box in the test's own process, with the program's resources,
// where a window can be asked what it shows.

#include <gtest/gtest.h>

#include <process.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
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

// A DIB section's bytes, rows padded to four bytes.
std::vector<std::uint8_t> BitsOf(HBITMAP bitmap) {
    DIBSECTION section{};
    GetObjectW(bitmap, sizeof section, &section);
    const auto* bits = static_cast<const std::uint8_t*>(section.dsBm.bmBits);
    return {bits, bits + section.dsBm.bmWidthBytes * section.dsBm.bmHeight};
}

// The picture a static control shows, which the control stretches over what lies inside its edge.
std::vector<std::uint8_t> Shown(HWND control) {
    return BitsOf(reinterpret_cast<HBITMAP>(SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0)));
}

// The colour change from each pixel to the next along the rows of a 24-bit picture, per row: a
// picture enlarged from a smaller one by interpolating has no more of it than the smaller one.
double RowChange(const std::vector<std::uint8_t>& bits, std::size_t width, std::size_t height) {
    double sum = 0;
    for (std::size_t i = 3, column = 3; i < bits.size(); column = ++i % (bits.size() / height)) {
        sum += column >= 3 && column < width * 3 ? std::abs(bits[i] - bits[i - 3]) : 0;
    }
    return sum / height;
}

// At 96, 144 and 192 DPI the main dialog starts with thumbnails of 100x50 pixels at 100%, each
// drawing its map over all of itself and only its own style's with the check mark; told that it
// moved to a monitor of the next scale, its thumbnails follow. The system reads the scale once,
// when a process starts: this test runs itself again for each.
TEST(MainDialog, ThumbnailsFillTheirControlsAtEveryScale) {
    constexpr LONG kScales[][3] = {{96, 100, 50}, {144, 150, 75}, {192, 200, 100}};
    constexpr wchar_t kDesktop[] = L"Control Panel\\Desktop";
    const char* asked = std::getenv("GLOAMERY_TEST_SCALE");
    for (int row = 0; !asked && row < 3; ++row) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels", REG_DWORD, kScales[row], 4);
        _putenv(("GLOAMERY_TEST_SCALE=" + std::to_string(row)).c_str());
        const auto exitCode =
            _spawnl(_P_WAIT, _pgmptr, "test", "--gtest_brief=1",
                    "--gtest_filter=MainDialog.ThumbnailsFillTheirControlsAtEveryScale", nullptr);
        EXPECT_EQ(exitCode, 0) << kScales[row][0] << " DPI";
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels");
    }
    if (!asked) {
        return;
    }
    const int row = std::atoi(asked);
    // Started in the custom style and disabled, so that the start runs no update.
    constexpr wchar_t kSettingsKey[] = L"Software\\Pembrix\\Pembrix Gloamery";
    for (const auto& [name, value] : {std::pair{L"Mode", 4ul}, std::pair{L"Disabled", 1ul}}) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, name, REG_DWORD, &value, sizeof(DWORD));
    }
    // The map of each thumbnail, daytime to custom, and whether it is turned half round.
    const std::pair<int, bool> maps[] = {
        {IDB_DAYTIME, false}, {IDB_NIGHTTIME, false}, {IDB_DAYNIGHT, false}, {IDB_DAYTIME, true}};
    void (MainDialog::*const kChoose[])() = {
        &MainDialog::OnDaytimeStyle, &MainDialog::OnNighttimeStyle, &MainDialog::OnDayAndNightStyle,
        &MainDialog::OnCustomStyle};
    MainDialog main(nullptr, L"");
    const auto expectEachStyle = [&](const LONG(&scale)[3]) {
        for (int style = 0; style < 4; ++style) {
            (main.*kChoose[style])();
            for (int thumbnail = 0; thumbnail < 4; ++thumbnail) {
                SCOPED_TRACE(testing::Message()
                             << scale[0] << " DPI, style " << style << ", thumbnail " << thumbnail);
                const HWND control = main.Item(IDC_DAYTIME_THUMB + thumbnail);
                RECT frame{}, inside{};
                GetWindowRect(control, &frame);
                GetClientRect(control, &inside);
                ASSERT_EQ(std::pair(frame.right - frame.left, frame.bottom - frame.top),
                          std::pair(scale[1], scale[2]));
                // The map fills what lies inside the sunken edge.
                const auto drawn = Shown(control);
                const auto& [map, turned] = maps[thumbnail];
                const auto plain =
                    BitsOf(MakeThumbnail(map, turned, {inside.right, inside.bottom}, false).get());
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
    const auto inspect = [&] {
        expectEachStyle(kScales[row]);
        const auto day = BitsOf(MakeThumbnail(IDB_DAYTIME, false, {100, 50}, false).get());
        const double detail =
            RowChange(Shown(main.Item(IDC_DAYTIME_THUMB)), kScales[row][1] - 2, kScales[row][2]) /
            RowChange(day, 100, 50);
        std::printf("%ld DPI: detail %.2f times a 100x50 picture's\n", kScales[row][0], detail);
        EXPECT_GT(detail, row == 2 ? 1.3 : 0.9);
        // The custom map is the day map turned half round.
        auto turned = BitsOf(MakeThumbnail(IDB_DAYTIME, true, {100, 50}, false).get());
        for (auto at = turned.begin(); at != turned.end(); at += 300) {
            std::rotate(at, at + 150, at + 300);
        }
        EXPECT_TRUE(turned == day);
        RECT suggested{};
        GetWindowRect(main.Window(), &suggested);
        const auto& next = kScales[(row + 1) % 3];
        SendMessageW(main.Window(), WM_DPICHANGED, MAKEWPARAM(next[0], next[0]),
                     reinterpret_cast<LPARAM>(&suggested));
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
            DispatchMessageW(&message);
        }
        expectEachStyle(next);
        main.EndDialog(IDOK);
    };
    EXPECT_EQ(RunInspected(main, inspect), IDOK);
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
