#pragma once
// The day-and-night picture of the Earth: the day image with the night image blended in
// wherever the sun is below the horizon, saved as a BMP file.

#include <windows.h>

#include <optional>
#include <string>

#include "render/PictureBuffer.h"

class SettingsStore;

// Renders for the given UTC instant (milliseconds are not used) in memory. Reads the image
// paths from settings, writes the progress there before each column and stops when its cancel
// flag is set. Returns the day image with the night blended in, 24-bit where the day image is
// and 32-bit otherwise, or nothing when an image can't be read or used or the run is cancelled.
std::optional<PictureBuffer> RenderTerminatorPicture(SettingsStore& settings,
                                                     const SYSTEMTIME& utc) noexcept;

// Saves a rendered picture as BMP at outputPath. When the save fails, a file already there
// stays as it was.
bool SaveTerminatorPicture(Gdiplus::GpBitmap* picture, const std::wstring& outputPath) noexcept;

// Renders and saves; nothing is saved when nothing was rendered.
void RenderTerminatorImageAt(std::wstring outputPath, SettingsStore& settings,
                             const SYSTEMTIME& utc);

// The same for the current UTC time.
void RenderTerminatorImage(std::wstring outputPath, SettingsStore& settings);
