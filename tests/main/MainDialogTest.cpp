// The settings window of the real program, started from its own folder with the default maps.

#include <gtest/gtest.h>

#include <algorithm>

#include "ProgramDriver.h"
#include "ui/ResourceIds.h"

namespace program_test {
namespace {

std::wstring DefaultMap(const wchar_t* name) {
    return ProgramFolder() + L"\\" + name;
}
constexpr wchar_t kDayMap[] = L"Earth by day - ocean ice.jpg";
constexpr wchar_t kNightMap[] = L"Earth by night - city lights.jpg";

std::wstring DesktopWallpaper() {
    wchar_t path[MAX_PATH] = {};
    SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
    return path;
}

class MainDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteProgramSettings();
        DeleteOutputFiles();
    }

    void TearDown() override {
        if (program && program->Running() && !HasFailure()) {
            EXPECT_EQ(program->Close(), 0u) << "the program did not close cleanly";
        }
        program.reset();
        DeleteProgramSettings();
    }

    void StartProgram(const std::wstring& arguments = L"", bool visibleOnly = true) {
        program.emplace(arguments);
        ASSERT_TRUE(program->Started());
        main = program->WaitForWindow(kMainDialogTitle, visibleOnly);
        ASSERT_TRUE(main) << "no settings window";
        ASSERT_TRUE(FinishCurrentHandler(main));
    }

    // Until an update has written the wallpaper and "&Update Now" is back in place of the bar.
    bool WaitForUpdateToEnd() const {
        return WaitUntil([this] {
            return FileExists(OutputFile(kCurrentImageFile)) &&
                   IsControlVisible(main, IDC_UPDATE_NOW) && !IsControlVisible(main, IDC_PROGRESS);
        });
    }

    std::optional<ProgramProcess> program;
    HWND main = nullptr;
};

using MainDialogStart = MainDialogTest;

// A preset style, and any mode outside the four, writes all its settings at the start; the
// custom style keeps what was stored and fills in what was missing. "&Update Now" follows the
// Disabled flag as it was stored before the start.
TEST_F(MainDialogStart, StoresTheStyleOfTheStoredMode) {
    const std::wstring day = DefaultMap(kDayMap);
    const StoredSettings daytime{day, L"", 1024, 15, 0, 0, 0, 1};
    const struct {
        StoredSettings planted;
        StoredSettings stored;
    } starts[] = {
        {{}, daytime}, // the first run
        {{.mode = 7}, daytime},
        {{.mode = 0}, daytime},
        {{L"C:\\elsewhere.jpg", {}, 5, 30, 1, 1, {}, 3},
         {day, DefaultMap(kNightMap), 1024, 15, 0, 0, 1, 3}},
        {{L"C:\\mine.png", {}, 77, 30, 1, {}, {}, 4}, {L"C:\\mine.png", L"", 77, 30, 1, 0, 0, 4}},
    };
    for (const auto& start : starts) {
        SCOPED_TRACE(testing::Message() << "start " << &start - starts);
        const auto& [planted, stored] = start;
        DeleteProgramSettings();
        DeleteOutputFiles();
        WriteSettings(planted);
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        EXPECT_EQ(ReadStoredSettings(), stored);
        EXPECT_EQ(IsControlEnabled(main, IDC_EDIT_CUSTOM), stored.mode == 4u);
        EXPECT_EQ(IsControlEnabled(main, IDC_UPDATE_NOW), planted.disabled != 1u);
        if (stored.mode != 4u) {
            // The update at start runs whatever was stored before.
            EXPECT_TRUE(WaitForUpdateToEnd());
            EXPECT_EQ(FileExists(OutputFile(kTerminatorImageFile)), stored.terminator == 1u);
        }
        EXPECT_EQ(program->Close(), 0u);
    }
}

struct ScreenDcTraits {
    using Handle = HDC;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle dc) noexcept { ReleaseDC(nullptr, dc); }
};
struct MemoryDcTraits {
    using Handle = HDC;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle dc) noexcept { DeleteDC(dc); }
};

// How many pixels of the window on the screen are the strong red of a selected style's check
// mark; -1 when the screen cannot be read.
int CountRedPixels(HWND window) {
    RECT area{};
    GetWindowRect(window, &area);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height; // top-down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    const Unique<ScreenDcTraits> screen(GetDC(nullptr));
    void* bits = nullptr;
    const UniqueBitmap copy(
        CreateDIBSection(screen.get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    const Unique<MemoryDcTraits> memory(CreateCompatibleDC(screen.get()));
    if (!copy || !SelectObject(memory.get(), copy.get()) ||
        !BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY)) {
        return -1;
    }
    GdiFlush();
    const auto* pixels = static_cast<const RGBQUAD*>(bits);
    return std::count_if(pixels, pixels + width * height, [](RGBQUAD pixel) {
        return pixel.rgbRed > 170 && pixel.rgbGreen < 90 && pixel.rgbBlue < 90;
    });
}

struct Style {
    int thumbnail;
    WORD key;
    DWORD mode;
    const wchar_t* mainMap; // null for the custom style
    const wchar_t* nightMap;
};
constexpr Style kStyles[] = {
    {IDC_DAYTIME_THUMB, 'D', 1, kDayMap, nullptr},
    {IDC_NIGHTTIME_THUMB, 'N', 2, kNightMap, nullptr},
    {IDC_DAYNIGHT_THUMB, 'A', 3, kDayMap, kNightMap},
    {IDC_CUSTOM_THUMB, 'T', 4, nullptr, nullptr},
};

class MainDialogStyles : public MainDialogTest {
protected:
    // Chooses `style` by clicking or typing and checks what is stored and shown. A preset
    // style writes all its settings, even when it was chosen already; the custom style keeps
    // what the one before left.
    void Choose(const Style& style, bool byKey) {
        SCOPED_TRACE(testing::Message() << "style " << style.mode << (byKey ? " by key" : ""));
        StoredSettings expected = ReadStoredSettings();
        expected.mode = style.mode;
        if (style.mainMap) {
            expected = {DefaultMap(style.mainMap),
                        style.nightMap ? DefaultMap(style.nightMap) : L"",
                        1024,
                        15,
                        0,
                        0,
                        style.nightMap ? 1u : 0u,
                        style.mode};
        }
        ASSERT_TRUE(byKey ? PressKeys(main, {VK_MENU, style.key}) : Click(main, style.thumbnail));
        WaitUntil([&] { return ReadStoredSettings() == expected; });
        ASSERT_TRUE(FinishCurrentHandler(main));
        EXPECT_EQ(ReadStoredSettings(), expected);
        EXPECT_EQ(IsControlEnabled(main, IDC_EDIT_CUSTOM), style.mode == 4);

        // Only the chosen thumbnail carries the red check mark. The screen is shared with other
        // tests' windows, so the dialog is raised and the pictures are given time to show.
        SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        std::wstring expectedMarks;
        for (const Style& other : kStyles) {
            expectedMarks += other.mode == style.mode ? L'V' : L'-';
        }
        const auto checkMarks = [this] {
            std::wstring marks;
            for (const Style& other : kStyles) {
                const int red = CountRedPixels(GetDlgItem(main, other.thumbnail));
                marks += red < 0 ? L'?' : red > 100 ? L'V' : red < 10 ? L'-' : L'~';
            }
            return marks;
        };
        WaitUntil([&] { return checkMarks() == expectedMarks; }, 10s);
        EXPECT_EQ(checkMarks(), expectedMarks) << "by thumbnail: daytime, night-time, both, custom";
    }
};

TEST_F(MainDialogStyles, EachThumbnailAndAltKeyChoosesItsStyle) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    WriteSettings({.updateFreqMins = 45}); // behind the program's back
    for (const Style& style : kStyles) {
        ASSERT_NO_FATAL_FAILURE(Choose(style, false));
    }
    for (const int index : {2, 3, 1, 0}) {
        ASSERT_NO_FATAL_FAILURE(Choose(kStyles[index], true));
    }
    ASSERT_TRUE(Click(main, IDOK)); // "&Close"
    EXPECT_EQ(program->WaitForExit(), 0u);
}

using MainDialogUpdate = MainDialogTest;

TEST_F(MainDialogUpdate, UpdateNowShowsProgressAndSetsTheWallpaperAndClosingEndsIt) {
    // The custom style without the update at start, so that the first update is the one asked
    // for; with the night map, so that it takes long enough to be closed in the middle.
    WriteSettings({.srcImgPath = DefaultMap(kDayMap),
                   .src2ImgPath = DefaultMap(kNightMap),
                   .noonUCTPixel = 1024,
                   .noBootUpdate = 1,
                   .terminator = 1,
                   .mode = 4});
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    EXPECT_FALSE(IsControlVisible(main, IDC_PROGRESS));
    EXPECT_FALSE(FileExists(OutputFile(kCurrentImageFile))) << "the update at start ran";
    const auto progressShown = [this] {
        return WaitUntil([this] {
            return IsControlVisible(main, IDC_PROGRESS) && !IsControlVisible(main, IDC_UPDATE_NOW);
        });
    };

    ASSERT_TRUE(Click(main, IDC_UPDATE_NOW));
    EXPECT_TRUE(progressShown());
    ASSERT_TRUE(WaitForUpdateToEnd());
    EXPECT_EQ(DesktopWallpaper(), OutputFile(kCurrentImageFile));

    ASSERT_TRUE(Click(main, IDC_UPDATE_NOW));
    ASSERT_TRUE(progressShown());
    EXPECT_EQ(program->Close(), 0u);
    EXPECT_FALSE(program->Running());
}

// Only "/s" by itself hides the window and takes it off the taskbar; updates go on.
TEST_F(MainDialogUpdate, OnlySlashSAloneStartsHidden) {
    const std::pair<const wchar_t*, bool> starts[] = {
        {L"/s", true}, {L"/S", false}, {L"-s", false}, {L"/s x", false}};
    for (const auto& [arguments, hidden] : starts) {
        SCOPED_TRACE(testing::Message() << "command line " << arguments);
        DeleteOutputFiles();
        ASSERT_NO_FATAL_FAILURE(StartProgram(arguments, !hidden));
        ASSERT_TRUE(WaitUntil([] { return FileExists(OutputFile(kCurrentImageFile)); }))
            << "no update";
        EXPECT_EQ(DesktopWallpaper(), OutputFile(kCurrentImageFile));
        EXPECT_EQ(IsWindowVisible(main) != FALSE, !hidden);
        const LONG_PTR exStyle = GetWindowLongPtrW(main, GWL_EXSTYLE);
        EXPECT_EQ((exStyle & WS_EX_APPWINDOW) != 0, !hidden);
        EXPECT_EQ((exStyle & WS_EX_TOOLWINDOW) != 0, hidden);
        EXPECT_EQ(program->Close(), 0u);
    }
}

using MainDialogWindow = MainDialogTest;

TEST_F(MainDialogWindow, SystemMenuOpensTheAboutBoxAndEscapeEndsTheProgram) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    PostMessageW(main, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    const HWND about = program->WaitForWindow(L"About Pembrix Gloamery");
    ASSERT_TRUE(about);
    EXPECT_FALSE(IsWindowEnabled(main)) << "the settings window takes clicks under the about box";
    ASSERT_TRUE(Click(about, IDOK));
    EXPECT_TRUE(WaitUntilGone(about));
    EXPECT_TRUE(WaitUntil([this] { return IsWindowEnabled(main); }));

    ASSERT_TRUE(PressKeys(main, {VK_ESCAPE}));
    EXPECT_EQ(program->WaitForExit(), 0u);
}

} // namespace
} // namespace program_test
