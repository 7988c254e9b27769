#pragma once
// One wallpaper update: the picture scrolled so that it is local noon in the middle of the
// screen, scaled to the screen's height, saved in the output folder and made the desktop
// wallpaper. Runs on the update worker; reports progress and honours the cancel flag through
// the settings store.

#include <windows.h>

#include <span>

#include "render/core/WallpaperGeometry.h"

class SettingsStore;

// Composes for the current UTC time: one picture over all monitors, each with its own map,
// where the desktop can span it; otherwise for the primary screen's size.
void ComposeWallpaper(SettingsStore& settings) noexcept;

// Composes for the given UTC instant and screen size.
void ComposeWallpaperAt(SettingsStore& settings, const SYSTEMTIME& utc, int screenWidth,
                        int screenHeight) noexcept;

// Composes for the given UTC instant one picture over the bounding box of the monitors'
// desktop rectangles, each monitor's part as a screen of its size would show it. With more than
// one monitor the desktop is set to span the picture.
void ComposeDesktopWallpaperAt(SettingsStore& settings, const SYSTEMTIME& utc,
                               std::span<const PixelRect> monitors) noexcept;
