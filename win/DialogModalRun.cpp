// The modal run of a dialog. DialogBoxParamW's own loop never offers keyboard messages to the
// program before the dialog's navigation takes them, so accelerators would never work there:
// the dialog runs in a loop of ours instead.

#include "win/Dialog.h"

#include <commctrl.h>

namespace {

// Templates may hold common controls (the progress bar), whose window classes must exist
// before the dialog is created.
void RegisterCommonControls() {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
}

} // namespace

INT_PTR Dialog::DoModal() {
    if (window) {
        return -1;
    }
    RegisterCommonControls();
    HWND ownerWindow = owner ? GetAncestor(owner, GA_ROOT) : GetActiveWindow();
    result = IDCANCEL;
    ending = false;
    // Disabled before the dialog exists, so that no click reaches the owner in between; only an
    // owner that was enabled is enabled again afterwards.
    const bool ownerDisabledHere = ownerWindow && !EnableWindow(ownerWindow, FALSE);
    const HWND created =
        CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), ownerWindow,
                           &Dialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (created && window && keepHidden) {
        ShowWindow(window, SW_HIDE);
    }
    if (created) {
        RunMessageLoop();
    }
    // The owner is enabled before the dialog goes, so that activation returns to it.
    if (ownerDisabledHere && IsWindow(ownerWindow)) {
        EnableWindow(ownerWindow, TRUE);
    }
    if (window) {
        DestroyWindow(window);
    }
    return created ? result : -1;
}

void Dialog::RunMessageLoop() {
    while (!ending && window) {
        MSG message;
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // The quit request belongs to the loop outside this dialog.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (got == -1) {
            return;
        }
        if (!PreTranslateMessage(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

bool Dialog::PreTranslateMessage(MSG& message) {
    return window && IsDialogMessageW(window, &message);
}

void Dialog::EndDialog(INT_PTR value) noexcept {
    result = value;
    ending = true;
    // Wakes the loop when the end comes from a message that was sent to the dialog, which
    // GetMessageW handles without returning.
    if (window) {
        PostMessageW(window, WM_NULL, 0, 0);
    }
}

void Dialog::KeepHidden() noexcept {
    keepHidden = true;
    if (window) {
        ShowWindow(window, SW_HIDE);
    }
}
