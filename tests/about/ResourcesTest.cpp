// The icon, cursor and thumbnails as the program carries them: sizes and colour depths that the
// dialogs rely on, and pictures that show what each style is.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <vector>

#include "ui/ResourceIds.h"
#include "win/Handles.h"

namespace {

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInResource;
    WORD id;
};
struct IconGroupHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
#pragma pack(pop)

TEST(ProgramIcon, HoldsTheFourImagesInOrder) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDI_APP), RT_GROUP_ICON);
    ASSERT_NE(found, nullptr);
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    ASSERT_NE(bytes, nullptr);
    const DWORD size = SizeofResource(module, found);
    ASSERT_GE(size, sizeof(IconGroupHeader));
    const auto* header = reinterpret_cast<const IconGroupHeader*>(bytes);
    ASSERT_EQ(header->count, 4);
    ASSERT_GE(size, sizeof(IconGroupHeader) + 4 * sizeof(IconGroupEntry));
    const auto* entries = reinterpret_cast<const IconGroupEntry*>(bytes + sizeof(IconGroupHeader));

    const struct {
        int size;
        int bits;
    } expected[] = {{48, 8}, {16, 4}, {32, 4}, {32, 8}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i].width, expected[i].size);
        EXPECT_EQ(entries[i].height, expected[i].size);
        EXPECT_EQ(entries[i].bitCount, expected[i].bits);
    }
    EXPECT_NE(LoadIconW(module, MAKEINTRESOURCEW(IDI_APP)), nullptr);
}

// A thumbnail's pixels, read through its own palette.
struct Thumbnail {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::vector<RGBQUAD> pixels;

    const RGBQUAD& At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

Thumbnail LoadThumbnail(int id) {
    Thumbnail thumbnail;
    UniqueBitmap bitmap(static_cast<HBITMAP>(LoadImageW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    DIBSECTION section{};
    if (!bitmap || GetObjectW(bitmap.get(), sizeof(section), &section) != sizeof(section)) {
        return thumbnail;
    }
    thumbnail.width = section.dsBm.bmWidth;
    thumbnail.height = section.dsBm.bmHeight;
    thumbnail.bitsPerPixel = section.dsBmih.biBitCount;
    thumbnail.pixels.resize(static_cast<size_t>(thumbnail.width) * thumbnail.height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = thumbnail.width;
    info.bmiHeader.biHeight = -thumbnail.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap.get(), 0, thumbnail.height, thumbnail.pixels.data(), &info,
              DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return thumbnail;
}

// Mean brightness of some columns, between the polar regions (whose ice may be lit either way).
double Brightness(const Thumbnail& thumbnail, int left, int right) {
    constexpr int top = 10;
    constexpr int bottom = 40;
    double total = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const RGBQUAD& p = thumbnail.At(x, y);
            total += p.rgbRed + p.rgbGreen + p.rgbBlue;
        }
    }
    return total / (3.0 * (bottom - top) * (right - left));
}

int RedPixels(const Thumbnail& thumbnail) {
    int count = 0;
    for (const RGBQUAD& p : thumbnail.pixels) {
        count += p.rgbRed > 170 && p.rgbGreen < 70 && p.rgbBlue < 70;
    }
    return count;
}

TEST(StyleThumbnails, AreHundredByFiftyWithAPalette) {
    for (int id = IDB_DAYNIGHT; id <= IDB_DAYNIGHT_SELECTED; ++id) {
        SCOPED_TRACE(id);
        const Thumbnail thumbnail = LoadThumbnail(id);
        EXPECT_EQ(thumbnail.width, 100);
        EXPECT_EQ(thumbnail.height, 50);
        EXPECT_EQ(thumbnail.bitsPerPixel, 8);
    }
}

TEST(StyleThumbnails, ShowTheirStyles) {
    const Thumbnail day = LoadThumbnail(IDB_DAYTIME);
    const Thumbnail night = LoadThumbnail(IDB_NIGHTTIME);
    const Thumbnail dayAndNight = LoadThumbnail(IDB_DAYNIGHT);
    const Thumbnail pacific = LoadThumbnail(IDB_CUSTOM);
    ASSERT_EQ(day.pixels.size(), 5000u);
    ASSERT_EQ(night.pixels.size(), 5000u);
    ASSERT_EQ(dayAndNight.pixels.size(), 5000u);
    ASSERT_EQ(pacific.pixels.size(), 5000u);

    EXPECT_GT(Brightness(day, 0, 100), 3 * Brightness(night, 0, 100));
    // Noon in the middle: the middle of the day-and-night map is lit, its edges are at night.
    EXPECT_GT(Brightness(dayAndNight, 40, 60), 3 * Brightness(dayAndNight, 0, 10));
    EXPECT_GT(Brightness(dayAndNight, 40, 60), 3 * Brightness(dayAndNight, 90, 100));
    // The Pacific view is the day map turned half way round.
    int alike = 0;
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 100; ++x) {
            const RGBQUAD& a = day.At(x, y);
            const RGBQUAD& b = pacific.At((x + 50) % 100, y);
            alike += std::abs(a.rgbRed - b.rgbRed) + std::abs(a.rgbGreen - b.rgbGreen) +
                         std::abs(a.rgbBlue - b.rgbBlue) <
                     40;
        }
    }
    EXPECT_GT(alike, 4750);
}

TEST(StyleThumbnails, SelectedOnesCarryARedCheckMark) {
    const int pairs[][2] = {{IDB_DAYTIME, IDB_DAYTIME_SELECTED},
                            {IDB_CUSTOM, IDB_CUSTOM_SELECTED},
                            {IDB_NIGHTTIME, IDB_NIGHTTIME_SELECTED},
                            {IDB_DAYNIGHT, IDB_DAYNIGHT_SELECTED}};
    for (const auto& pair : pairs) {
        SCOPED_TRACE(pair[1]);
        const Thumbnail normal = LoadThumbnail(pair[0]);
        const Thumbnail selected = LoadThumbnail(pair[1]);
        EXPECT_LT(RedPixels(normal), 10);
        EXPECT_GT(RedPixels(selected), 300);
        // Away from the mark the picture is the same: the left edge is clear of it.
        ASSERT_EQ(selected.pixels.size(), normal.pixels.size());
        EXPECT_NEAR(Brightness(selected, 0, 12), Brightness(normal, 0, 12), 6.0);
    }
}

} // namespace
