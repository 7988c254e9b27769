#pragma once
// Test helpers for code that works on pictures and files. Every test executable that links them
// runs with GDI+ started.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "TerminatorReference.h"

// A fresh folder under the temporary folder, removed with its files when the test ends.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::wstring File(const std::wstring& name) const { return path + L"\\" + name; }

private:
    std::wstring path;
};

// A BMP file's headers written by hand, followed by dataBytes zero bytes.
std::string BmpBytes(std::int32_t width, std::int32_t height, std::uint32_t dataBytes,
                     WORD bitCount = 24);
// A whole 24-bit (or 32-bit) BMP file whose pixel (x, y) has the colour colourAt(x, y), 0xRRGGBB.
std::string BmpPicture(int width, int height,
                       const std::function<std::uint32_t(int, int)>& colourAt, WORD bitCount = 24);
// A picture file in 32-bit ARGB as the program reads it; empty when it can't be read.
ArgbBuffer ReadPicture(const std::wstring& path);

// The largest difference of any channel of any pixel of the two pictures; 256 when their
// sizes differ.
int LargestDifference(const ArgbBuffer& one, const ArgbBuffer& other);

// A file of the build tree, which knows it by its host path, as Wine shows it: on drive Z:.
std::wstring WindowsPath(const std::string& hostPath);

#ifdef GLOAMERY_TEST_MAPS
// A test map made at build time (tests/imaging/make-test-maps.sh).
inline std::wstring TestMap(const std::string& name) {
    return WindowsPath(GLOAMERY_TEST_MAPS "/" + name);
}
#endif

// A value of the user's desktop settings (HKCU\Control Panel\Desktop), empty when there is none.
std::wstring DesktopSetting(const wchar_t* name);

bool FileExists(const std::wstring& path);
std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);

// A UTC instant; its milliseconds are set to show that they are not used.
inline SYSTEMTIME MakeUtc(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    return SYSTEMTIME{year, month, 0, day, hour, minute, second, 999};
}
