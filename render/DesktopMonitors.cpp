#include "render/DesktopMonitors.h"

#include <windows.h>

#include <versionhelpers.h>

#include <utility>

#include "win/Handles.h"

namespace {

struct MonitorList {
    std::vector<PixelRect> rectangles;
    bool complete = true;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) noexcept {
    auto& monitors = *reinterpret_cast<MonitorList*>(list);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) {
        monitors.complete = false;
        return FALSE;
    }
    const RECT& area = info.rcMonitor;
    try {
        monitors.rectangles.push_back(
            {area.left, area.top, area.right - area.left, area.bottom - area.top});
    } catch (...) {
        monitors.complete = false; // an exception must not cross the system's frames
        return FALSE;
    }
    return TRUE;
}

void SetDesktopString(HKEY key, const wchar_t* name, const wchar_t* value) noexcept {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>((lstrlenW(value) + 1) * sizeof(wchar_t)));
}

} // namespace

std::vector<PixelRect> DesktopMonitors() {
    MonitorList monitors;
    if (!EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors)) ||
        !monitors.complete) {
        return {};
    }
    return std::move(monitors.rectangles);
}

bool CanSpanWallpaper() noexcept {
    return IsWindows8OrGreater();
}

void SetSpanWallpaperStyle() noexcept {
    UniqueHkey desktop;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_SET_VALUE,
                      desktop.put()) != ERROR_SUCCESS) {
        return;
    }
    SetDesktopString(desktop.get(), L"WallpaperStyle", L"22");
    SetDesktopString(desktop.get(), L"TileWallpaper", L"0");
}
