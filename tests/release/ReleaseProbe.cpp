// Looks at an installed copy of the program from the Windows side for install-test.sh. Each
// command prints what it finds and leaves the judging to the script:
//
//   folder programfiles|programs|startup|localappdata
//   link LINK              target=, arguments= and directory= of a shell link
//   start LINK TITLE FILE  opens LINK as the shell does at sign-in and watches the window
//                          titled TITLE until FILE exists: window=, shown=, taskbar=, file=
//   close TITLE            closes every window so titled, waits until its program has ended
//                          and prints how many there were

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

#include "win/Handles.h"

namespace {

// One line on standard output, in UTF-8.
void Print(std::wstring line) {
    line += L'\n';
    std::string bytes(line.size() * 4, '\0');
    bytes.resize(WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()),
                                     bytes.data(), static_cast<int>(bytes.size()), nullptr,
                                     nullptr));
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

void Print(std::wstring_view name, std::wstring_view value) {
    Print(std::wstring(name) + L'=' + std::wstring(value));
}

int Fail(const wchar_t* message) {
    std::fwprintf(stderr, L"release-probe: %ls\n", message);
    return 1;
}

// Shell links and the shell's start of a link need COM on this thread.
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

private:
    bool started;
};

template <typename Interface> struct ComTraits {
    using Handle = Interface*;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle object) noexcept { object->Release(); }
};

int PrintFolder(std::wstring_view name) {
    constexpr std::pair<std::wstring_view, int> folders[] = {
        {L"programfiles", CSIDL_PROGRAM_FILES},
        {L"programs", CSIDL_PROGRAMS},
        {L"startup", CSIDL_STARTUP},
        {L"localappdata", CSIDL_LOCAL_APPDATA},
    };
    for (const auto& [folder, csidl] : folders) {
        wchar_t path[MAX_PATH] = {};
        if (folder == name &&
            SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) {
            Print(path);
            return 0;
        }
    }
    return Fail(L"no such folder");
}

int PrintLink(const wchar_t* file) {
    Unique<ComTraits<IShellLinkW>> link;
    Unique<ComTraits<IPersistFile>> persist;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(link.put()))) ||
        FAILED(link.get()->QueryInterface(IID_PPV_ARGS(persist.put()))) ||
        FAILED(persist.get()->Load(file, STGM_READ))) {
        return Fail(L"cannot read the link");
    }
    wchar_t target[MAX_PATH] = {};
    wchar_t arguments[1024] = {};
    wchar_t directory[MAX_PATH] = {};
    link.get()->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    link.get()->GetArguments(arguments, 1024);
    link.get()->GetWorkingDirectory(directory, MAX_PATH);
    Print(L"target", target);
    Print(L"arguments", arguments);
    Print(L"directory", directory);
    return 0;
}

// An owned window gets a taskbar button only with WS_EX_APPWINDOW; an unowned one unless it is
// a tool window.
bool HasTaskbarButton(HWND window) {
    const auto exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    return (exStyle & WS_EX_APPWINDOW) ||
           (!GetWindow(window, GW_OWNER) && !(exStyle & WS_EX_TOOLWINDOW));
}

bool FileExists(const wchar_t* file) {
    const DWORD attributes = GetFileAttributesW(file);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Wine's shell gives no process for a link's program, so the window is known by its title.
int StartAndWatch(const wchar_t* link, const wchar_t* title, const wchar_t* file) {
    if (FindWindowW(nullptr, title)) {
        return Fail(L"a window with that title is open already");
    }
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    execute.lpFile = link;
    execute.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&execute)) {
        return Fail(L"the link did not start");
    }
    const UniqueHandle process(execute.hProcess);
    // Watched until the window has been there for two seconds as well, so that a window shown
    // at the first idle moment after the start is seen too.
    const ULONGLONG deadline = GetTickCount64() + 120000;
    ULONGLONG firstSeen = 0;
    HWND window = nullptr;
    bool shown = false;
    while (GetTickCount64() < deadline &&
           !(window && GetTickCount64() - firstSeen >= 2000 && FileExists(file))) {
        if (const HWND current = FindWindowW(nullptr, title)) {
            firstSeen = window ? firstSeen : GetTickCount64();
            window = current;
            shown = shown || IsWindowVisible(window);
        }
        Sleep(50);
    }
    // While the window is being made it has the template's styles; what counts is what it keeps.
    const bool taskbar = window && IsWindow(window) && HasTaskbarButton(window);
    Print(L"window", window ? L"found" : L"none");
    Print(L"shown", shown ? L"yes" : L"no");
    Print(L"taskbar", taskbar ? L"yes" : L"no");
    Print(L"file", FileExists(file) ? L"written" : L"missing");
    return 0;
}

int CloseAll(const wchar_t* title) {
    int closed = 0;
    while (const HWND window = FindWindowW(nullptr, title)) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        const UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
        PostMessageW(window, WM_CLOSE, 0, 0);
        if (!process || WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0) {
            return Fail(L"a program did not end");
        }
        ++closed;
    }
    Print(std::to_wstring(closed));
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const ComSession com;
    const std::wstring_view command = argc > 1 ? argv[1] : L"";
    if (command == L"folder" && argc == 3) {
        return PrintFolder(argv[2]);
    }
    if (command == L"link" && argc == 3) {
        return PrintLink(argv[2]);
    }
    if (command == L"start" && argc == 5) {
        return StartAndWatch(argv[2], argv[3], argv[4]);
    }
    if (command == L"close" && argc == 3) {
        return CloseAll(argv[2]);
    }
    return Fail(L"unknown command or wrong arguments");
}
