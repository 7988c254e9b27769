#include "ui/AboutDialog.h"

#include "ui/Hyperlink.h"
#include "ui/ProgramInfo.h"
#include "ui/ResourceIds.h"

AboutDialog::AboutDialog(HWND owner) noexcept : Dialog(IDD_ABOUT, owner) {}

BOOL AboutDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    const HWND link = Item(IDC_ABOUT_LINK);
    MakeHyperlink(link);
    // The link shows, and opens, the program's one home-page address.
    SetWindowTextW(link, kHomePageAddress);
    versionText = std::wstring(L"Pembrix Gloamery Version ") + kProgramVersion;
    copyrightText = kCopyrightLine;
    WriteControls();
    return TRUE;
}

void AboutDialog::DoDataExchange(DataExchange& exchange) {
    exchange.Text(IDC_ABOUT_COPYRIGHT, copyrightText);
    exchange.Text(IDC_ABOUT_VERSION, versionText);
}
