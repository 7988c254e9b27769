#pragma once
// Base of the program's dialogs. A dialog is bound to a template in the executable by its
// resource id, runs modally in a message loop of its own, and hands each window message and
// command to one handler through small tables (see DialogRoutes.h).
//
// What a dialog class overrides:
//   OnInitDialog         after the controls exist; call the base first, it fills the controls
//   DoDataExchange       lists the member bindings, in order (see DataExchange.h)
//   Commands, Messages   the handler tables
//   WindowProc           sees every message before the tables; end with Dialog::WindowProc
//   PreTranslateMessage  keyboard messages before the dialog's own navigation (accelerators);
//                        end with Dialog::PreTranslateMessage
//   OnOK, OnCancel       IDOK reads the controls and ends with IDOK when that succeeds;
//                        IDCANCEL (Cancel, Esc, the close box) ends with IDCANCEL
//   WinHelpW             help request; the help command (ID_HELP) that a dialog does not route
//                        itself goes here, and by default on to the dialog that owns it

#include <windows.h>

#include <span>

#include "win/DataExchange.h"
#include "win/DialogRoutes.h"

class Dialog {
public:
    // The owner is disabled while the dialog runs; without one the thread's active window is
    // taken, if there is one.
    explicit Dialog(int templateId, HWND owner = nullptr) noexcept
        : templateId(templateId), owner(owner) {}
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Creates the dialog and runs it until EndDialog or until its window is destroyed. Returns
    // the EndDialog result; IDCANCEL when the window went away without one or the thread was
    // asked to quit; -1 when the dialog could not be created or is already running.
    INT_PTR DoModal();
    // Ends the modal run with this result once the message being handled is done.
    void EndDialog(INT_PTR result) noexcept;

    HWND Window() const noexcept { return window; }
    HWND Item(int controlId) const noexcept { return GetDlgItem(window, controlId); }

    // Reads the bound members back from the controls; false when a field held no valid value.
    bool ReadControls();
    // Writes the bound members into the controls.
    void WriteControls();

    // Hides the window and keeps it from ever being shown, for a dialog that works unseen. Also
    // works from OnInitDialog, after which the dialog manager would otherwise show a template
    // that has WS_VISIBLE.
    void KeepHidden() noexcept;

    // Help request, named after the system call it stands for. The default hands the request
    // to the dialog that owns this one; the main dialog overrides it to open the help file.
    virtual void WinHelpW(DWORD_PTR data, UINT command);

    // The dialog object behind a window, when the window is one of these dialogs.
    static Dialog* FromWindow(HWND window) noexcept;

protected:
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(DataExchange& exchange);
    virtual bool PreTranslateMessage(MSG& message);
    virtual MessageResult WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void OnOK();
    virtual void OnCancel();
    virtual std::span<const CommandRoute> Commands() const { return {}; }
    virtual std::span<const MessageRoute> Messages() const { return {}; }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    bool RouteCommand(WORD id, WORD code);
    void RunMessageLoop();

    int templateId;
    HWND owner;
    HWND window = nullptr;
    INT_PTR result = IDCANCEL;
    bool ending = false;
    bool keepHidden = false;
};
