// Looks at an installed copy of the program from the Windows side, for install-test.sh.
// Every command prints what it finds as "name=value" lines (or a bare value) on standard output
// and leaves the judging to the script; the exit status is 0 unless the command itself failed.
//
//   folder programfiles|programs|startup|localappdata
//   link LINK                     target=, arguments=, directory= of a shell link
//   value KEY NAME                a registry value (string or number); exit 1 if it is missing
//   key KEY                       present or absent
//   delete-key KEY                removes a key that holds no other keys
//   delete-tree KEY               removes a key with everything under it
//   set-string KEY NAME TEXT
//   delete-value KEY NAME
//   version FILE                  the fixed file version, a.b.c.d
//   start-link LINK TITLE FILE SECONDS close|leave
//       opens LINK as the shell does at sign-in, watches the started program's window titled
//       TITLE until FILE exists, then closes it with WM_CLOSE or leaves it running
//   alive PID                     yes or no
//   window TITLE                  none, hidden or visible: the first top-level window so titled
//   close-all TITLE               closes every window so titled and waits for its program to end
//
// KEY is HKCU\... or HKLM\....

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "win/Handles.h"

namespace {

constexpr int kUsage = 2;
constexpr int kFailed = 1;

void Print(std::wstring_view text) {
    std::wstring line(text);
    line += L'\n';
    const int size = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), bytes.data(), size,
                        nullptr, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

void PrintField(std::wstring_view name, std::wstring_view value) {
    std::wstring line(name);
    line += L'=';
    line += value;
    Print(line);
}

int Fail(std::wstring_view message) {
    std::fwprintf(stderr, L"release-probe: %.*ls\n", static_cast<int>(message.size()),
                  message.data());
    return kFailed;
}

// Starts COM for this thread and ends it again.
class ComSession {
public:
    ComSession() : started(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComSession() {
        if (started) {
            CoUninitialize();
        }
    }
    ComSession(const ComSession&) = delete;
    ComSession& operator=(const ComSession&) = delete;
    bool Started() const { return started; }

private:
    bool started;
};

template <typename Interface> struct ComTraits {
    using Handle = Interface*;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle object) noexcept { object->Release(); }
};
template <typename Interface> using ComPtr = Unique<ComTraits<Interface>>;

// "HKCU\Software\..." into its root and sub-key.
std::optional<std::pair<HKEY, std::wstring>> SplitKey(std::wstring_view key) {
    const size_t slash = key.find(L'\\');
    const std::wstring_view root = key.substr(0, slash);
    const std::wstring path(slash == std::wstring_view::npos ? L"" : key.substr(slash + 1));
    if (root == L"HKCU") {
        return std::pair{HKEY_CURRENT_USER, path};
    }
    if (root == L"HKLM") {
        return std::pair{HKEY_LOCAL_MACHINE, path};
    }
    return std::nullopt;
}

int Folder(std::wstring_view name) {
    int csidl = 0;
    if (name == L"programfiles") {
        csidl = CSIDL_PROGRAM_FILES;
    } else if (name == L"programs") {
        csidl = CSIDL_PROGRAMS;
    } else if (name == L"startup") {
        csidl = CSIDL_STARTUP;
    } else if (name == L"localappdata") {
        csidl = CSIDL_LOCAL_APPDATA;
    } else {
        return Fail(L"unknown folder");
    }
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) {
        return Fail(L"no such folder");
    }
    Print(path);
    return 0;
}

int Link(const wchar_t* file) {
    const ComSession com;
    if (!com.Started()) {
        return Fail(L"COM did not start");
    }
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(link.put())))) {
        return Fail(L"no shell link object");
    }
    ComPtr<IPersistFile> persist;
    if (FAILED(link.get()->QueryInterface(IID_PPV_ARGS(persist.put()))) ||
        FAILED(persist.get()->Load(file, STGM_READ))) {
        return Fail(L"cannot read the link");
    }
    wchar_t target[MAX_PATH] = {};
    wchar_t arguments[1024] = {};
    wchar_t directory[MAX_PATH] = {};
    link.get()->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    link.get()->GetArguments(arguments, 1024);
    link.get()->GetWorkingDirectory(directory, MAX_PATH);
    PrintField(L"target", target);
    PrintField(L"arguments", arguments);
    PrintField(L"directory", directory);
    return 0;
}

int Value(std::wstring_view key, const wchar_t* name) {
    const auto split = SplitKey(key);
    if (!split) {
        return Fail(L"unknown registry root");
    }
    DWORD type = 0;
    DWORD size = 0;
    if (RegGetValueW(split->first, split->second.c_str(), name, RRF_RT_REG_SZ | RRF_RT_REG_DWORD,
                     &type, nullptr, &size) != ERROR_SUCCESS) {
        return kFailed;
    }
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    if (RegGetValueW(split->first, split->second.c_str(), name, RRF_RT_REG_SZ | RRF_RT_REG_DWORD,
                     &type, data.data(), &size) != ERROR_SUCCESS) {
        return kFailed;
    }
    if (type == REG_DWORD) {
        DWORD number = 0;
        std::memcpy(&number, data.data(), sizeof number);
        Print(std::to_wstring(number));
    } else {
        Print(data.c_str());
    }
    return 0;
}

int Key(std::wstring_view key) {
    const auto split = SplitKey(key);
    if (!split) {
        return Fail(L"unknown registry root");
    }
    UniqueHkey opened;
    const bool present = RegOpenKeyExW(split->first, split->second.c_str(), 0, KEY_READ,
                                       opened.put()) == ERROR_SUCCESS;
    Print(present ? L"present" : L"absent");
    return 0;
}

int DeleteKey(std::wstring_view key, bool tree) {
    const auto split = SplitKey(key);
    if (!split || split->second.empty()) {
        return Fail(L"refusing that key");
    }
    const LSTATUS status = tree ? RegDeleteTreeW(split->first, split->second.c_str())
                                : RegDeleteKeyW(split->first, split->second.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? 0 : kFailed;
}

int SetString(std::wstring_view key, const wchar_t* name, std::wstring_view text) {
    const auto split = SplitKey(key);
    if (!split) {
        return Fail(L"unknown registry root");
    }
    const std::wstring data(text);
    return RegSetKeyValueW(split->first, split->second.c_str(), name, REG_SZ, data.c_str(),
                           static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS
               ? 0
               : kFailed;
}

int DeleteValue(std::wstring_view key, const wchar_t* name) {
    const auto split = SplitKey(key);
    if (!split) {
        return Fail(L"unknown registry root");
    }
    const LSTATUS status = RegDeleteKeyValueW(split->first, split->second.c_str(), name);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? 0 : kFailed;
}

int Version(const wchar_t* file) {
    const DWORD size = GetFileVersionInfoSizeW(file, nullptr);
    if (size == 0) {
        return Fail(L"no version block");
    }
    std::string block(size, '\0');
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!GetFileVersionInfoW(file, 0, size, block.data()) ||
        !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
        fixedSize < sizeof(VS_FIXEDFILEINFO)) {
        return Fail(L"unreadable version block");
    }
    Print(std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L'.' +
          std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L'.' +
          std::to_wstring(HIWORD(fixed->dwFileVersionLS)) + L'.' +
          std::to_wstring(LOWORD(fixed->dwFileVersionLS)));
    return 0;
}

bool HasTitle(HWND window, std::wstring_view title) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return title == text;
}

struct WindowSearch {
    DWORD processId;
    std::wstring_view title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((search.processId == 0 || owner == search.processId) && HasTitle(window, search.title)) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

// The first top-level window, shown or hidden, with this title; of this process unless it is 0.
HWND FindProgramWindow(DWORD processId, std::wstring_view title) {
    WindowSearch search{processId, title, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// An owned window gets a taskbar button only with WS_EX_APPWINDOW; an unowned one unless it is
// a tool window.
bool HasTaskbarButton(HWND window) {
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    if ((exStyle & WS_EX_APPWINDOW) != 0) {
        return true;
    }
    return GetWindow(window, GW_OWNER) == nullptr && (exStyle & WS_EX_TOOLWINDOW) == 0;
}

bool FileExists(const wchar_t* file) {
    const DWORD attributes = GetFileAttributesW(file);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

int StartLink(const wchar_t* link, std::wstring_view title, const wchar_t* file, int seconds,
              bool close) {
    // The window is told from others by its title alone when the shell gives no process.
    if (FindProgramWindow(0, title) != nullptr) {
        return Fail(L"a window with that title is open already");
    }
    const ComSession com;
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    execute.lpFile = link;
    execute.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&execute)) {
        return Fail(L"the link did not start");
    }
    // Wine's shell starts the link's program but gives no process for it; then the process is
    // the one that owns the window.
    UniqueHandle process(execute.hProcess);
    DWORD processId = process ? GetProcessId(process.get()) : 0;

    // Watch until the window has been seen for a while and the file is there, so that a
    // window shown on the first idle moment after start-up is caught too.
    constexpr DWORD kStep = 50;
    constexpr ULONGLONG kSettle = 2000;
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
    HWND window = nullptr;
    ULONGLONG firstSeen = 0;
    bool shown = false;
    bool exited = false;
    while (GetTickCount64() < deadline) {
        if (process && WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0) {
            exited = true;
            break;
        }
        if (HWND current = FindProgramWindow(processId, title)) {
            if (window == nullptr) {
                firstSeen = GetTickCount64();
            }
            if (!process) {
                GetWindowThreadProcessId(current, &processId);
                process.reset(OpenProcess(SYNCHRONIZE, FALSE, processId));
            }
            window = current;
            shown = shown || IsWindowVisible(window);
        }
        if (window != nullptr && GetTickCount64() - firstSeen >= kSettle && FileExists(file)) {
            break;
        }
        Sleep(kStep);
    }
    PrintField(L"pid", std::to_wstring(processId));
    PrintField(L"window", window != nullptr ? L"found" : L"none");
    PrintField(L"shown", shown ? L"yes" : L"no");
    // While the window is being made it still has the template's styles; what counts is the
    // style it keeps.
    const bool taskbar = window != nullptr && IsWindow(window) && HasTaskbarButton(window);
    PrintField(L"taskbar", taskbar ? L"yes" : L"no");
    PrintField(L"file", FileExists(file) ? L"written" : L"missing");
    PrintField(L"exited-early", exited ? L"yes" : L"no");
    if (close && window != nullptr && !exited) {
        PostMessageW(window, WM_CLOSE, 0, 0);
        const bool ended = process && WaitForSingleObject(process.get(), 60000) == WAIT_OBJECT_0;
        PrintField(L"ended", ended ? L"yes" : L"no");
    }
    return 0;
}

int Alive(const wchar_t* pid) {
    const auto id = static_cast<DWORD>(std::wcstoul(pid, nullptr, 10));
    const UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, id));
    const bool alive = process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
    Print(alive ? L"yes" : L"no");
    return 0;
}

int Window(std::wstring_view title) {
    const HWND window = FindProgramWindow(0, title);
    Print(window == nullptr ? L"none" : IsWindowVisible(window) ? L"visible" : L"hidden");
    return 0;
}

int CloseAll(std::wstring_view title) {
    while (HWND window = FindProgramWindow(0, title)) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        const UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
        PostMessageW(window, WM_CLOSE, 0, 0);
        if (!process || WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0) {
            return Fail(L"a program did not end");
        }
    }
    return 0;
}

int Run(std::span<wchar_t*> args) {
    if (args.empty()) {
        return kUsage;
    }
    const std::wstring_view command = args[0];
    const size_t count = args.size() - 1;
    if (command == L"folder" && count == 1) {
        return Folder(args[1]);
    }
    if (command == L"link" && count == 1) {
        return Link(args[1]);
    }
    if (command == L"value" && count == 2) {
        return Value(args[1], args[2]);
    }
    if (command == L"key" && count == 1) {
        return Key(args[1]);
    }
    if (command == L"delete-key" && count == 1) {
        return DeleteKey(args[1], false);
    }
    if (command == L"delete-tree" && count == 1) {
        return DeleteKey(args[1], true);
    }
    if (command == L"set-string" && count == 3) {
        return SetString(args[1], args[2], args[3]);
    }
    if (command == L"delete-value" && count == 2) {
        return DeleteValue(args[1], args[2]);
    }
    if (command == L"version" && count == 1) {
        return Version(args[1]);
    }
    if (command == L"start-link" && count == 5) {
        const std::wstring_view mode = args[5];
        if (mode != L"close" && mode != L"leave") {
            return kUsage;
        }
        return StartLink(args[1], args[2], args[3], std::wcstol(args[4], nullptr, 10),
                         mode == L"close");
    }
    if (command == L"alive" && count == 1) {
        return Alive(args[1]);
    }
    if (command == L"window" && count == 1) {
        return Window(args[1]);
    }
    if (command == L"close-all" && count == 1) {
        return CloseAll(args[1]);
    }
    return kUsage;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int status = Run(std::span(argv + 1, static_cast<size_t>(argc - 1)));
    if (status == kUsage) {
        std::fputws(L"release-probe: unknown command or wrong arguments\n", stderr);
    }
    return status;
}
