// The renderer end to end: pictures in a scratch folder, rendered through GDI+, the saved BMP
// read back.
#include <gtest/gtest.h>

#include <tuple>

#include "TerminatorReference.h"
#include "render/TerminatorRenderer.h"
#include "settings/SettingsStore.h"
#include "tests/imaging/ImagingTestSupport.h"

namespace {

// The scratch folder for the pictures, and the rendering's file.
class TerminatorRendererTest : public testing::Test {
protected:
    ScratchFolder folder;
    SettingsStore settings;
    const std::wstring output = folder.File(L"out.bmp");
};

// Day images in every pixel format their decoders hand over, and night images of other sizes,
// against the blend of the pictures they encode: a night image twice the size in 2 x 2 blocks
// shrinks to the night exactly, a flat one of half the size enlarges flat. Pictures without
// alpha are held in 24 bits, or in 32 without alpha where the decoder hands them over so (as
// Wine's does palette BMPs). Day file, night file, the pictures they encode, how far a lossy
// encoding may stray, the format the picture is held in.
TEST_F(TerminatorRendererTest, EveryEncodingAndSizeBlendsAsThePicturesItHolds) {
    constexpr Gdiplus::PixelFormat k24 = PixelFormat24bppRGB;
    const std::tuple<const char*, const char*, const char*, const char*, int, Gdiplus::PixelFormat>
        cases[] = {{"day.gif", "night.png", "day.png", "night.png", 0, k24},
                   {"day-palette.png", "night.png", "day.png", "night.png", 0, k24},
                   {"day-palette.bmp", "night.png", "day.png", "night.png", 0, PixelFormat32bppRGB},
                   {"day-16bit.png", "night.png", "day.png", "night.png", 0, k24},
                   {"day-grey.png", "night.png", "grey-as-rgb.png", "night.png", 0, k24},
                   {"day-grey.jpg", "night.png", "grey-as-rgb.png", "night.png", 3, k24},
                   {"day-cmyk.jpg", "night.png", "day.png", "night.png", 12, k24},
                   {"day-alpha.png", "night.png", "day.png", "night.png", 0, PixelFormat32bppARGB},
                   {"day.png", "night-double.png", "day.png", "night.png", 0, k24},
                   {"day.png", "night-half.png", "day.png", "night-flat.png", 0, k24}};
    const SYSTEMTIME utc = MakeUtc(2020, 3, 20, 12, 0, 0);
    for (const auto& [day, night, dayHeld, nightHeld, stray, format] : cases) {
        settings.SetSrcImgPath(TestMap(day));
        settings.SetSrc2ImgPath(TestMap(night));
        MapStatus status;
        const auto picture = RenderTerminatorPicture(settings, utc, status);
        ASSERT_TRUE(picture && SaveTerminatorPicture(picture->Bitmap(), output)) << day << night;
        EXPECT_EQ(picture->Format(), format) << day;
        ArgbBuffer expected = ReadPicture(TestMap(dayHeld));
        BlendTerminatorReference(
            SunInstantAt(utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond),
            expected.View(), ReadPicture(TestMap(nightHeld)).View());
        EXPECT_LE(LargestDifference(ReadPicture(output), expected), stray) << day << " " << night;
    }
}

// Missing pictures, a file that is no picture and one with more pixels than memory holds give
// nothing, leave the progress and say which file and why. A cancel flag of 1 before the start
// stops once the files are opened, before a night image is even read; any other flag but 0 lets
// every column run and still gives nothing.
TEST_F(TerminatorRendererTest, UnusablePicturesAndStoppedRunsGiveNothing) {
    WriteFileBytes(folder.File(L"good"), ReadFileBytes(TestMap("day.png")));
    WriteFileBytes(folder.File(L"text"), "plain text, not a picture");
    WriteFileBytes(folder.File(L"huge"), BmpBytes(100000, 100000, 4096));
    using enum MapProblem;
    const std::tuple<const wchar_t*, const wchar_t*, int, int, MapProblem, const wchar_t*> cases[] =
        {{L"missing", L"good", 0, 42, notFound, L"missing"},
         {L"text", L"good", 0, 42, unreadable, L"text"},
         {L"huge", L"good", 0, 42, tooLarge, L"huge"},
         {L"good", L"huge", 0, 42, tooLarge, L"huge"},
         {L"good", L"missing", 0, 42, notFound, L"missing"},
         {L"good", L"huge", 1, 42, none, nullptr},
         {L"good", L"good", 2, 97, none, nullptr}};
    for (const auto& [day, night, cancel, progress, problem, file] : cases) {
        settings.SetSrcImgPath(folder.File(day));
        settings.SetSrc2ImgPath(folder.File(night));
        settings.SetCancel(cancel);
        settings.SetProgress(42);
        MapStatus status;
        EXPECT_FALSE(RenderTerminatorPicture(settings, MakeUtc(2020, 5, 5, 5, 5, 5), status));
        EXPECT_EQ(settings.GetProgress(), progress) << day << " " << night << " " << cancel;
        EXPECT_EQ(status, (MapStatus{problem, file ? folder.File(file) : L""})) << day << night;
    }
}

} // namespace
