// The settings in the registry: what Load takes from values that another program may have
// written badly, and what Save writes.

#include <gtest/gtest.h>

#include <windows.h>

#include <tuple>
#include <vector>

#include "settings/SettingsStore.h"

namespace {

using namespace std::literals;

constexpr wchar_t kKey[] = L"Software\\Pembrix\\Pembrix Gloamery";
constexpr const wchar_t* kNames[] = {L"SrcImgPath",     L"Src2ImgPath", L"NoonUCTPixel",
                                     L"UpdateFreqMins", L"Mode",        L"Disabled",
                                     L"NoBootUpdate",   L"Terminator"};

// A registry value's type and bytes.
using Value = std::pair<DWORD, std::vector<BYTE>>;

Value Bytes(DWORD type, const void* data, size_t size) {
    return {type, {static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + size}};
}
Value Dword(DWORD number) {
    return Bytes(REG_DWORD, &number, sizeof number);
}
// Text with its terminating null, or only its first `bytes` bytes.
Value Sz(const std::wstring& text, size_t bytes = SIZE_MAX) {
    return Bytes(REG_SZ, text.c_str(), std::min(bytes, (text.size() + 1) * sizeof(wchar_t)));
}

// Loads the store and returns every setting that it then holds.
auto Load(SettingsStore& store) {
    store.Load();
    std::wstring main, night;
    store.GetSrcImgPath(main);
    store.GetSrc2ImgPath(night);
    return std::tuple(main, night, store.GetNoonPixel(), store.GetUpdateFreqMins(), store.GetMode(),
                      store.GetDisabled(), store.GetNoBootUpdate(), store.GetTerminator());
}

// Writes the values under kNames in order, those after the last given not at all, and loads
// them.
auto Load(SettingsStore& store, const std::vector<Value>& values) {
    RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    for (size_t i = 0; i < values.size(); ++i) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kNames[i], values[i].first,
                        values[i].second.data(), static_cast<DWORD>(values[i].second.size()));
    }
    return Load(store);
}

// Flags count as set when not 0, other numbers are taken as they are (4294967295 as -1); a path
// ends at its first null or at the end of its data, where an odd byte is no character. A value
// of the wrong type or size, a path longer than 259 characters or a missing value leaves its
// field as it was. Save then writes back what Load read into a key it creates, each under its
// own name, in the form that Load takes: a second store reads it all back.
TEST(SettingsStore, LoadTakesWellFormedValuesAndSaveWritesThemBack) {
    SettingsStore store;
    const auto read = std::tuple(std::wstring(259, L'x'), L"\u00e9t"s, -10, -1, 7, 1, 1, 0);
    EXPECT_EQ(Load(store, {Sz(std::wstring(259, L'x'), 518), Sz(L"\u00e9t\u00e9", 5), Dword(-10),
                           Dword(4294967295u), Dword(7), Dword(5), Dword(0x80000000u), Dword(0)}),
              read);
    EXPECT_EQ(
        Load(store, {Sz(std::wstring(260, L'y')), Dword(65), Bytes(REG_BINARY, "\x09\0\0", 4),
                     Sz(L"3"), Bytes(REG_DWORD, "\x09", 1), Bytes(REG_QWORD, "\0\0\0\0\0\0\0", 8),
                     Bytes(REG_DWORD, "\0", 2), Bytes(REG_NONE, "\x01\0\0", 4)}),
        read);
    RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    store.Save();
    SettingsStore saved;
    EXPECT_EQ(Load(saved), read);
    EXPECT_EQ(Load(store, {Sz(L"c:\0zz"s)}), std::tuple(L"c:"s, L"\u00e9t"s, -10, -1, 7, 1, 1, 0));
    RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
}

} // namespace
