#pragma once
// The day-and-night picture of the Earth: the day image with the night image blended in
// wherever the sun is below the horizon, saved as a BMP file.

#include <windows.h>

#include <optional>
#include <string>

#include "render/PictureBuffer.h"
#include "settings/MapStatus.h"

class SettingsStore;

// Renders for the given UTC instant (milliseconds are not used) in memory. Reads the image
// paths from settings, writes the progress there before each column and stops when its cancel
// flag is set. A night image of another size is fitted to the day image. Returns the day image
// with the night blended in, in the format the day image was read in, or nothing when an image
// can't be read or held (status then says which and why) or the run is stopped.
std::optional<PictureBuffer> RenderTerminatorPicture(SettingsStore& settings, const SYSTEMTIME& utc,
                                                     MapStatus& status) noexcept;

// Saves a rendered picture as BMP at outputPath. When the save fails, a file already there
// stays as it was.
bool SaveTerminatorPicture(Gdiplus::GpBitmap* picture, const std::wstring& outputPath) noexcept;

// Renders and saves; nothing is saved when nothing was rendered.
void RenderTerminatorImageAt(std::wstring outputPath, SettingsStore& settings,
                             const SYSTEMTIME& utc);
