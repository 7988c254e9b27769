// The help viewer loader against the real registry and module loader: which path it reads, which
// module it loads, and that it loads once. A stand-in viewer module built with the tests records
// the requests that reach it.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "StandInViewer.h"
#include "ui/HtmlHelp.h"
#include "win/Handles.h"

namespace {

constexpr char kTestKey[] = "Software\\Pembrix Gloamery Tests\\HelpViewer\\InprocServer32";
constexpr char kMissingModule[] = "gloamery-no-such-viewer.ocx";

std::string ExecutableFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\'));
}

std::string StandInViewerPath() {
    return ExecutableFolder() + "\\gloamery_standin_viewer.dll";
}

std::string ModulePath(HMODULE module) {
    char path[MAX_PATH] = {};
    return std::string(path, GetModuleFileNameA(module, path, MAX_PATH));
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

class HelpRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Pembrix Gloamery Tests"); }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Pembrix Gloamery Tests");
    }

    // Stores exactly the given bytes as the key's default value.
    static void Record(DWORD type, const void* bytes, size_t size) {
        UniqueHkey key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                                  key.put(), nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key.get(), nullptr, 0, type, static_cast<const BYTE*>(bytes),
                                 static_cast<DWORD>(size)),
                  ERROR_SUCCESS);
    }

    // A string value with its terminating null.
    static void RecordPath(const std::string& path, DWORD type = REG_SZ) {
        Record(type, path.c_str(), path.size() + 1);
    }

    static HelpViewerLocation Location(const char* fallback = kMissingModule) {
        return {HKEY_CURRENT_USER, kTestKey, fallback};
    }
};

using HelpControlPathTest = HelpRegistryTest;

TEST_F(HelpControlPathTest, ReadsTheRecordedString) {
    HelpControlPath path;
    EXPECT_FALSE(FindHelpControlPath(Location(), path)) << "no key yet";

    RecordPath("C:\\Program Files\\Viewer\\viewer.ocx");
    ASSERT_TRUE(FindHelpControlPath(Location(), path));
    EXPECT_STREQ(path.data(), "C:\\Program Files\\Viewer\\viewer.ocx");
}

TEST_F(HelpControlPathTest, TerminatesAValueStoredWithoutItsNull) {
    const std::string longest = "C:\\" + std::string(256, 'v'); // 259 characters
    HelpControlPath path;
    path.fill('#');

    Record(REG_SZ, longest.data(), longest.size());
    ASSERT_TRUE(FindHelpControlPath(Location(), path));
    EXPECT_EQ(std::strlen(path.data()), 259u);
    EXPECT_EQ(std::string(path.data()), longest);

    Record(REG_SZ, "C:\\v.ocx", 8);
    ASSERT_TRUE(FindHelpControlPath(Location(), path));
    EXPECT_STREQ(path.data(), "C:\\v.ocx");
}

TEST_F(HelpControlPathTest, NeedsRoomForTheNullWithin260Bytes) {
    const std::string fits = "C:\\" + std::string(256, 'v'); // 259 characters and the null
    const std::string unterminated = fits + "w";             // 260 characters, no null
    HelpControlPath path;

    RecordPath(fits);
    ASSERT_TRUE(FindHelpControlPath(Location(), path));
    EXPECT_EQ(std::string(path.data()), fits);

    Record(REG_SZ, unterminated.data(), unterminated.size());
    EXPECT_FALSE(FindHelpControlPath(Location(), path));
    EXPECT_EQ(path[0], '\0');

    RecordPath(unterminated);
    EXPECT_FALSE(FindHelpControlPath(Location(), path));

    RecordPath("C:\\" + std::string(400, 'v'));
    EXPECT_FALSE(FindHelpControlPath(Location(), path));
    EXPECT_EQ(path[0], '\0');
}

TEST_F(HelpControlPathTest, ExpandsEnvironmentReferences) {
    char systemRoot[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableA("SystemRoot", systemRoot, MAX_PATH), 0u);
    HelpControlPath path;

    RecordPath("%SystemRoot%\\system32\\hhctrl.ocx", REG_EXPAND_SZ);
    ASSERT_TRUE(FindHelpControlPath(Location(), path));
    EXPECT_EQ(std::string(path.data()), std::string(systemRoot) + "\\system32\\hhctrl.ocx");

    // A plain string keeps its references as they stand.
    RecordPath("%SystemRoot%\\system32\\hhctrl.ocx", REG_SZ);
    ASSERT_TRUE(FindHelpControlPath(Location(), path));
    EXPECT_STREQ(path.data(), "%SystemRoot%\\system32\\hhctrl.ocx");

    // An expansion that does not fit in 260 bytes is no path.
    ASSERT_TRUE(SetEnvironmentVariableA("GLOAMERY_LONG_FOLDER", std::string(200, 'f').c_str()));
    RecordPath("C:\\%GLOAMERY_LONG_FOLDER%\\%GLOAMERY_LONG_FOLDER%.ocx", REG_EXPAND_SZ);
    EXPECT_FALSE(FindHelpControlPath(Location(), path));
    EXPECT_EQ(path[0], '\0');
}

TEST_F(HelpControlPathTest, RejectsValuesThatAreNoPath) {
    HelpControlPath path;
    const DWORD number = 0x003A4322;
    Record(REG_DWORD, &number, sizeof(number));
    EXPECT_FALSE(FindHelpControlPath(Location(), path));

    RecordPath("");
    EXPECT_FALSE(FindHelpControlPath(Location(), path));
}

using HelpViewerTest = HelpRegistryTest;

TEST_F(HelpViewerTest, LoadsTheRecordedViewerOnceAndReusesIt) {
    RecordPath(StandInViewerPath());
    HelpViewer viewer(Location());
    const HWND caller = GetDesktopWindow();
    const int before = StandInLog().count;

    EXPECT_EQ(viewer.Invoke(caller, L"Pembrix Gloamery.chm::/custom.htm", HH_DISPLAY_TOPIC, 0),
              caller);
    const HMODULE loaded = viewer.Module();
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(SamePath(ModulePath(loaded), StandInViewerPath()));

    // Once found, the viewer is used again without looking at the registry.
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Pembrix Gloamery Tests");
    EXPECT_EQ(viewer.Invoke(caller, L"Pembrix Gloamery.chm", HH_DISPLAY_TOPIC, 7), caller);
    EXPECT_EQ(viewer.Module(), loaded);
    EXPECT_FALSE(viewer.LoadFailed());

    const HelpRequestLog& log = StandInLog();
    ASSERT_EQ(log.count, before + 2);
    const RecordedHelpRequest& first = log.requests[before];
    EXPECT_EQ(first.caller, caller);
    EXPECT_STREQ(first.file, L"Pembrix Gloamery.chm::/custom.htm");
    EXPECT_EQ(first.command, static_cast<UINT>(HH_DISPLAY_TOPIC));
    EXPECT_EQ(first.data, 0u);
    EXPECT_STREQ(log.requests[before + 1].file, L"Pembrix Gloamery.chm");
    EXPECT_EQ(log.requests[before + 1].data, 7u);
}

TEST_F(HelpViewerTest, ExpandsTheRecordedPath) {
    const std::string folder = ExecutableFolder();
    ASSERT_TRUE(SetEnvironmentVariableA("GLOAMERY_VIEWER_FOLDER", folder.c_str()));
    RecordPath("%GLOAMERY_VIEWER_FOLDER%\\gloamery_standin_viewer.dll", REG_EXPAND_SZ);
    HelpViewer viewer(Location());

    EXPECT_EQ(viewer.Invoke(GetDesktopWindow(), L"x.chm", HH_DISPLAY_TOPIC, 0), GetDesktopWindow());
    EXPECT_TRUE(SamePath(ModulePath(viewer.Module()), StandInViewerPath()));
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

TEST_F(HelpViewerTest, FallsBackToTheSystemFoldersViewer) {
    char systemFolder[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryA(systemFolder, MAX_PATH), 0u);

    // An environment reference in a plain string is not expanded, so this path does not load.
    RecordPath("%SystemRoot%\\system32\\hhctrl.ocx", REG_SZ);
    HelpViewer viewer(Location("hhctrl.ocx"));
    EXPECT_EQ(viewer.Invoke(nullptr, nullptr, HH_CLOSE_ALL, 0), nullptr);
    ASSERT_NE(viewer.Module(), nullptr);
    EXPECT_FALSE(viewer.LoadFailed());
    EXPECT_TRUE(SamePath(ModulePath(viewer.Module()), std::string(systemFolder) + "\\hhctrl.ocx"));

    // A full path that does not exist falls back the same way.
    RecordPath("C:\\nowhere\\hhctrl.ocx");
    HelpViewer second(Location("hhctrl.ocx"));
    second.Invoke(nullptr, nullptr, HH_CLOSE_ALL, 0);
    EXPECT_EQ(second.Module(), viewer.Module());
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
    const std::string emptyModule = ExecutableFolder() + "\\gloamery_empty_module.dll";
    RecordPath(emptyModule);
    HelpViewer viewer(Location("hhctrl.ocx"));

    EXPECT_EQ(viewer.Invoke(GetDesktopWindow(), L"x.chm", HH_DISPLAY_TOPIC, 0), nullptr);
    EXPECT_TRUE(viewer.LoadFailed());
    ASSERT_NE(viewer.Module(), nullptr);
    EXPECT_TRUE(SamePath(ModulePath(viewer.Module()), emptyModule));
    // The loaded module is kept and searched again; no other module is tried.
    EXPECT_EQ(viewer.Invoke(GetDesktopWindow(), L"x.chm", HH_DISPLAY_TOPIC, 0), nullptr);
    EXPECT_TRUE(SamePath(ModulePath(viewer.Module()), emptyModule));
}

} // namespace
