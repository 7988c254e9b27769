#include "ProgramOutput.h"

#include <shlobj.h>

#include <array>

namespace program_test {

std::wstring OutputFolder() {
    std::array<wchar_t, MAX_PATH> localAppData{};
    if (SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT,
                         localAppData.data()) != S_OK) {
        return {};
    }
    return std::wstring(localAppData.data()) + L"\\Pembrix Software\\Gloamery";
}

std::wstring OutputFile(const wchar_t* name) {
    return OutputFolder() + L"\\" + name;
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<ULONGLONG> LastWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return std::nullopt;
    }
    return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

void DeleteOutputFiles() {
    DeleteFileW(OutputFile(kCurrentImageFile).c_str());
    DeleteFileW(OutputFile(kTerminatorImageFile).c_str());
}

} // namespace program_test
