// The help viewer loader against the real registry and module loader: which path it reads, which
// module it loads, and that it loads once; and the program's two help requests through its one
// viewer. A stand-in viewer module built with the tests records the requests that reach it.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "StandInViewer.h"
#include "ui/HtmlHelp.h"
#include "win/Handles.h"

namespace {

constexpr char kTestRoot[] = "Software\\Pembrix Gloamery Tests";
constexpr char kTestKey[] = "Software\\Pembrix Gloamery Tests\\HelpViewer\\InprocServer32";

std::string ModulePath(HMODULE module) {
    char path[MAX_PATH] = {};
    return std::string(path, GetModuleFileNameA(module, path, MAX_PATH));
}

std::string StandInViewerPath() {
    const std::string executable = ModulePath(nullptr);
    return executable.substr(0, executable.find_last_of('\\')) + "\\gloamery_standin_viewer.dll";
}

bool SamePath(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
           CSTR_EQUAL;
}

const HelpRequestLog& StandInLog() {
    const HMODULE module = GetModuleHandleA("gloamery_standin_viewer.dll");
    const auto recorded = reinterpret_cast<RecordedHelpRequestsFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, "RecordedHelpRequests")));
    static const HelpRequestLog none{};
    return recorded ? *recorded() : none;
}

class HelpViewerTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestRoot); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestRoot); }

    // Stores exactly the given bytes as the test key's default value.
    static void Record(DWORD type, const std::string& bytes) {
        UniqueHkey key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                                  key.put(), nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key.get(), nullptr, 0, type,
                                 reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
    }

    // A string value with its terminating null.
    static void RecordPath(const std::string& path) { Record(REG_SZ, path + '\0'); }

    static HelpViewerLocation Location(const char* fallback = "gloamery-no-such-viewer.ocx") {
        return {HKEY_CURRENT_USER, kTestKey, fallback};
    }
};

TEST_F(HelpViewerTest, FindsStringPathsThatFitWithTheirNullIn260Bytes) {
    HelpControlPath path;
    EXPECT_FALSE(FindHelpControlPath(Location(), path)) << "no key yet";

    char systemRoot[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableA("SystemRoot", systemRoot, MAX_PATH), 0u);
    ASSERT_TRUE(SetEnvironmentVariableA("GLOAMERY_LONG_FOLDER", std::string(200, 'f').c_str()));
    const std::string fits = "C:\\" + std::string(256, 'v'); // 259 characters
    const std::string hhctrl = "%SystemRoot%\\system32\\hhctrl.ocx";
    const std::string null(1, '\0');
    const struct {
        DWORD type;
        std::string bytes;
        std::string found; // empty: no path
    } cases[] = {
        {REG_SZ, fits + null, fits},
        {REG_SZ, fits, fits},            // stored without its null
        {REG_SZ, fits + "w", ""},        // 260 bytes, no room left for the null
        {REG_SZ, fits + "w" + null, ""}, // 261 bytes
        {REG_SZ, "C:\\" + std::string(400, 'v') + null, ""},
        {REG_EXPAND_SZ, hhctrl + null, systemRoot + std::string("\\system32\\hhctrl.ocx")},
        {REG_SZ, hhctrl + null, hhctrl}, // a plain string is not expanded
        {REG_EXPAND_SZ, "C:\\%GLOAMERY_LONG_FOLDER%\\%GLOAMERY_LONG_FOLDER%.ocx" + null, ""},
        {REG_SZ, null, ""},
        {REG_DWORD, std::string("\x22\x43\x3A\x00", 4), ""},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        Record(cases[i].type, cases[i].bytes);
        path.fill('#');
        EXPECT_EQ(FindHelpControlPath(Location(), path), !cases[i].found.empty()) << "case " << i;
        EXPECT_EQ(std::string(path.data(), strnlen(path.data(), path.size())), cases[i].found)
            << "case " << i;
    }
}

TEST_F(HelpViewerTest, LoadsTheRecordedViewerOnceAndReusesIt) {
    RecordPath(StandInViewerPath());
    HelpViewer viewer(Location());
    const HWND caller = GetDesktopWindow();
    const int before = StandInLog().count;

    EXPECT_EQ(viewer.Invoke(caller, L"Pembrix Gloamery.chm::/custom.htm", HH_DISPLAY_TOPIC, 0),
              caller);
    const HMODULE loaded = viewer.Module();
    EXPECT_TRUE(SamePath(ModulePath(loaded), StandInViewerPath()));
    // Once found, the viewer is used again without looking at the registry.
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestRoot);
    EXPECT_EQ(viewer.Invoke(caller, L"Pembrix Gloamery.chm", HH_CLOSE_ALL, 7), caller);
    EXPECT_EQ(viewer.Module(), loaded);

    const HelpRequestLog& log = StandInLog();
    ASSERT_EQ(log.count, before + 2);
    const RecordedHelpRequest& first = log.requests[before];
    const RecordedHelpRequest& second = log.requests[before + 1];
    EXPECT_EQ(first.caller, caller);
    EXPECT_STREQ(first.file, L"Pembrix Gloamery.chm::/custom.htm");
    EXPECT_EQ(second.command, static_cast<UINT>(HH_CLOSE_ALL));
    EXPECT_EQ(second.data, 7u);
}

TEST_F(HelpViewerTest, TriesOnlyOnceWhenThereIsNoViewer) {
    HelpViewer viewer(Location());
    EXPECT_EQ(viewer.Invoke(GetDesktopWindow(), L"x.chm", HH_DISPLAY_TOPIC, 0), nullptr);
    EXPECT_TRUE(viewer.LoadFailed());

    // A viewer that turns up later is not looked for again.
    RecordPath(StandInViewerPath());
    const int before = StandInLog().count;
    EXPECT_EQ(viewer.Invoke(GetDesktopWindow(), L"x.chm", HH_DISPLAY_TOPIC, 0), nullptr);
    EXPECT_EQ(viewer.Module(), nullptr);
    EXPECT_EQ(StandInLog().count, before);
}

TEST_F(HelpViewerTest, FallsBackToTheSystemFoldersViewerWhenTheRecordedPathDoesNotLoad) {
    char systemFolder[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryA(systemFolder, MAX_PATH), 0u);
    // A full path that does not exist, and one that is no full path (its reference is not
    // expanded in a plain string).
    for (const char* recorded : {"C:\\nowhere\\hhctrl.ocx", "%SystemRoot%\\system32\\hhctrl.ocx"}) {
        RecordPath(recorded);
        HelpViewer viewer(Location("hhctrl.ocx"));
        EXPECT_EQ(viewer.Invoke(nullptr, nullptr, HH_CLOSE_ALL, 0), nullptr);
        EXPECT_FALSE(viewer.LoadFailed()) << recorded;
        EXPECT_TRUE(
            SamePath(ModulePath(viewer.Module()), std::string(systemFolder) + "\\hhctrl.ocx"))
            << recorded;
    }
}

TEST_F(HelpViewerTest, NeverLoadsAModuleFromTheCurrentFolder) {
    constexpr char kPlanted[] = "gloamery-planted-viewer.ocx";
    ASSERT_TRUE(CopyFileA(StandInViewerPath().c_str(), kPlanted, FALSE));

    // Neither as the fallback name nor as a relative recorded path.
    HelpViewer byFallback(Location(kPlanted));
    EXPECT_EQ(byFallback.Invoke(GetDesktopWindow(), L"x.chm", HH_DISPLAY_TOPIC, 0), nullptr);
    EXPECT_EQ(byFallback.Module(), nullptr);
    RecordPath(kPlanted);
    HelpViewer byRecordedPath(Location());
    EXPECT_EQ(byRecordedPath.Invoke(GetDesktopWindow(), L"x.chm", HH_DISPLAY_TOPIC, 0), nullptr);
    EXPECT_EQ(byRecordedPath.Module(), nullptr);

    EXPECT_EQ(GetModuleHandleA(kPlanted), nullptr);
    DeleteFileA(kPlanted);
}

TEST_F(HelpViewerTest, AModuleWithoutTheEntryLeavesNoViewer) {
    // The test program itself exports nothing.
    const std::string noEntry = ModulePath(nullptr);
    RecordPath(noEntry);
    HelpViewer viewer(Location("hhctrl.ocx"));
    for (int attempt = 0; attempt < 2; ++attempt) {
        // The loaded module is kept and searched again; no other module is tried.
        EXPECT_EQ(viewer.Invoke(GetDesktopWindow(), L"x.chm", HH_DISPLAY_TOPIC, 0), nullptr);
        EXPECT_TRUE(viewer.LoadFailed());
        EXPECT_TRUE(SamePath(ModulePath(viewer.Module()), noEntry));
    }
}

TEST(HelpRequests, ContentsAndCustomTopicReachTheViewerRecordedForThePlatform) {
    // Records the stand-in where the platform records the viewer's control (in the test run's
    // own Wine prefix), and puts back what was there.
    UniqueHkey key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT,
                              "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32", 0,
                              nullptr, 0, KEY_READ | KEY_WRITE, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    DWORD oldType = REG_NONE;
    DWORD oldSize = 0;
    const bool hadValue =
        RegQueryValueExA(key.get(), nullptr, nullptr, &oldType, nullptr, &oldSize) == ERROR_SUCCESS;
    std::vector<BYTE> oldValue(oldSize);
    ASSERT_TRUE(!hadValue || RegQueryValueExA(key.get(), nullptr, nullptr, &oldType,
                                              oldValue.data(), &oldSize) == ERROR_SUCCESS);
    const std::string standIn = StandInViewerPath();
    ASSERT_EQ(RegSetValueExA(key.get(), nullptr, 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(standIn.c_str()),
                             static_cast<DWORD>(standIn.size() + 1)),
              ERROR_SUCCESS);
    const UniqueWindow owner(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                             nullptr, GetModuleHandleW(nullptr), nullptr));
    const int before = StandInLog().count;
    ShowHelpContents(owner.get());
    ShowHelpTopic(owner.get(), kCustomSettingsHelpTopic);
    ShowHelpContents(owner.get());
    if (hadValue) {
        RegSetValueExA(key.get(), nullptr, 0, oldType, oldValue.data(), oldSize);
    } else {
        RegDeleteValueA(key.get(), nullptr);
    }

    const HelpRequestLog& log = StandInLog();
    ASSERT_EQ(log.count, before + 3);
    const wchar_t* files[] = {L"Pembrix Gloamery.chm", L"Pembrix Gloamery.chm::/custom.htm",
                              L"Pembrix Gloamery.chm"};
    for (int i = 0; i < 3; ++i) {
        const RecordedHelpRequest& request = log.requests[before + i];
        EXPECT_EQ(request.caller, owner.get());
        EXPECT_STREQ(request.file, files[i]);
        EXPECT_EQ(request.command, static_cast<UINT>(HH_DISPLAY_TOPIC));
        EXPECT_EQ(request.data, 0u);
    }
}

} // namespace
