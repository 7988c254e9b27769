#pragma once
// The about box: the program's icon, name and version, copyright line and a link to the maker's
// web site. Opened modally from the main dialog's system menu.

#include <string>

#include "win/Dialog.h"

class AboutDialog : public Dialog {
public:
    explicit AboutDialog(HWND owner = nullptr) noexcept;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& exchange) override;

private:
    std::wstring copyrightText;
    std::wstring versionText;
};
