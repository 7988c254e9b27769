#pragma once
// What the stand-in help viewer module records of the requests it gets.

#include <windows.h>

struct RecordedHelpRequest {
    HWND caller;
    wchar_t file[128];
    UINT command;
    DWORD_PTR data;
};

struct HelpRequestLog {
    int count;
    RecordedHelpRequest requests[8];
};

// Exported by name from the stand-in module.
using RecordedHelpRequestsFunction = const HelpRequestLog* (*)();
