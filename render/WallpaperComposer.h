#pragma once
// One wallpaper update: the picture scrolled so that it is local noon in the middle of the
// screen, scaled to the screen's height, saved in the output folder and made the desktop
// wallpaper. Runs on the update worker; reports progress and honours the cancel flag through
// the settings store.

#include <windows.h>

class SettingsStore;

// Composes for the current UTC time and the primary screen's size.
void ComposeWallpaper(SettingsStore& settings) noexcept;

// Composes for the given UTC instant and screen size.
void ComposeWallpaperAt(SettingsStore& settings, const SYSTEMTIME& utc, int screenWidth,
                        int screenHeight) noexcept;
