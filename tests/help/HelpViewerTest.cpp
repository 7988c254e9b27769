// The help viewer loader against the real registry and module loader: which recorded path it
// takes, which module it loads, and that it tries only once. The stand-in viewer built with the
// tests answers a request with a window titled with the requested file.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>

#include "ui/HtmlHelp.h"
#include "win/Handles.h"
#include "win/WindowText.h"

namespace {

constexpr char kTestKey[] = "Software\\Pembrix Gloamery Tests";

// Next to this program.
const std::string kStandIn = std::string(_pgmptr).substr(0, std::string(_pgmptr).rfind('\\')) +
                             "\\gloamery_standin_viewer.dll";

// Records exactly these bytes as the viewer's path.
void Record(const std::string& bytes, DWORD type = REG_SZ) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kTestKey, nullptr, type, bytes.data(),
                    static_cast<DWORD>(bytes.size()));
}

HelpViewerLocation Location(const char* fallback = "gloamery-no-such-viewer.ocx") {
    return {HKEY_CURRENT_USER, kTestKey, fallback};
}

TEST(HelpViewer, TakesStringPathsThatFitWithTheirNullIn260Bytes) {
    const std::string longName(200, 'f');
    ASSERT_TRUE(SetEnvironmentVariableA("GLOAMERY_LONG", longName.c_str()));
    const std::string fits = "C:\\" + std::string(256, 'v'); // 259 characters
    const std::string null(1, '\0');
    // The type and bytes recorded, and the path found: none when empty.
    const std::tuple<DWORD, std::string, std::string> cases[] = {
        {REG_SZ, fits + null, fits},
        {REG_SZ, fits, fits},     // stored without its null
        {REG_SZ, fits + "w", ""}, // no room left for the null
        {REG_EXPAND_SZ, "C:\\%GLOAMERY_LONG%\\hh.ocx" + null, "C:\\" + longName + "\\hh.ocx"},
        {REG_EXPAND_SZ, "C:\\%GLOAMERY_LONG%\\%GLOAMERY_LONG%" + null, ""},
        {REG_DWORD, "C:\\" + null, ""},
    };
    for (const auto& [type, bytes, found] : cases) {
        Record(bytes, type);
        HelpControlPath path{'#'}; // to be cleared on a failure
        EXPECT_EQ(FindHelpControlPath(Location(), path), !found.empty()) << found;
        EXPECT_EQ(std::string(path.data(), strnlen(path.data(), path.size())), found);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
}

// A failed load is not tried again, and a loaded viewer is used again without a look at the
// registry. A recorded path that does not load, or is no full path, leaves the system folder's
// viewer; nothing is loaded from the current folder.
TEST(HelpViewer, LoadsOnceFromTheRecordedPathOrTheSystemFolderNeverTheCurrentFolder) {
    HelpViewer none(Location());
    EXPECT_EQ(none.Invoke(nullptr, L"a.chm", HH_DISPLAY_TOPIC, 0), nullptr);
    Record(kStandIn + '\0');
    EXPECT_EQ(none.Invoke(nullptr, L"a.chm", HH_DISPLAY_TOPIC, 0), nullptr) << "tried again";

    HelpViewer viewer(Location());
    for (const wchar_t* file : {L"a.chm", L"a.chm::/b.htm"}) {
        const UniqueWindow shown(viewer.Invoke(nullptr, file, HH_DISPLAY_TOPIC, 0));
        EXPECT_EQ(ReadWindowText(shown.get()), file);
        EXPECT_EQ(viewer.Module(), GetModuleHandleA(kStandIn.c_str()));
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
    }

    constexpr char kPlanted[] = "gloamery-planted-viewer.ocx";
    ASSERT_TRUE(CopyFileA(kStandIn.c_str(), kPlanted, FALSE));
    for (const std::string recorded : {"C:\\nowhere\\hhctrl.ocx", kPlanted}) {
        Record(recorded + '\0');
        HelpViewer fallback(Location("hhctrl.ocx"));
        fallback.Invoke(nullptr, nullptr, HH_CLOSE_ALL, 0);
        const HMODULE loaded = fallback.Module();
        EXPECT_TRUE(loaded && loaded == GetModuleHandleA("hhctrl.ocx")) << recorded;
    }
    HelpViewer byFallbackName(Location(kPlanted));
    EXPECT_EQ(byFallbackName.Invoke(nullptr, L"a.chm", HH_DISPLAY_TOPIC, 0), nullptr);
    EXPECT_EQ(GetModuleHandleA(kPlanted), nullptr);
    DeleteFileA(kPlanted);
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
}

} // namespace
