#include "render/SaveImageFile.h"

#include <array>

namespace {

// The folder part of path, or "." for a bare file name in the current directory.
std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) {
        return L".";
    }
    if (slash == 0 || (slash == 2 && path[1] == L':')) {
        return path.substr(0, slash + 1); // the root keeps its separator
    }
    return path.substr(0, slash);
}

} // namespace

bool SaveImageReplacing(Gdiplus::GpImage* image, const std::wstring& path,
                        const CLSID& encoder) noexcept {
    if (image == nullptr || path.empty() || path.size() >= MAX_PATH) {
        return false;
    }
    std::wstring folder;
    try {
        folder = FolderOf(path);
    } catch (...) {
        return false;
    }
    // GetTempFileNameW creates the empty file, so the name is ours alone.
    std::array<wchar_t, MAX_PATH> temporary{};
    if (GetTempFileNameW(folder.c_str(), L"gla", 0, temporary.data()) == 0) {
        return false;
    }
    temporary.back() = L'\0';
    const bool saved = Gdiplus::DllExports::GdipSaveImageToFile(image, temporary.data(), &encoder,
                                                                nullptr) == Gdiplus::Ok &&
                       MoveFileExW(temporary.data(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
    if (!saved) {
        DeleteFileW(temporary.data());
    }
    return saved;
}
