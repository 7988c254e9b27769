#include "ui/HtmlHelp.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "win/Handles.h"

namespace {

// The ordinal under which the viewer's control exports HtmlHelpW.
constexpr WORD kHtmlHelpWOrdinal = 15;

bool IsFullPath(const char* path) noexcept {
    const bool driveRoot = std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
                           (path[2] == '\\' || path[2] == '/');
    const bool uncPath = path[0] == '\\' && path[1] == '\\';
    return driveRoot || uncPath;
}

HMODULE LoadRecordedModule(const HelpViewerLocation& location) noexcept {
    HelpControlPath path{};
    if (!FindHelpControlPath(location, path)) {
        return nullptr;
    }
    // A relative path would be searched for in the current folder as well, where anyone can
    // put a module of that name.
    if (!IsFullPath(path.data())) {
        return nullptr;
    }
    return LoadLibraryExA(path.data(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// Only the system folder's copy, never one found through the search path.
HMODULE LoadSystemModule(const char* name) noexcept {
    std::array<char, MAX_PATH> path{};
    const UINT folderLength = GetSystemDirectoryA(path.data(), static_cast<UINT>(path.size()));
    const size_t nameLength = std::strlen(name);
    if (folderLength == 0 || folderLength + 1 + nameLength >= path.size()) {
        return nullptr;
    }
    path[folderLength] = '\\';
    std::memcpy(path.data() + folderLength + 1, name, nameLength + 1);
    return LoadLibraryExA(path.data(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace

bool FindHelpControlPath(const HelpViewerLocation& location, HelpControlPath& path) noexcept {
    path.fill('\0');
    UniqueHkey key;
    if (RegOpenKeyExA(location.root, location.subKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
        return false;
    }
    HelpControlPath value{};
    DWORD type = REG_NONE;
    DWORD size = static_cast<DWORD>(value.size());
    if (RegQueryValueExA(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value.data()),
                         &size) != ERROR_SUCCESS) {
        return false;
    }
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || size > value.size()) {
        return false;
    }
    // The registry keeps whatever bytes were written: the string may lack its terminator, and
    // one must fit within the buffer.
    const auto stored = value.begin() + size;
    if (std::find(value.begin(), stored, '\0') == stored) {
        if (stored == value.end()) {
            return false;
        }
        *stored = '\0';
    }
    if (value[0] == '\0') {
        return false;
    }
    if (type == REG_SZ) {
        path = value;
        return true;
    }
    const DWORD expanded =
        ExpandEnvironmentStringsA(value.data(), path.data(), static_cast<DWORD>(path.size()));
    if (expanded == 0 || expanded > path.size()) {
        path.fill('\0');
        return false;
    }
    return true;
}

void HelpViewer::LoadModule() noexcept {
    module = LoadRecordedModule(location);
    if (!module) {
        module = LoadSystemModule(location.fallbackModule);
    }
    if (!module) {
        loadFailed = true;
    }
}

HWND HelpViewer::Invoke(HWND caller, const wchar_t* file, UINT command, DWORD_PTR data) noexcept {
    if (!module && !loadFailed) {
        LoadModule();
        if (!module) {
            return nullptr;
        }
    }
    if (!entry) {
        // With no module there is nothing to search, and the lookup fails.
        const FARPROC found =
            module ? GetProcAddress(module, MAKEINTRESOURCEA(kHtmlHelpWOrdinal)) : nullptr;
        entry = reinterpret_cast<HtmlHelpEntry>(reinterpret_cast<void (*)()>(found));
        if (!entry) {
            loadFailed = true;
            return nullptr;
        }
    }
    return entry(caller, file, command, data);
}

HWND InvokeHtmlHelp(HWND caller, const wchar_t* file, UINT command, DWORD_PTR data) noexcept {
    static HelpViewer viewer;
    return viewer.Invoke(caller, file, command, data);
}

void ShowHelpContents(HWND owner) noexcept {
    InvokeHtmlHelp(owner, kHelpFile, HH_DISPLAY_TOPIC, 0);
}

void ShowHelpTopic(HWND owner, const wchar_t* topic) noexcept {
    InvokeHtmlHelp(owner, topic, HH_DISPLAY_TOPIC, 0);
}
