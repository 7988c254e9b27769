#pragma once
// The monitors the desktop spans, and the desktop style that lays one picture across them.

#include <vector>

#include "render/core/WallpaperGeometry.h"

// Each monitor's rectangle in desktop coordinates, in physical pixels where the program is
// aware of per-monitor scaling. Empty when the system cannot list them all.
std::vector<PixelRect> DesktopMonitors();

// True where the desktop can span one picture across all monitors (Windows 8 and later).
bool CanSpanWallpaper() noexcept;

// Sets the current user's wallpaper style to span ("WallpaperStyle" "22", "TileWallpaper" "0"),
// for the next SPI_SETDESKWALLPAPER to pick up.
void SetSpanWallpaperStyle() noexcept;
