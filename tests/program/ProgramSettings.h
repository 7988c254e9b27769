#pragma once
// The program's registry key, HKCU\Software\Pembrix\Pembrix Gloamery, read and written behind
// the program's back: to plant settings before a start and to see what it saved.

#include <windows.h>

#include <optional>
#include <string>

namespace program_test {

inline constexpr wchar_t kSettingsKeyPath[] = L"Software\\Pembrix\\Pembrix Gloamery";

// Removes the key with every value, as on a machine where the program never ran.
void DeleteProgramSettings();
bool ProgramSettingsExist();

void WriteSetting(const wchar_t* name, DWORD value);
void WriteSetting(const wchar_t* name, const std::wstring& text);

// A REG_DWORD of four bytes; nothing when the value is missing or of another type or size.
std::optional<DWORD> ReadDwordSetting(const wchar_t* name);
// A REG_SZ up to its first null; nothing when the value is missing or of another type.
std::optional<std::wstring> ReadStringSetting(const wchar_t* name);

// All eight stored settings at one moment, for comparing before and after.
struct StoredSettings {
    std::optional<std::wstring> srcImgPath;
    std::optional<std::wstring> src2ImgPath;
    std::optional<DWORD> noonUCTPixel;
    std::optional<DWORD> updateFreqMins;
    std::optional<DWORD> disabled;
    std::optional<DWORD> noBootUpdate;
    std::optional<DWORD> terminator;
    std::optional<DWORD> mode;

    bool operator==(const StoredSettings&) const = default;
};
StoredSettings ReadStoredSettings();

} // namespace program_test
