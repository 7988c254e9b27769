#pragma once
// The day-and-night picture of the Earth: the day image with the night image blended in
// wherever the sun is below the horizon, saved as a BMP file.

#include <windows.h>

#include <string>

class SettingsStore;

// Renders for the current UTC time. Reads the image paths from settings, writes the progress
// there before each column and stops when its cancel flag is set. Nothing is saved when an image
// can't be read or used, when the run is cancelled or when the save fails; a file already at
// outputPath then stays as it was. Never throws.
void RenderTerminatorImage(std::wstring outputPath, SettingsStore& settings);

// The same for a given UTC instant (milliseconds are not used).
void RenderTerminatorImageAt(std::wstring outputPath, SettingsStore& settings,
                             const SYSTEMTIME& utc);
