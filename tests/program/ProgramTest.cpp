// The real program, started and worked from outside as a user works it: its windows and
// controls, its registry key and its output folder. Clicks and keys are posted or typed, never
// sent: a handler that opens a modal dialog returns only when that dialog has closed.

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <tuple>

#include "tests/imaging/ImagingTestSupport.h"
#include "ui/ResourceIds.h"
#include "settings/SettingsStore.h"
#include "win/Handles.h"

namespace {

using namespace std::chrono_literals;

constexpr wchar_t kSettingsKey[] = L"Software\\Pembrix\\Pembrix Gloamery";
constexpr wchar_t kViewerKey[] = L"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

// Checks every 20 ms, for a minute at most: Wine on a busy machine is slow.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::seconds limit = 60s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (; !condition(); std::this_thread::sleep_for(20ms)) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
    }
    return true;
}

bool Gone(HWND window) {
    return WaitUntil([window] { return !IsWindow(window); });
}

const std::wstring kProgram = WindowsPath(GLOAMERY_PROGRAM_PATH);
const std::wstring kProgramFolder = kProgram.substr(0, kProgram.rfind(L'\\'));
const std::wstring kDayMap = kProgramFolder + L"\\Earth by day - ocean ice.jpg";
const std::wstring kNightMap = kProgramFolder + L"\\Earth by night - city lights.jpg";

std::wstring TextOf(HWND dialog, int id) {
    wchar_t text[MAX_PATH] = {};
    GetDlgItemTextW(dialog, id, text, MAX_PATH);
    return text;
}

bool Enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id));
}

bool Visible(HWND dialog, int id) {
    return IsWindowVisible(GetDlgItem(dialog, id));
}

// A press and a release of the mouse button, as on any button or notifying static control.
bool Click(HWND dialog, int id) {
    const HWND control = GetDlgItem(dialog, id);
    return PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, 0) &&
           PostMessageW(control, WM_LBUTTONUP, 0, 0);
}

// Brings the window to the front and types Alt+key as real keyboard input; false when the
// window would not come to the front.
bool PressAlt(HWND window, BYTE key) {
    const bool inFront = WaitUntil(
        [window] { return SetForegroundWindow(window) && GetForegroundWindow() == window; }, 10s);
    for (const auto& [down, up] : {std::pair{VK_MENU, 0}, {key, 0}, {key, 1}, {VK_MENU, 1}}) {
        keybd_event(down, MapVirtualKeyW(down, MAPVK_VK_TO_VSC), up ? KEYEVENTF_KEYUP : 0, 0);
    }
    return inFront;
}

// Every setting as stored: main and night picture, noon column, period in minutes, Disabled,
// NoBootUpdate, Terminator and Mode, joined by "|".
std::wstring Stored() {
    SettingsStore stored;
    stored.Load();
    std::wstring pictures[2];
    stored.GetSrcImgPath(pictures[0]);
    stored.GetSrc2ImgPath(pictures[1]);
    std::wstring joined = pictures[0] + L"|" + pictures[1];
    for (const int number :
         {stored.GetNoonPixel(), stored.GetUpdateFreqMins(), stored.GetDisabled(),
          stored.GetNoBootUpdate(), stored.GetTerminator(), stored.GetMode()}) {
        joined += L"|" + std::to_wstring(number);
    }
    return joined;
}

// Waits until the settings are stored as `expected`.
void ExpectStoredSoon(const std::wstring& expected) {
    WaitUntil([&] { return Stored() == expected; });
    EXPECT_EQ(Stored(), expected);
}

// The wallpaper picture in the program's output folder.
const std::wstring kWallpaper =
    _wgetenv(L"LOCALAPPDATA") +
    std::wstring(L"\\Pembrix Software\\Gloamery\\Pembrix Gloamery Current Image.bmp");

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
        DeleteFileW(kWallpaper.c_str());
    }

    // That the program ends on a close is seen by the release test's uninstall.
    void TearDown() override {
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), 60000);
        RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    }

    // Starts the program in its folder, where the default maps lie.
    void Start() {
        std::wstring commandLine = L"\"" + kProgram + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        ASSERT_TRUE(CreateProcessW(kProgram.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                   nullptr, kProgramFolder.c_str(), &startup, &started));
        process.reset(started.hProcess);
        CloseHandle(started.hThread);
        main = WaitForWindow(L"Pembrix Gloamery Settings", nullptr);
        ASSERT_TRUE(main) << "no settings window";
    }

    // A shown top-level window of the program with this title (any, when null) and owner (any,
    // when null); null when none came while the program ran.
    HWND WaitForWindow(const wchar_t* title, HWND owner) const {
        HWND found = nullptr;
        WaitUntil([&] {
            while ((found = FindWindowExW(nullptr, found, nullptr, title))) {
                DWORD owningProcess = 0;
                GetWindowThreadProcessId(found, &owningProcess);
                if (owningProcess == GetProcessId(process.get()) &&
                    (!owner || GetWindow(found, GW_OWNER) == owner) && IsWindowVisible(found)) {
                    return true;
                }
            }
            return WaitForSingleObject(process.get(), 0) != WAIT_TIMEOUT;
        });
        return found;
    }

    // Until an update has written the wallpaper and "&Update Now" is back in place of the bar.
    bool UpdateEnds() const {
        return WaitUntil([this] {
            return FileExists(kWallpaper) && Visible(main, IDC_UPDATE_NOW) &&
                   !Visible(main, IDC_PROGRESS);
        });
    }

    UniqueHandle process;
    HWND main = nullptr;
};

// The first start takes the daytime style and updates. Every style is then chosen by its
// thumbnail and by its Alt key, and "&Edit" is available in the custom style only. Then the line
// left of the version says why the last update could not use its map; which maps cannot be used,
// and why, the renderer's tests see.
TEST_F(ProgramTest, StylesByClickAndKeyUpdateNowAndTheMapStatusLine) {
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_TRUE(UpdateEnds()) << "no update at start";
    const std::wstring daytime = kDayMap + L"||1024|15|0|0|0|1";
    ExpectStoredSoon(daytime);
    // Each style's thumbnail, Alt key and settings.
    const std::tuple<int, BYTE, std::wstring> styles[] = {
        {IDC_NIGHTTIME_THUMB, 'N', kNightMap + L"||1024|15|0|0|0|2"},
        {IDC_DAYNIGHT_THUMB, 'A', kDayMap + L"|" + kNightMap + L"|1024|15|0|0|1|3"},
        {IDC_CUSTOM_THUMB, 'T', kDayMap + L"|" + kNightMap + L"|1024|15|0|0|1|4"},
        {IDC_DAYTIME_THUMB, 'D', daytime},
    };
    for (const bool byKey : {false, true}) {
        for (const auto& [thumbnail, key, expected] : styles) {
            SCOPED_TRACE(testing::Message()
                         << "thumbnail " << thumbnail << (byKey ? " by key" : ""));
            ASSERT_TRUE(byKey ? PressAlt(main, key) : Click(main, thumbnail));
            ExpectStoredSoon(expected);
            EXPECT_EQ(Enabled(main, IDC_EDIT_CUSTOM), thumbnail == IDC_CUSTOM_THUMB);
        }
    }

    DeleteFileW(kWallpaper.c_str());
    ASSERT_TRUE(Click(main, IDC_UPDATE_NOW));
    EXPECT_TRUE(WaitUntil(
        [this] { return Visible(main, IDC_PROGRESS) && !Visible(main, IDC_UPDATE_NOW); }));
    EXPECT_TRUE(UpdateEnds()) << "no update on \"&Update Now\"";

    // A map that is not there and then the day map again, stored as another program would store
    // them, each taken at the next tick (here a display change) once the update before has ended:
    // the line says why the map cannot be used, and clears once it can.
    SettingsStore stored;
    for (const auto& [map, line] : {std::pair{kProgramFolder + L"\\lost.jpg",
                                              std::wstring(L"Cannot use \"lost.jpg\": not found")},
                                    {kDayMap, L""}}) {
        stored.SetSrcImgPath(map);
        stored.Save();
        PostMessageW(main, WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 1024));
        EXPECT_TRUE(WaitUntil([&] {
            return TextOf(main, IDC_MAP_STATUS) == line && Visible(main, IDC_UPDATE_NOW);
        })) << map;
    }
}

// The custom style keeps what was stored, disabled and without the update at start. "&Edit"
// shows it; a browse takes a picture and sets the noon column to its middle; OK stores every
// value, brings "&Update Now" in line and updates. Help and the about box along the way, with
// the stand-in help viewer (see tests/help) recorded for the viewer's control.
TEST_F(ProgramTest, CustomStyleEditBrowseOkHelpAndAbout) {
    const ScratchFolder pictures;
    const std::wstring wide = pictures.File(L"wide.bmp");
    WriteFileBytes(wide, BmpBytes(2047, 4, 6144 * 4));
    SettingsStore planted;
    planted.SetSrcImgPath(kDayMap);
    planted.SetSrc2ImgPath(kNightMap);
    planted.SetNoonPixel(32);
    planted.SetDisabled(1);
    planted.SetNoBootUpdate(1);
    planted.SetMode(4);
    planted.Save();
    // The stand-in is recorded for the viewer's control where the platform records it, in the
    // tests' own Wine prefix, made afresh for each run.
    const std::wstring viewer = WindowsPath(GLOAMERY_STANDIN_VIEWER_PATH);
    RegSetKeyValueW(HKEY_CLASSES_ROOT, kViewerKey, nullptr, REG_SZ, viewer.c_str(),
                    static_cast<DWORD>((viewer.size() + 1) * sizeof(wchar_t)));
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_EQ(Stored(), kDayMap + L"|" + kNightMap + L"|32|15|1|1|0|4");
    ASSERT_TRUE(Click(main, ID_HELP));
    EXPECT_TRUE(WaitForWindow(L"Pembrix Gloamery.chm", main)) << "no help contents";
    PostMessageW(main, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    const HWND about = WaitForWindow(L"About Pembrix Gloamery", main);
    ASSERT_TRUE(about && Click(about, IDOK) && Gone(about)) << "no about box";

    ASSERT_TRUE(Click(main, IDC_EDIT_CUSTOM));
    const HWND custom = WaitForWindow(L"Pembrix Gloamery - Edit Custom Settings", main);
    ASSERT_TRUE(custom);
    EXPECT_EQ(TextOf(custom, IDC_MAIN_IMAGE), kDayMap);
    EXPECT_EQ(TextOf(custom, IDC_NOON_PIXEL), L"32");
    EXPECT_FALSE(Enabled(custom, IDC_NIGHT_IMAGE) || Enabled(custom, IDC_BROWSE_NIGHT));
    // The file dialog starts at the typed path, whose file its OK then takes. (No click waits to
    // be handled here: its handler would read the typed path first.)
    ASSERT_TRUE(SetDlgItemTextW(custom, IDC_MAIN_IMAGE, wide.c_str()));
    ASSERT_TRUE(Click(custom, IDC_BROWSE_MAIN));
    const HWND files = WaitForWindow(nullptr, custom);
    ASSERT_TRUE(files && Click(files, IDOK) && Gone(files)) << "no file dialog";
    EXPECT_EQ(TextOf(custom, IDC_NOON_PIXEL), L"1023");
    ASSERT_TRUE(Click(custom, IDC_TERMINATOR) && Click(custom, IDC_DISABLED) &&
                Click(custom, IDC_NO_BOOT_UPDATE));
    EXPECT_TRUE(WaitUntil(
        [&] { return Enabled(custom, IDC_NIGHT_IMAGE) && Enabled(custom, IDC_BROWSE_NIGHT); }));
    ASSERT_TRUE(Click(custom, ID_HELP));
    EXPECT_TRUE(WaitForWindow(L"Pembrix Gloamery.chm::/custom.htm", custom)) << "no help topic";
    ASSERT_TRUE(Click(custom, IDOK) && Gone(custom));
    ExpectStoredSoon(wide + L"|" + kNightMap + L"|1023|15|0|0|1|4");
    EXPECT_TRUE(WaitUntil([this] { return Enabled(main, IDC_UPDATE_NOW); }));
    EXPECT_TRUE(UpdateEnds()) << "no update after OK";
    // The browse left the program's folder the current one, where the styles find their maps.
    ASSERT_TRUE(Click(main, IDC_DAYTIME_THUMB));
    ExpectStoredSoon(kDayMap + L"||1024|15|0|0|0|1");
}

} // namespace
