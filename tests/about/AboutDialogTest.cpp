// The about box run modally, as the main dialog runs it, looked at from within its own loop.

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/AboutDialog.h"
#include "ui/Hyperlink.h"
#include "ui/ProgramInfo.h"
#include "ui/ResourceIds.h"
#include "win/WindowText.h"

namespace {

std::vector<std::wstring> openedAddresses;

void RecordOpenedAddress(HWND, const wchar_t* address) {
    openedAddresses.push_back(address);
}

// Runs `inspect` on the shown box as the first message of its modal loop.
class InspectedAbout : public AboutDialog {
public:
    explicit InspectedAbout(std::function<void(HWND)> inspect) : inspect(std::move(inspect)) {}

protected:
    BOOL OnInitDialog() override {
        const BOOL focusDefault = AboutDialog::OnInitDialog();
        PostMessageW(Window(), kInspect, 0, 0);
        return focusDefault;
    }

    MessageResult WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kInspect) {
            inspect(Window());
            return 0;
        }
        return AboutDialog::WindowProc(message, wParam, lParam);
    }

private:
    static constexpr UINT kInspect = WM_APP + 1;
    std::function<void(HWND)> inspect;
};

TEST(AboutDialog, ShowsVersionCopyrightAndTheHomePageLink) {
    const LinkOpener previous = ReplaceLinkOpener(RecordOpenedAddress);
    openedAddresses.clear();
    InspectedAbout about([&](HWND box) {
        EXPECT_EQ(ReadWindowText(GetDlgItem(box, IDC_ABOUT_VERSION)),
                  L"Pembrix Gloamery Version 1.11");
        EXPECT_EQ(ReadWindowText(GetDlgItem(box, IDC_ABOUT_COPYRIGHT)), kCopyrightLine);
        const HWND link = GetDlgItem(box, IDC_ABOUT_LINK);
        EXPECT_EQ(ReadWindowText(link), kHomePageAddress);
        // The whole address fits the link's width in the box's font, whose face and size the
        // link draws in.
        const HDC dc = GetDC(link);
        const HGDIOBJ font =
            SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(link, WM_GETFONT, 0, 0)));
        SIZE extent{};
        GetTextExtentPoint32W(dc, kHomePageAddress, lstrlenW(kHomePageAddress), &extent);
        SelectObject(dc, font);
        ReleaseDC(link, dc);
        RECT client{};
        GetClientRect(link, &client);
        EXPECT_LE(extent.cx, client.right) << "the address is cut off by the link's width";
        bool hasIcon = false;
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            hasIcon = hasIcon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
        }
        EXPECT_TRUE(hasIcon);
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDOK);
        SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(about.DoModal(), IDOK);
    ReplaceLinkOpener(previous);
    EXPECT_EQ(openedAddresses, std::vector<std::wstring>{kHomePageAddress});
}

} // namespace
