#include "settings/SettingsStore.h"

#include <windows.h>

#include <algorithm>
#include <array>

#include "win/Handles.h"

namespace {

constexpr wchar_t kKeyPath[] = L"Software\\Pembrix\\Pembrix Gloamery";
constexpr DWORD kMaxPathChars = MAX_PATH; // terminating null included

// Reads a 32-bit value. Only a REG_DWORD of exactly four bytes counts: anything else would
// leave bytes of the field undefined, so the field keeps its value.
bool ReadDword(HKEY key, const wchar_t* name, DWORD& value) {
    DWORD data = 0;
    DWORD type = REG_NONE;
    DWORD size = sizeof data;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
        ERROR_SUCCESS) {
        return false;
    }
    if (type != REG_DWORD || size != sizeof data) {
        return false;
    }
    value = data;
    return true;
}

// Reads a path of at most MAX_PATH characters including its null. The data need not be
// terminated and may have an odd byte count: only whole characters inside the buffer are used,
// up to the first null.
bool ReadPath(HKEY key, const wchar_t* name, std::wstring& path) {
    std::array<wchar_t, kMaxPathChars> buffer{};
    DWORD type = REG_NONE;
    DWORD size = sizeof buffer;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS) {
        return false;
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        return false;
    }
    const size_t chars = std::min<size_t>(size / sizeof(wchar_t), buffer.size());
    const auto end = std::find(buffer.begin(), buffer.begin() + chars, L'\0');
    path.assign(buffer.begin(), end);
    return true;
}

void WriteDword(HKEY key, const wchar_t* name, int value) {
    const DWORD data = static_cast<DWORD>(value);
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
}

void WritePath(HKEY key, const wchar_t* name, const std::wstring& path) {
    const size_t bytes = (path.size() + 1) * sizeof(wchar_t);
    if (bytes > MAXDWORD) {
        return;
    }
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>(bytes));
}

int AsFlag(DWORD value) {
    return value != 0 ? 1 : 0;
}

} // namespace

void SettingsStore::Load() {
    ScopedLock hold(lock);
    UniqueHkey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
        return;
    }
    DWORD value = 0;
    if (ReadDword(key.get(), L"NoonUCTPixel", value)) {
        noonPixel = static_cast<int>(value);
    }
    if (ReadDword(key.get(), L"UpdateFreqMins", value)) {
        updateFreqMins = static_cast<int>(value);
    }
    if (ReadDword(key.get(), L"Mode", value)) {
        mode = static_cast<int>(value);
    }
    if (ReadDword(key.get(), L"Disabled", value)) {
        disabled = AsFlag(value);
    }
    if (ReadDword(key.get(), L"NoBootUpdate", value)) {
        noBootUpdate = AsFlag(value);
    }
    if (ReadDword(key.get(), L"Terminator", value)) {
        terminator = AsFlag(value);
    }
    ReadPath(key.get(), L"SrcImgPath", srcImgPath);
    ReadPath(key.get(), L"Src2ImgPath", src2ImgPath);
}

void SettingsStore::Save() {
    ScopedLock hold(lock);
    UniqueHkey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, const_cast<wchar_t*>(L""),
                        REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    WriteDword(key.get(), L"NoonUCTPixel", noonPixel);
    WriteDword(key.get(), L"UpdateFreqMins", updateFreqMins);
    WriteDword(key.get(), L"Mode", mode);
    WriteDword(key.get(), L"Disabled", disabled);
    WriteDword(key.get(), L"NoBootUpdate", noBootUpdate);
    WriteDword(key.get(), L"Terminator", terminator);
    WritePath(key.get(), L"SrcImgPath", srcImgPath);
    WritePath(key.get(), L"Src2ImgPath", src2ImgPath);
}
