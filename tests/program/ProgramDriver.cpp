#include "ProgramDriver.h"

#include <shlobj.h>

#include <algorithm>
#include <array>
#include <memory>
#include <thread>
#include <vector>

#ifndef GLOAMERY_PROGRAM_PATH
#error "GLOAMERY_PROGRAM_PATH must name the program's executable"
#endif

namespace program_test {

namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Pembrix\\Pembrix Gloamery";

// Sends with a limit of 10 s, long enough for a busy Wine process; a thread that does not
// answer by then is stuck.
std::optional<LRESULT> Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 10000, &result)) {
        return std::nullopt;
    }
    return static_cast<LRESULT>(result);
}

std::wstring ClassNameOf(HWND window) {
    std::array<wchar_t, 256> name{};
    return std::wstring(name.data(), GetClassNameW(window, name.data(), name.size()));
}

// The caption as the window manager keeps it, without sending a message.
std::wstring CaptionOf(HWND window) {
    std::array<wchar_t, 512> caption{};
    return std::wstring(caption.data(), GetWindowTextW(window, caption.data(), caption.size()));
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// The build tree knows the program by its host path; Wine's kernel32 turns that into the
// Windows path of the same file.
std::wstring ProgramPath() {
    using HostToWindowsPath = wchar_t*(CDECL*)(const char*);
    const auto convert = reinterpret_cast<HostToWindowsPath>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    const auto heapFree = [](wchar_t* text) { HeapFree(GetProcessHeap(), 0, text); };
    const std::unique_ptr<wchar_t, decltype(heapFree)> path(
        convert ? convert(GLOAMERY_PROGRAM_PATH) : nullptr, heapFree);
    return path ? path.get() : L"";
}

// The file-name box of the open-file dialog: the Explorer-style combo box or the older edit.
HWND FileNameBox(HWND fileDialog) {
    const HWND combo = GetDlgItem(fileDialog, 0x47C);
    return combo && IsWindowVisible(combo) ? combo : GetDlgItem(fileDialog, 0x480);
}

void WriteSetting(const wchar_t* name, DWORD value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, name, REG_DWORD, &value, sizeof value);
}

void WriteSetting(const wchar_t* name, const std::wstring& text) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, name, REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::optional<DWORD> ReadDwordSetting(const wchar_t* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_DWORD, nullptr, &value,
                     &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::wstring> ReadStringSetting(const wchar_t* name) {
    std::array<wchar_t, 2048> text{};
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, text.data(),
                     &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return text.data();
}

} // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return condition();
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

std::wstring ProgramFolder() {
    const std::wstring path = ProgramPath();
    return path.substr(0, path.find_last_of(L'\\'));
}

ProgramProcess::ProgramProcess(const std::wstring& arguments) {
    const std::wstring path = ProgramPath();
    const std::wstring folder = ProgramFolder();
    std::wstring commandLine = L"\"" + path + L"\" " + arguments;
    // A job that kills the program when its last handle closes, with the test process at the
    // latest. The program starts suspended until it is in the job.
    job.reset(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION created{};
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, folder.c_str(), &startup, &created)) {
        return;
    }
    process.reset(created.hProcess);
    const UniqueHandle thread(created.hThread);
    processId = created.dwProcessId;
    AssignProcessToJobObject(job.get(), process.get());
    ResumeThread(thread.get());
}

ProgramProcess::~ProgramProcess() {
    if (Running()) {
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), 60000);
    }
}

bool ProgramProcess::Running() const {
    return process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

HWND ProgramProcess::WaitForWindow(const std::wstring& title, bool visibleOnly) const {
    HWND found = nullptr;
    // A program that ends early ends the wait too.
    WaitUntil([&] {
        for (const HWND window : TopLevelWindows()) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == processId && (!visibleOnly || IsWindowVisible(window)) &&
                CaptionOf(window) == title) {
                found = window;
                return true;
            }
        }
        return !Running();
    });
    return found;
}

std::optional<DWORD> ProgramProcess::WaitForExit() const {
    DWORD exitCode = 0;
    if (!process || WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process.get(), &exitCode)) {
        return std::nullopt;
    }
    return exitCode;
}

std::optional<DWORD> ProgramProcess::Close() const {
    const HWND main = WaitForWindow(kMainDialogTitle, false);
    if (!main) {
        return std::nullopt;
    }
    PostMessageW(main, WM_CLOSE, 0, 0);
    return WaitForExit();
}

std::wstring TextOf(HWND window) {
    const std::optional<LRESULT> length = Ask(window, WM_GETTEXTLENGTH, 0, 0);
    if (!length || *length < 0) {
        return L"";
    }
    std::wstring text(static_cast<size_t>(*length) + 1, L'\0');
    const LRESULT copied =
        Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())).value_or(0);
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, *length)));
    return text;
}

bool IsChecked(HWND dialog, int id) {
    return Ask(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool SetControlText(HWND dialog, int id, const std::wstring& text) {
    const HWND control = GetDlgItem(dialog, id);
    return control &&
           Ask(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())).value_or(FALSE);
}

HWND FindOwnedDialog(HWND owner) {
    for (const HWND window : TopLevelWindows()) {
        if (GetWindow(window, GW_OWNER) == owner && IsWindowVisible(window) &&
            ClassNameOf(window) == L"#32770") {
            return window;
        }
    }
    return nullptr;
}

HWND WaitForOwnedDialog(HWND owner) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindOwnedDialog(owner)) != nullptr; });
    return found;
}

bool WaitUntilGone(HWND window) {
    return WaitUntil([window] { return !IsWindow(window); });
}

std::wstring MessageBoxText(HWND box) {
    std::wstring text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (lstrcmpiW(ClassNameOf(child).c_str(), L"Static") == 0) {
            text += TextOf(child);
        }
    }
    return text;
}

bool Click(HWND dialog, int id) {
    const HWND control = GetDlgItem(dialog, id);
    if (!control || !IsWindowVisible(control) || !IsWindowEnabled(control) ||
        !IsWindowEnabled(dialog)) {
        return false;
    }
    // A button clicks itself; a static control with SS_NOTIFY hears a press and release.
    if (lstrcmpiW(ClassNameOf(control).c_str(), L"Button") == 0) {
        return PostMessageW(control, BM_CLICK, 0, 0);
    }
    return PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, 0) &&
           PostMessageW(control, WM_LBUTTONUP, 0, 0);
}

bool PressKeys(HWND window, std::initializer_list<WORD> keys) {
    const bool inFront = WaitUntil(
        [window] {
            if (GetForegroundWindow() == window) {
                return true;
            }
            SetForegroundWindow(window);
            return false;
        },
        10s);
    std::vector<INPUT> inputs;
    const auto add = [&inputs](WORD key, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    for (const WORD key : keys) {
        add(key, 0);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        add(*key, KEYEVENTF_KEYUP);
    }
    return inFront && SendInput(inputs.size(), inputs.data(), sizeof(INPUT)) == inputs.size();
}

bool FinishCurrentHandler(HWND window) {
    return Ask(window, WM_NULL, 0, 0).has_value();
}

std::wstring FileDialogFileName(HWND fileDialog) {
    return TextOf(FileNameBox(fileDialog));
}

bool ChooseFileInDialog(HWND fileDialog, const std::wstring& path) {
    const HWND box = FileNameBox(fileDialog);
    return box && Ask(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str())).value_or(FALSE) &&
           Click(fileDialog, IDOK) && WaitUntilGone(fileDialog);
}

bool CancelDialog(HWND dialog) {
    return Click(dialog, IDCANCEL) && WaitUntilGone(dialog);
}

void DeleteProgramSettings() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
}

void WriteSettings(const StoredSettings& settings) {
    const auto write = [](const wchar_t* name, const auto& value) {
        if (value) {
            WriteSetting(name, *value);
        }
    };
    write(L"SrcImgPath", settings.srcImgPath);
    write(L"Src2ImgPath", settings.src2ImgPath);
    write(L"NoonUCTPixel", settings.noonUCTPixel);
    write(L"UpdateFreqMins", settings.updateFreqMins);
    write(L"Disabled", settings.disabled);
    write(L"NoBootUpdate", settings.noBootUpdate);
    write(L"Terminator", settings.terminator);
    write(L"Mode", settings.mode);
}

StoredSettings ReadStoredSettings() {
    return {
        ReadStringSetting(L"SrcImgPath"),  ReadStringSetting(L"Src2ImgPath"),
        ReadDwordSetting(L"NoonUCTPixel"), ReadDwordSetting(L"UpdateFreqMins"),
        ReadDwordSetting(L"Disabled"),     ReadDwordSetting(L"NoBootUpdate"),
        ReadDwordSetting(L"Terminator"),   ReadDwordSetting(L"Mode"),
    };
}

std::wstring OutputFile(const wchar_t* name) {
    std::array<wchar_t, MAX_PATH> localAppData{};
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT,
                     localAppData.data());
    return std::wstring(localAppData.data()) + L"\\Pembrix Software\\Gloamery\\" + name;
}

void DeleteOutputFiles() {
    DeleteFileW(OutputFile(kCurrentImageFile).c_str());
    DeleteFileW(OutputFile(kTerminatorImageFile).c_str());
}

} // namespace program_test
