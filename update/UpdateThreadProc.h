#pragma once
// The update worker's body in the program: one wallpaper update.

// Composes and installs the wallpaper from the SettingsStore at the given address; returns 0.
unsigned UpdateThreadProc(void* settings);
