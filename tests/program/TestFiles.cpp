#include "TestFiles.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "win/Handles.h"

namespace program_test {

namespace {

// A search of FindFirstFileW, ended by FindClose.
struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Handle search) noexcept { FindClose(search); }
};
using UniqueFind = Unique<FindHandleTraits>;

bool WriteBytes(const std::wstring& path, const void* data, size_t size) {
    const UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || size > MAXDWORD) {
        return false;
    }
    DWORD written = 0;
    return WriteFile(file.get(), data, static_cast<DWORD>(size), &written, nullptr) &&
           written == size;
}

void RemoveFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW entry{};
    const UniqueFind search(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (search) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring child = folder + L"\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveFolder(child);
            } else {
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(search.get(), &entry));
    }
    RemoveDirectoryW(folder.c_str());
}

} // namespace

TemporaryFolder::TemporaryFolder() {
    std::array<wchar_t, MAX_PATH + 1> temp{};
    const DWORD length = GetTempPathW(static_cast<DWORD>(temp.size()), temp.data());
    if (length == 0 || length >= temp.size()) {
        return;
    }
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        std::wstring candidate = std::wstring(temp.data()) + L"gloamery-test-" +
                                 std::to_wstring(GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(GetTickCount() + attempt);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path = std::move(candidate);
            return;
        }
    }
}

TemporaryFolder::~TemporaryFolder() {
    if (!path.empty()) {
        RemoveFolder(path);
    }
}

std::wstring TemporaryFolder::File(std::wstring_view name) const {
    return path + L"\\" + std::wstring(name);
}

bool WriteTestBitmap(const std::wstring& path, int width, int height) {
    if (width <= 0 || height <= 0) {
        return false;
    }
    const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    const size_t pixelBytes = rowBytes * static_cast<size_t>(height);
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixelBytes);
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(pixelBytes);

    std::vector<std::uint8_t> bytes(file.bfSize, 0);
    const auto* fileBytes = reinterpret_cast<const std::uint8_t*>(&file);
    const auto* infoBytes = reinterpret_cast<const std::uint8_t*>(&info);
    std::copy(fileBytes, fileBytes + sizeof file, bytes.begin());
    std::copy(infoBytes, infoBytes + sizeof info, bytes.begin() + sizeof file);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bytes.data() + file.bfOffBits + rowBytes * static_cast<size_t>(y);
        for (int x = 0; x < width; ++x) {
            row[x * 3 + 0] = static_cast<std::uint8_t>(x * 255 / width);  // blue
            row[x * 3 + 1] = static_cast<std::uint8_t>(y * 255 / height); // green
            row[x * 3 + 2] = 0x80;                                        // red
        }
    }
    return WriteBytes(path, bytes.data(), bytes.size());
}

bool WriteTextFile(const std::wstring& path, std::string_view text) {
    return WriteBytes(path, text.data(), text.size());
}

} // namespace program_test
