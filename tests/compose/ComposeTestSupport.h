#pragma once
// Helpers for the composer's tests: the desktop's wallpaper setting, progress watching,
// clock values and hand-made picture files.

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

class SettingsStore;

// The wallpaper as the system reports it, and as stored in HKCU\Control Panel\Desktop.
std::wstring SystemWallpaper();
std::wstring RegistryWallpaper();
void SetSystemWallpaper(const std::wstring& path);

SYSTEMTIME Utc(WORD hour, WORD minute, WORD second = 0);

// An 8-bit palette BMP whose every pixel is palette entry 1, coloured red, green, blue.
void WritePaletteBmp(const std::wstring& path, int width, int height, BYTE red, BYTE green,
                     BYTE blue);

// Watches the store's progress from a second thread and keeps each value that differs from
// the one before. A poller can miss a value that lives only briefly, never invent one.
class ProgressRecorder {
public:
    explicit ProgressRecorder(const SettingsStore& settings);
    ~ProgressRecorder();
    ProgressRecorder(const ProgressRecorder&) = delete;
    ProgressRecorder& operator=(const ProgressRecorder&) = delete;

    // Stops watching and returns the values seen, the starting value first.
    std::vector<int> Stop();

private:
    const SettingsStore& settings;
    std::atomic<bool> running{true};
    std::vector<int> seen;
    std::thread watcher;
};
