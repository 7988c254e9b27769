// The renderer end to end: pictures in a scratch folder, rendered through GDI+, the saved BMP
// read back.
#include <gtest/gtest.h>

#include <tuple>

#include "TerminatorReference.h"
#include "render/GdiplusBitmapFile.h"
#include "render/TerminatorRenderer.h"
#include "settings/SettingsStore.h"
#include "tests/imaging/ImagingTestSupport.h"

namespace {

constexpr char kEarlier[] = "an earlier picture";

// Noise that differs from pixel to pixel, so that a pixel taken from the wrong place shows.
std::uint32_t Noise(int x, int y) {
    return (x * 73856093u ^ y * 19349663u) * 0x5bd1e995u >> 8;
}

class TerminatorRendererTest : public testing::Test {
protected:
    ScratchFolder folder;
    SettingsStore settings;
    const std::wstring output = folder.File(L"out.bmp");
};

// For the current time: the BMP replaces an earlier file, keeps the day image's format and holds
// the per-pixel blend at one of the seconds around the run. The night image is cut to the day
// image's height, and its colour carries on right of it.
TEST_F(TerminatorRendererTest, SavesThePerPixelBlendForNow) {
    WriteFileBytes(folder.File(L"day"), BmpPicture(120, 60, Noise, 32));
    WriteFileBytes(folder.File(L"night"),
                   BmpPicture(100, 80, [](int x, int y) { return Noise(y, x); }));
    WriteFileBytes(output, kEarlier);
    settings.SetSrcImgPath(folder.File(L"day"));
    settings.SetSrc2ImgPath(folder.File(L"night"));
    SYSTEMTIME times[2]{};
    GetSystemTime(&times[0]);
    RenderTerminatorImage(output, settings);
    GetSystemTime(&times[1]);
    Gdiplus::PixelFormat format = 0;
    Gdiplus::DllExports::GdipGetImagePixelFormat(LoadBitmapFromFile(output).get(), &format);
    EXPECT_EQ(format, PixelFormat32bppRGB);
    int matches = 0;
    for (const SYSTEMTIME& utc : times) {
        ArgbBuffer expected = ReadPicture(folder.File(L"day"));
        BlendTerminatorReference(
            SunInstantAt(utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond),
            expected.View(), ReadPicture(folder.File(L"night")).View());
        matches += expected.pixels == ReadPicture(output).pixels;
    }
    EXPECT_GE(matches, 1);
}

// Missing pictures, a file that is no picture, one with more pixels than memory holds and a
// 16-bit day image, which can't hold the blend, leave the earlier file and the progress. A
// cancel flag of 1 before the start stops before the first column; any other flag but 0 lets
// every column run and still saves nothing.
TEST_F(TerminatorRendererTest, UnusablePicturesAndCancelledRunsSaveNothing) {
    WriteFileBytes(folder.File(L"good"), BmpPicture(6, 3, Noise));
    WriteFileBytes(folder.File(L"16-bit"), BmpBytes(6, 3, 36, 16));
    WriteFileBytes(folder.File(L"text"), "plain text, not a picture");
    WriteFileBytes(folder.File(L"huge"), BmpBytes(100000, 100000, 4096));
    const std::tuple<const wchar_t*, const wchar_t*, int, int> cases[] = {
        {L"missing", L"good", 0, 42}, {L"text", L"good", 0, 42},    {L"huge", L"good", 0, 42},
        {L"16-bit", L"good", 0, 42},  {L"good", L"missing", 0, 42}, {L"good", L"good", 1, 0},
        {L"good", L"good", 2, 83}};
    for (const auto& [day, night, cancel, progress] : cases) {
        settings.SetSrcImgPath(folder.File(day));
        settings.SetSrc2ImgPath(folder.File(night));
        settings.SetCancel(cancel);
        settings.SetProgress(42);
        WriteFileBytes(output, kEarlier);
        RenderTerminatorImageAt(output, settings, MakeUtc(2020, 5, 5, 5, 5, 5));
        EXPECT_EQ(ReadFileBytes(output), kEarlier) << day << " " << night << " " << cancel;
        EXPECT_EQ(settings.GetProgress(), progress) << day << " " << night << " " << cancel;
    }
}

} // namespace
