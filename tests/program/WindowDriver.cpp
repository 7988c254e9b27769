#include "WindowDriver.h"

#include <algorithm>
#include <array>

namespace program_test {

namespace {

// Long enough for a busy Wine process to answer; a thread that does not answer in this time is
// stuck, and the test sees no answer instead of hanging.
constexpr UINT kAnswerTimeoutMs = 10000;

// Control ids of the open-file dialog's file-name box: the combo box of the Explorer-style
// dialog, and the plain edit that older templates have instead.
constexpr int kFileNameCombo = 0x47C;
constexpr int kFileNameEdit = 0x480;

std::optional<LRESULT> Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kAnswerTimeoutMs,
                             &result)) {
        return std::nullopt;
    }
    return static_cast<LRESULT>(result);
}

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM search) {
    auto& windows = *reinterpret_cast<WindowSearch*>(search);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == windows.processId) {
        windows.found.push_back(window);
    }
    return TRUE;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM found) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

// The caption of a top-level window as the window manager keeps it; no message is sent.
std::wstring CaptionOf(HWND window) {
    std::array<wchar_t, 512> caption{};
    const int length = GetWindowTextW(window, caption.data(), static_cast<int>(caption.size()));
    return std::wstring(caption.data(), length > 0 ? static_cast<size_t>(length) : 0);
}

bool IsDialogBox(HWND window) {
    return ClassNameOf(window) == L"#32770";
}

// Puts `window` in front and waits until it has the keyboard.
bool BringToForeground(HWND window) {
    return WaitUntil(
        [window] {
            if (GetForegroundWindow() == window) {
                return true;
            }
            SetForegroundWindow(window);
            return false;
        },
        10s);
}

INPUT KeyInput(WORD virtualKey, bool release) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
    return input;
}

bool Type(HWND window, std::vector<INPUT> keys) {
    if (!BringToForeground(window)) {
        return false;
    }
    const UINT sent = SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
    return sent == keys.size();
}

HWND FileNameBox(HWND fileDialog) {
    const HWND combo = GetDlgItem(fileDialog, kFileNameCombo);
    if (combo && IsWindowVisible(combo)) {
        return combo;
    }
    return GetDlgItem(fileDialog, kFileNameEdit);
}

} // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
    WindowSearch search{processId, {}};
    EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindTopLevelWindow(DWORD processId, const std::wstring& title, Visibility visibility) {
    for (const HWND window : TopLevelWindowsOf(processId)) {
        if (visibility == Visibility::Visible && !IsWindowVisible(window)) {
            continue;
        }
        if (CaptionOf(window) == title) {
            return window;
        }
    }
    return nullptr;
}

HWND WaitForTopLevelWindow(DWORD processId, const std::wstring& title, Visibility visibility,
                           std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopLevelWindow(processId, title, visibility)) != nullptr; },
              timeout);
    return found;
}

HWND FindOwnedDialog(HWND owner) {
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    for (const HWND window : windows) {
        if (GetWindow(window, GW_OWNER) == owner && IsWindowVisible(window) &&
            IsDialogBox(window)) {
            return window;
        }
    }
    return nullptr;
}

HWND WaitForOwnedDialog(HWND owner, std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindOwnedDialog(owner)) != nullptr; }, timeout);
    return found;
}

bool WaitUntilGone(HWND window, std::chrono::milliseconds timeout) {
    return WaitUntil([window] { return !IsWindow(window); }, timeout);
}

std::optional<std::wstring> TextOf(HWND window) {
    if (!window) {
        return std::nullopt;
    }
    const std::optional<LRESULT> length = Ask(window, WM_GETTEXTLENGTH, 0, 0);
    if (!length || *length < 0) {
        return std::nullopt;
    }
    std::wstring text(static_cast<size_t>(*length) + 1, L'\0');
    const std::optional<LRESULT> copied =
        Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    if (!copied || *copied < 0) {
        return std::nullopt;
    }
    text.resize(std::min(static_cast<size_t>(*copied), text.size() - 1));
    return text;
}

std::wstring ClassNameOf(HWND window) {
    std::array<wchar_t, 256> name{};
    const int length = GetClassNameW(window, name.data(), static_cast<int>(name.size()));
    return std::wstring(name.data(), length > 0 ? static_cast<size_t>(length) : 0);
}

std::wstring ControlText(HWND dialog, int id) {
    const HWND control = GetDlgItem(dialog, id);
    return control ? TextOf(control).value_or(L"") : L"";
}

bool IsControlEnabled(HWND dialog, int id) {
    const HWND control = GetDlgItem(dialog, id);
    return control && IsWindowEnabled(control);
}

bool IsControlVisible(HWND dialog, int id) {
    const HWND control = GetDlgItem(dialog, id);
    return control && IsWindowVisible(control);
}

std::optional<LRESULT> CheckState(HWND dialog, int id) {
    const HWND control = GetDlgItem(dialog, id);
    if (!control) {
        return std::nullopt;
    }
    return Ask(control, BM_GETCHECK, 0, 0);
}

bool IsChecked(HWND dialog, int id) {
    return CheckState(dialog, id) == BST_CHECKED;
}

std::wstring MessageBoxText(HWND box) {
    std::wstring text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (lstrcmpiW(ClassNameOf(child).c_str(), L"Static") == 0) {
            text += TextOf(child).value_or(L"");
        }
    }
    return text;
}

bool SetControlText(HWND dialog, int id, const std::wstring& text) {
    const HWND control = GetDlgItem(dialog, id);
    return control &&
           Ask(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())).value_or(FALSE);
}

bool Click(HWND dialog, int id) {
    const HWND control = GetDlgItem(dialog, id);
    // A disabled window, or a dialog disabled under a modal one, takes no clicks.
    if (!control || !IsWindowVisible(control) || !IsWindowEnabled(control) ||
        !IsWindowEnabled(dialog)) {
        return false;
    }
    if (lstrcmpiW(ClassNameOf(control).c_str(), L"Button") == 0) {
        return PostMessageW(control, BM_CLICK, 0, 0);
    }
    return PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, 0) &&
           PostMessageW(control, WM_LBUTTONUP, 0, 0);
}

void PostClose(HWND window) {
    PostMessageW(window, WM_CLOSE, 0, 0);
}

bool PressAltKey(HWND window, char key) {
    const auto letter = static_cast<WORD>(key);
    return Type(window, {KeyInput(VK_MENU, false), KeyInput(letter, false), KeyInput(letter, true),
                         KeyInput(VK_MENU, true)});
}

bool PressKey(HWND window, WORD virtualKey) {
    return Type(window, {KeyInput(virtualKey, false), KeyInput(virtualKey, true)});
}

bool FinishCurrentHandler(HWND window) {
    return Ask(window, WM_NULL, 0, 0).has_value();
}

HWND FocusedWindow(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) {
        return nullptr;
    }
    return info.hwndFocus;
}

std::optional<std::pair<DWORD, DWORD>> EditSelection(HWND edit) {
    const std::optional<LRESULT> range = Ask(edit, EM_GETSEL, 0, 0);
    if (!range) {
        return std::nullopt;
    }
    const auto packed = static_cast<DWORD>(*range);
    return std::pair<DWORD, DWORD>{LOWORD(packed), HIWORD(packed)};
}

std::wstring FileDialogFileName(HWND fileDialog) {
    const HWND box = FileNameBox(fileDialog);
    return box ? TextOf(box).value_or(L"") : L"";
}

bool ChooseFileInDialog(HWND fileDialog, const std::wstring& path) {
    const HWND box = FileNameBox(fileDialog);
    if (!box || !Ask(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str())).value_or(FALSE)) {
        return false;
    }
    return Click(fileDialog, IDOK) && WaitUntilGone(fileDialog);
}

bool CancelDialog(HWND dialog) {
    return Click(dialog, IDCANCEL) && WaitUntilGone(dialog);
}

} // namespace program_test
