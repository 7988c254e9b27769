#pragma once
// The folder where the program writes its pictures: the user's local application-data folder,
// then "Pembrix Software\Gloamery".

#include <windows.h>

#include <optional>
#include <string>

namespace program_test {

inline constexpr wchar_t kCurrentImageFile[] = L"Pembrix Gloamery Current Image.bmp";
inline constexpr wchar_t kTerminatorImageFile[] = L"Pembrix Gloamery Terminator Image.bmp";

// The folder's path, whether or not it exists yet; empty when the shell does not know the
// local application-data folder.
std::wstring OutputFolder();
std::wstring OutputFile(const wchar_t* name);

bool FileExists(const std::wstring& path);
// When the file was last written, as a FILETIME count; nothing when it does not exist.
std::optional<ULONGLONG> LastWriteTime(const std::wstring& path);

// Removes both pictures, so that a test sees which ones the next update writes.
void DeleteOutputFiles();

} // namespace program_test
