#include "ProgramSettings.h"

#include <vector>

#include "win/Handles.h"

namespace program_test {

namespace {

UniqueHkey OpenSettings(REGSAM access) {
    UniqueHkey key;
    RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, access, key.put());
    return key;
}

void WriteRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
    UniqueHkey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr, 0, KEY_WRITE, nullptr,
                        key.put(), nullptr) != ERROR_SUCCESS) {
        return;
    }
    RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), bytes);
}

} // namespace

void DeleteProgramSettings() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKeyPath);
}

bool ProgramSettingsExist() {
    return static_cast<bool>(OpenSettings(KEY_READ));
}

void WriteSetting(const wchar_t* name, DWORD value) {
    WriteRaw(name, REG_DWORD, &value, sizeof value);
}

void WriteSetting(const wchar_t* name, const std::wstring& text) {
    WriteRaw(name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::optional<DWORD> ReadDwordSetting(const wchar_t* name) {
    const UniqueHkey key = OpenSettings(KEY_READ);
    DWORD value = 0;
    DWORD type = REG_NONE;
    DWORD size = sizeof value;
    if (!key || RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                                 &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    if (type != REG_DWORD || size != sizeof value) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::wstring> ReadStringSetting(const wchar_t* name) {
    const UniqueHkey key = OpenSettings(KEY_READ);
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (!key ||
        RegQueryValueExW(key.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::nullopt;
    }
    std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                         &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(text.data());
}

StoredSettings ReadStoredSettings() {
    return {
        ReadStringSetting(L"SrcImgPath"),  ReadStringSetting(L"Src2ImgPath"),
        ReadDwordSetting(L"NoonUCTPixel"), ReadDwordSetting(L"UpdateFreqMins"),
        ReadDwordSetting(L"Disabled"),     ReadDwordSetting(L"NoBootUpdate"),
        ReadDwordSetting(L"Terminator"),   ReadDwordSetting(L"Mode"),
    };
}

} // namespace program_test
