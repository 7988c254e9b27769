#include "render/OutputFolder.h"

#include <windows.h>
#include <shlobj.h>

#include <array>

namespace {

// Paths are limited to MAX_PATH characters including the terminating null.
constexpr size_t kMaxPathChars = MAX_PATH - 1;

void CreateFolderIfMissing(const std::wstring& folder) {
    if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) {
        CreateDirectoryW(folder.c_str(), nullptr);
    }
}

} // namespace

bool GetOutputFolder(std::wstring& folder) {
    std::array<wchar_t, MAX_PATH + 1> appData{};
    // The worker thread asks, so no window owns whatever the shell might show.
    if (SHGetSpecialFolderPathW(nullptr, appData.data(), CSIDL_LOCAL_APPDATA, TRUE) != 1) {
        return false;
    }
    appData.back() = L'\0';
    std::wstring path(appData.data());
    if (path.empty()) {
        return false;
    }
    path += L"\\Pembrix Software";
    if (path.size() > kMaxPathChars) {
        return false;
    }
    CreateFolderIfMissing(path);
    path += L"\\Gloamery";
    if (path.size() > kMaxPathChars) {
        return false;
    }
    CreateFolderIfMissing(path);
    folder = std::move(path);
    return true;
}

std::wstring MakeOutputPath(const std::wstring& fileName) {
    std::wstring folder;
    if (!GetOutputFolder(folder)) {
        return fileName;
    }
    std::wstring path = folder + L"\\" + fileName;
    if (path.size() > kMaxPathChars) {
        return fileName;
    }
    return path;
}
