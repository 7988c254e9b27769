#include "win/DataExchange.h"

#include "win/UnsignedNumber.h"
#include "win/WindowText.h"

namespace {

const wchar_t* messageTitle = nullptr;

} // namespace

void SetMessageTitle(const wchar_t* title) noexcept {
    messageTitle = title;
}

HWND DataExchange::Control(int controlId) const noexcept {
    return failed ? nullptr : GetDlgItem(dialog, controlId);
}

void DataExchange::Text(int controlId, std::wstring& value) {
    const HWND control = Control(controlId);
    if (!control) {
        return;
    }
    if (ReadsControls()) {
        value = ReadWindowText(control);
    } else {
        SetWindowTextW(control, value.c_str());
    }
}

void DataExchange::Check(int controlId, int& value) {
    const HWND control = Control(controlId);
    if (!control) {
        return;
    }
    if (ReadsControls()) {
        value = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    } else {
        SendMessageW(control, BM_SETCHECK, value == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void DataExchange::Number(int controlId, std::uint32_t& value) {
    const HWND control = Control(controlId);
    if (!control) {
        return;
    }
    if (!ReadsControls()) {
        SetWindowTextW(control, std::to_wstring(value).c_str());
        return;
    }
    if (const auto number = ParseUnsignedNumber(ReadWindowText(control))) {
        value = *number;
    } else {
        RejectNumber(control);
    }
}

void DataExchange::RejectNumber(HWND control) {
    failed = true;
    MessageBoxW(dialog, kBadNumberMessage, messageTitle, MB_OK | MB_ICONEXCLAMATION);
    // WM_NEXTDLGCTL rather than SetFocus, so the dialog's default button follows the focus.
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    SendMessageW(control, EM_SETSEL, 0, -1);
}
