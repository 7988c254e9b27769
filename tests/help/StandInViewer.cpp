// A stand-in for the help viewer's control module: exports HtmlHelpW under the viewer's ordinal,
// records each request and returns the caller's window, so tests can see what reached it.

#include "StandInViewer.h"

#include <cwchar>

namespace {
HelpRequestLog log;
}

extern "C" HWND WINAPI StandInHtmlHelpW(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data) {
    if (log.count < static_cast<int>(sizeof(log.requests) / sizeof(log.requests[0]))) {
        RecordedHelpRequest& request = log.requests[log.count];
        request.caller = caller;
        std::wcsncpy(request.file, file ? file : L"", 127);
        request.command = command;
        request.data = data;
    }
    ++log.count;
    return caller;
}

extern "C" const HelpRequestLog* RecordedHelpRequests() {
    return &log;
}
