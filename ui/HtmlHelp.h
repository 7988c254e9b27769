#pragma once
// Access to the platform's HTML Help viewer. The program does not link the viewer: it loads the
// viewer's control module on the first help request, finds its HtmlHelpW entry and calls it.

#include <windows.h>

#include <htmlhelp.h>

#include <array>

inline constexpr wchar_t kHelpFile[] = L"Pembrix Gloamery.chm";
inline constexpr wchar_t kCustomSettingsHelpTopic[] = L"Pembrix Gloamery.chm::/custom.htm";

// Where the viewer's control module is looked for: the path recorded for its class under a
// registry key (the key's default value), then a module of the given name in the system folder.
struct HelpViewerLocation {
    HKEY root = HKEY_CLASSES_ROOT;
    const char* subKey = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
    const char* fallbackModule = "hhctrl.ocx";
};

// The recorded path is 8-bit and at most 260 bytes, its terminating null included.
using HelpControlPath = std::array<char, MAX_PATH>;

// Reads the recorded path of the viewer's control into `path`. Succeeds only for a string value
// (REG_SZ, or REG_EXPAND_SZ, which is expanded) that fits in `path` with its terminating null.
bool FindHelpControlPath(const HelpViewerLocation& location, HelpControlPath& path) noexcept;

// The loader of one viewer. It tries to load the module once: after a failure it stays without
// a viewer. A module it has loaded is kept, and never freed: the viewer's windows and threads
// may outlive any help request.
class HelpViewer {
public:
    explicit HelpViewer(const HelpViewerLocation& location = {}) noexcept : location(location) {}

    // Calls the viewer's HtmlHelpW and returns what it returns; null when there is no viewer.
    HWND Invoke(HWND caller, const wchar_t* file, UINT command, DWORD_PTR data) noexcept;

    HMODULE Module() const noexcept { return module; }
    bool LoadFailed() const noexcept { return loadFailed; }

private:
    using HtmlHelpEntry = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

    void LoadModule() noexcept;

    HelpViewerLocation location;
    HMODULE module = nullptr;
    HtmlHelpEntry entry = nullptr;
    bool loadFailed = false;
};

// The program's one viewer, shared by every help request of the run.
HWND InvokeHtmlHelp(HWND caller, const wchar_t* file, UINT command, DWORD_PTR data) noexcept;

// Opens the help file at its default topic.
void ShowHelpContents(HWND owner) noexcept;

// Opens a topic given as "file::/page", such as kCustomSettingsHelpTopic.
void ShowHelpTopic(HWND owner, const wchar_t* topic) noexcept;
