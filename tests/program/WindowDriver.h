#pragma once
// Looks at and works the windows of another process (or another thread), as a user would.
//
// Messages that read or change a control are sent with a time limit: a sent message waits while
// the receiving thread runs a handler, and a handler that opens a modal dialog (a message box,
// the open-file dialog) does not return until that dialog closes. Clicks and keys are therefore
// posted or typed, never sent, so that a click that opens a dialog leaves the test free to work
// that dialog.

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "Waiting.h"

namespace program_test {

enum class Visibility { Visible, Any };

// Top-level windows of a process, in z-order.
std::vector<HWND> TopLevelWindowsOf(DWORD processId);

// A top-level window of the process with exactly this title, or null.
HWND FindTopLevelWindow(DWORD processId, const std::wstring& title,
                        Visibility visibility = Visibility::Visible);
HWND WaitForTopLevelWindow(DWORD processId, const std::wstring& title,
                           Visibility visibility = Visibility::Visible,
                           std::chrono::milliseconds timeout = kWindowTimeout);

// A visible dialog box (class "#32770") that `owner` owns: a message box, the open-file dialog
// or one of the program's own dialogs opened from it. Null when there is none.
HWND FindOwnedDialog(HWND owner);
HWND WaitForOwnedDialog(HWND owner, std::chrono::milliseconds timeout = kWindowTimeout);

// True once the window no longer exists.
bool WaitUntilGone(HWND window, std::chrono::milliseconds timeout = kWindowTimeout);

// The text the window holds, asked of the window itself (WM_GETTEXT), so that edit controls
// answer with what was typed. Nothing when the window does not answer.
std::optional<std::wstring> TextOf(HWND window);
// The window's class name, such as "Button", "Edit" or "#32770".
std::wstring ClassNameOf(HWND window);

// Control `id` of `dialog`: its text (empty when there is no such control), enabled and visible
// states, and check state (BST_CHECKED, BST_UNCHECKED, BST_INDETERMINATE; nothing when there is
// no answer).
std::wstring ControlText(HWND dialog, int id);
bool IsControlEnabled(HWND dialog, int id);
bool IsControlVisible(HWND dialog, int id);
std::optional<LRESULT> CheckState(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);

// The message a message box shows: the texts of its static controls.
std::wstring MessageBoxText(HWND box);

// Replaces the text of control `id` (WM_SETTEXT), as if the user had typed it over the old one.
bool SetControlText(HWND dialog, int id, const std::wstring& text);

// Clicks control `id` the way the mouse does, without waiting for what the click starts: a
// button gets BM_CLICK (an auto check box toggles, its parent hears BN_CLICKED), any other
// control a press and release of the left button at its top-left corner (a static control with
// SS_NOTIFY tells its parent STN_CLICKED). False when the control is missing, hidden or
// disabled, or its dialog is disabled, since a user's click could not reach it either.
bool Click(HWND dialog, int id);

// Posts WM_CLOSE, as the close box of the caption does.
void PostClose(HWND window);

// Makes `window` the foreground window and types Alt+`key` on the keyboard (real input, so that
// the receiving thread sees the Alt key held). `key` is a letter or digit, upper case.
bool PressAltKey(HWND window, char key);
// Types a single key (VK_ESCAPE, VK_RETURN, ...) into the foreground window `window`.
bool PressKey(HWND window, WORD virtualKey);

// Sends the window a message that does nothing and waits for the answer: by then its thread
// has finished the handler it was running (of a click posted earlier, for example).
bool FinishCurrentHandler(HWND window);

// The window that has the keyboard focus in the thread that owns `window`.
HWND FocusedWindow(HWND window);

// The selected range of an edit control: first selected character and one past the last.
std::optional<std::pair<DWORD, DWORD>> EditSelection(HWND edit);

// The open-file dialog: the text of its file-name box, and choosing a file by typing its path
// there and pressing Open. Choosing waits until the dialog has gone.
std::wstring FileDialogFileName(HWND fileDialog);
bool ChooseFileInDialog(HWND fileDialog, const std::wstring& path);
// Presses Cancel and waits until the dialog has gone.
bool CancelDialog(HWND dialog);

} // namespace program_test
