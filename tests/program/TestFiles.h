#pragma once
// Files that tests hand to the program: a private folder and small pictures made on the spot.

#include <windows.h>

#include <string>
#include <string_view>

namespace program_test {

// A fresh folder under the temporary folder, removed with its files when the owner goes.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    // Empty when the folder could not be made.
    const std::wstring& Path() const noexcept { return path; }
    // The full path of a file in the folder.
    std::wstring File(std::wstring_view name) const;

private:
    std::wstring path;
};

// Writes a 24-bit BMP of the given size with a colour gradient (so that it is not blank).
bool WriteTestBitmap(const std::wstring& path, int width, int height);
// Writes a file that is no picture at all.
bool WriteTextFile(const std::wstring& path, std::string_view text);

} // namespace program_test
