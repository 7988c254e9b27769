#pragma once
// Direct access to the program's registry key, to plant and inspect values behind the store.

#include <windows.h>

#include <string>
#include <vector>

#include "win/Handles.h"

namespace settings_test {

inline constexpr wchar_t kKeyPath[] = L"Software\\Pembrix\\Pembrix Gloamery";

inline void DeleteKey() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kKeyPath);
}

inline bool KeyExists() {
    UniqueHkey key;
    return RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

inline void PutRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
    UniqueHkey key;
    RegCreateKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, KEY_WRITE, nullptr, key.put(),
                    nullptr);
    RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), bytes);
}

inline void PutDword(const wchar_t* name, DWORD value) {
    PutRaw(name, REG_DWORD, &value, sizeof value);
}

inline void PutString(const wchar_t* name, const std::wstring& text) {
    PutRaw(name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

struct RawValue {
    bool found = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

inline RawValue GetRaw(const wchar_t* name) {
    RawValue value;
    UniqueHkey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
        return value;
    }
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) {
        return value;
    }
    value.bytes.resize(size);
    value.found = RegQueryValueExW(key.get(), name, nullptr, &value.type, value.bytes.data(),
                                   &size) == ERROR_SUCCESS;
    value.bytes.resize(size);
    return value;
}

} // namespace settings_test
