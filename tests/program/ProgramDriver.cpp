#include "ProgramDriver.h"

#include <algorithm>
#include <memory>

#ifndef GLOAMERY_PROGRAM_PATH
#error "GLOAMERY_PROGRAM_PATH must name the program's executable"
#endif

namespace program_test {

namespace {

// The build tree knows the program by its host path. Wine's kernel32 turns a host path into
// the Windows path of the same file; outside Wine the path is used as it is.
using HostToWindowsPath = wchar_t*(CDECL*)(const char*);

struct ProcessHeapFree {
    void operator()(wchar_t* text) const noexcept { HeapFree(GetProcessHeap(), 0, text); }
};

std::wstring WindowsPathOf(const char* hostPath) {
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto convert = kernel ? reinterpret_cast<HostToWindowsPath>(reinterpret_cast<void*>(
                                      GetProcAddress(kernel, "wine_get_dos_file_name")))
                                : nullptr;
    if (convert) {
        const std::unique_ptr<wchar_t, ProcessHeapFree> converted(convert(hostPath));
        if (converted) {
            return converted.get();
        }
    }
    const int length = MultiByteToWideChar(CP_UTF8, 0, hostPath, -1, nullptr, 0);
    std::wstring path(length > 0 ? static_cast<size_t>(length) : 0, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, hostPath, -1, path.data(), length);
    if (!path.empty()) {
        path.pop_back(); // the terminating null
    }
    return path;
}

// A job that ends every process in it when its last handle closes, so that a test process
// that dies does not leave the program running. Null when the system offers none.
UniqueHandle MakeKillOnCloseJob() {
    UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
    if (!job) {
        return job;
    }
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                                 sizeof limits)) {
        job.reset();
    }
    return job;
}

DWORD ToMilliseconds(std::chrono::milliseconds timeout) {
    return static_cast<DWORD>(std::min<long long>(timeout.count(), INFINITE - 1));
}

} // namespace

std::wstring ProgramPath() {
    static const std::wstring path = WindowsPathOf(GLOAMERY_PROGRAM_PATH);
    return path;
}

std::wstring ProgramFolder() {
    const std::wstring path = ProgramPath();
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

ProgramProcess::ProgramProcess(const std::wstring& arguments) {
    const std::wstring path = ProgramPath();
    const std::wstring folder = ProgramFolder();
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    job = MakeKillOnCloseJob();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION created{};
    // Suspended until it is in the job, so that nothing it starts escapes the job.
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, folder.empty() ? nullptr : folder.c_str(), &startup, &created)) {
        return;
    }
    process.reset(created.hProcess);
    const UniqueHandle thread(created.hThread);
    processId = created.dwProcessId;
    if (job) {
        AssignProcessToJobObject(job.get(), process.get());
    }
    ResumeThread(thread.get());
}

ProgramProcess::~ProgramProcess() {
    if (Running()) {
        Kill();
    }
}

bool ProgramProcess::Running() const {
    return process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

HWND ProgramProcess::WaitForWindow(const std::wstring& title, Visibility visibility,
                                   std::chrono::milliseconds timeout) const {
    if (!process) {
        return nullptr;
    }
    HWND found = nullptr;
    // A program that ends early ends the wait too.
    WaitUntil(
        [&] {
            found = FindWindowTitled(title, visibility);
            return found || !Running();
        },
        timeout);
    return found;
}

HWND ProgramProcess::FindWindowTitled(const std::wstring& title, Visibility visibility) const {
    return process ? FindTopLevelWindow(processId, title, visibility) : nullptr;
}

HWND ProgramProcess::WaitForMainDialog(Visibility visibility,
                                       std::chrono::milliseconds timeout) const {
    return WaitForWindow(kMainDialogTitle, visibility, timeout);
}

std::optional<DWORD> ProgramProcess::WaitForExit(std::chrono::milliseconds timeout) const {
    if (!process || WaitForSingleObject(process.get(), ToMilliseconds(timeout)) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(process.get(), &exitCode)) {
        return std::nullopt;
    }
    return exitCode;
}

std::optional<DWORD> ProgramProcess::Close(std::chrono::milliseconds timeout) const {
    const HWND main = FindWindowTitled(kMainDialogTitle, Visibility::Any);
    if (!main) {
        return std::nullopt;
    }
    PostClose(main);
    return WaitForExit(timeout);
}

void ProgramProcess::Kill() const {
    if (!process) {
        return;
    }
    TerminateProcess(process.get(), 1);
    WaitForSingleObject(process.get(), ToMilliseconds(kWindowTimeout));
}

} // namespace program_test
