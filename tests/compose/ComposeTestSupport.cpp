#include "tests/compose/ComposeTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>

#include "settings/SettingsStore.h"

std::wstring SystemWallpaper() {
    std::array<wchar_t, MAX_PATH> path{};
    EXPECT_TRUE(SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path.data(), 0));
    path.back() = L'\0';
    return path.data();
}

std::wstring RegistryWallpaper() {
    std::array<wchar_t, MAX_PATH> path{};
    DWORD bytes = sizeof path;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper", RRF_RT_REG_SZ,
                     nullptr, path.data(), &bytes) != ERROR_SUCCESS) {
        return L"(missing)";
    }
    path.back() = L'\0';
    return path.data();
}

void SetSystemWallpaper(const std::wstring& path) {
    std::wstring parameter = path;
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, parameter.data(),
                                      SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE));
}

SYSTEMTIME Utc(WORD hour, WORD minute, WORD second) {
    SYSTEMTIME time{};
    time.wYear = 2024;
    time.wMonth = 3;
    time.wDay = 20;
    time.wDayOfWeek = 3;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    return time;
}

void WritePaletteBmp(const std::wstring& path, int width, int height, BYTE red, BYTE green,
                     BYTE blue) {
    const int stride = (width + 3) / 4 * 4;
    const DWORD paletteBytes = 256 * sizeof(RGBQUAD);
    const DWORD pixelBytes = static_cast<DWORD>(stride * height);
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof info + paletteBytes;
    file.bfSize = file.bfOffBits + pixelBytes;
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 8;
    info.biCompression = BI_RGB;
    info.biClrUsed = 256;
    std::array<RGBQUAD, 256> palette{};
    palette[1] = RGBQUAD{blue, green, red, 0};
    const std::vector<BYTE> pixels(pixelBytes, 1);

    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(reinterpret_cast<const char*>(palette.data()), paletteBytes);
    out.write(reinterpret_cast<const char*>(pixels.data()), pixelBytes);
    ASSERT_TRUE(out.good());
}

ProgressRecorder::ProgressRecorder(const SettingsStore& settings)
    : settings(settings), seen{settings.GetProgress()}, watcher([this] {
          while (running.load()) {
              const int now = this->settings.GetProgress();
              if (now != seen.back()) {
                  seen.push_back(now);
              }
              std::this_thread::yield();
          }
      }) {}

ProgressRecorder::~ProgressRecorder() {
    Stop();
}

std::vector<int> ProgressRecorder::Stop() {
    running = false;
    if (watcher.joinable()) {
        watcher.join();
    }
    // The last value, in case the poller slept through it.
    if (settings.GetProgress() != seen.back()) {
        seen.push_back(settings.GetProgress());
    }
    return seen;
}
