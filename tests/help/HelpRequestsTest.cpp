// The program's two help requests through its one viewer, found where the platform records the
// viewer's control. The test records the stand-in viewer there (in the test's own Wine prefix)
// and puts the old value back afterwards.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "StandInViewer.h"
#include "ui/HtmlHelp.h"
#include "win/Handles.h"

namespace {

std::string StandInViewerPath() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\')) + "\\gloamery_standin_viewer.dll";
}

// Records a path as the viewer control's and restores what was there when it goes.
class RecordedViewerPath {
public:
    explicit RecordedViewerPath(const std::string& path) {
        const HelpViewerLocation location;
        RegCreateKeyExA(location.root, location.subKey, 0, nullptr, 0, KEY_READ | KEY_WRITE,
                        nullptr, key.put(), nullptr);
        DWORD size = 0;
        if (RegQueryValueExA(key.get(), nullptr, nullptr, &oldType, nullptr, &size) ==
            ERROR_SUCCESS) {
            oldValue.resize(size);
            hadValue = RegQueryValueExA(key.get(), nullptr, nullptr, &oldType, oldValue.data(),
                                        &size) == ERROR_SUCCESS;
        }
        written = RegSetValueExA(key.get(), nullptr, 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(path.c_str()),
                                 static_cast<DWORD>(path.size() + 1)) == ERROR_SUCCESS;
    }
    ~RecordedViewerPath() {
        if (hadValue) {
            RegSetValueExA(key.get(), nullptr, 0, oldType, oldValue.data(),
                           static_cast<DWORD>(oldValue.size()));
        } else {
            RegDeleteValueA(key.get(), nullptr);
        }
    }
    RecordedViewerPath(const RecordedViewerPath&) = delete;
    RecordedViewerPath& operator=(const RecordedViewerPath&) = delete;

    bool written = false;

private:
    UniqueHkey key;
    DWORD oldType = REG_NONE;
    std::vector<BYTE> oldValue;
    bool hadValue = false;
};

TEST(HelpRequests, ContentsAndCustomTopicReachTheViewerThroughOneLoad) {
    const RecordedViewerPath recorded(StandInViewerPath());
    ASSERT_TRUE(recorded.written);
    UniqueWindow owner(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(owner);

    ShowHelpContents(owner.get());
    ShowHelpTopic(owner.get(), kCustomSettingsHelpTopic);
    ShowHelpContents(owner.get());

    const HMODULE viewer = GetModuleHandleA("gloamery_standin_viewer.dll");
    ASSERT_NE(viewer, nullptr);
    const auto recordedRequests = reinterpret_cast<RecordedHelpRequestsFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(viewer, "RecordedHelpRequests")));
    ASSERT_NE(recordedRequests, nullptr);
    const HelpRequestLog& log = *recordedRequests();
    ASSERT_EQ(log.count, 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(log.requests[i].caller, owner.get());
        EXPECT_EQ(log.requests[i].command, static_cast<UINT>(HH_DISPLAY_TOPIC));
        EXPECT_EQ(log.requests[i].data, 0u);
    }
    EXPECT_STREQ(log.requests[0].file, L"Pembrix Gloamery.chm");
    EXPECT_STREQ(log.requests[1].file, L"Pembrix Gloamery.chm::/custom.htm");
    EXPECT_STREQ(log.requests[2].file, L"Pembrix Gloamery.chm");
}

} // namespace
