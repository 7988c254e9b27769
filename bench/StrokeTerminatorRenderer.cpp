#include "StrokeTerminatorRenderer.h"

#include <gdiplus.h>

#include "render/EncoderClsid.h"
#include "render/GdiplusBitmapFile.h"
#include "render/GdiplusOwners.h"
#include "render/core/TerminatorAlpha.h"
#include "render/core/TerminatorBlend.h"
#include "render/core/TerminatorGeometry.h"
#include "render/core/TerminatorProgress.h"
#include "settings/SettingsStore.h"
#include "solar/SunInstant.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

void RenderTerminatorImageWithStrokes(const std::wstring& outputPath, SettingsStore& settings,
                                      const SYSTEMTIME& utc) {
    const SunInstant sun =
        SunInstantAt(utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond);
    std::wstring dayPath;
    std::wstring nightPath;
    settings.GetSrcImgPath(dayPath);
    settings.GetSrc2ImgPath(nightPath);
    const UniqueGdipBitmap day = LoadBitmapFromFile(dayPath);
    const UniqueGdipBitmap night = LoadBitmapFromFile(nightPath);
    if (!day || !night) {
        return;
    }
    UINT width = 0;
    UINT height = 0;
    PixelFormat format = 0;
    GdipGetImageHeight(day.get(), &height);
    GdipGetImageWidth(day.get(), &width);
    GdipGetImagePixelFormat(day.get(), &format);

    UniqueGdipBitmap output;
    GdipCreateBitmapFromScan0(static_cast<INT>(width), static_cast<INT>(height), 0, format, nullptr,
                              output.put());
    UniqueGdipPen pen;
    GdipCreatePen1(0, 1.0f, UnitWorld, pen.put());
    UniqueGdipGraphics graphics;
    GdipGetImageGraphicsContext(output.get(), graphics.put());
    GdipDrawImageRectI(graphics.get(), day.get(), 0, 0, static_cast<INT>(width),
                       static_cast<INT>(height));

    const ColumnProgress progress(width);
    const double latitudeStep = LatitudeStep(height);
    ARGB nightColour = 0xFF000000u;
    for (UINT column = 0; column < width; ++column) {
        settings.SetProgress(progress.Before(column));
        if (settings.GetCancel() == 1) {
            break;
        }
        const double longitude = ColumnLongitude(column, width);
        for (UINT row = 0; row < height; ++row) {
            const auto alpha =
                NightAlphaForAltitude(AltitudeAt(sun, longitude, RowLatitude(row, latitudeStep)));
            if (!alpha) {
                continue;
            }
            ARGB read = 0;
            if (GdipBitmapGetPixel(night.get(), static_cast<INT>(column), static_cast<INT>(row),
                                   &read) == Ok) {
                nightColour = read;
            }
            GdipSetPenColor(pen.get(), StrokeColour(*alpha, nightColour));
            GdipDrawLineI(graphics.get(), pen.get(), static_cast<INT>(column),
                          static_cast<INT>(row), static_cast<INT>(column) + 1,
                          static_cast<INT>(row) + 1);
        }
    }
    CLSID bmpEncoder{};
    if (settings.GetCancel() == 0 && GetEncoderClsid(L"image/bmp", bmpEncoder) >= 0) {
        GdipSaveImageToFile(output.get(), outputPath.c_str(), &bmpEncoder, nullptr);
    }
}
