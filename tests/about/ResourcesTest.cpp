// The icon and the style thumbnails as the program carries them: the images and sizes the
// dialogs rely on.

#include <gtest/gtest.h>

#include <windows.h>

#include "ui/ResourceIds.h"
#include "win/Handles.h"

namespace {

TEST(ProgramImages, IconHasFourImagesAndThumbnailsAre100By50With8Bits) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(IDI_APP), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
    // Three words, the last one the count, then 14-byte entries: width, height, colour count,
    // reserved, then two words, planes and bit count, and more.
    ASSERT_GE(SizeofResource(module, group), 6u + 4 * 14);
    EXPECT_EQ(bytes[4], 4);
    const int expected[4][2] = {{48, 8}, {16, 4}, {32, 4}, {32, 8}};
    for (int i = 0; i < 4; ++i) {
        const BYTE* entry = bytes + 6 + 14 * i;
        EXPECT_EQ(entry[0], expected[i][0]) << "image " << i;
        EXPECT_EQ(entry[1], expected[i][0]) << "image " << i;
        EXPECT_EQ(entry[6] | entry[7] << 8, expected[i][1]) << "image " << i;
    }

    for (int id = IDB_DAYNIGHT; id <= IDB_DAYNIGHT_SELECTED; ++id) {
        const UniqueBitmap bitmap(static_cast<HBITMAP>(
            LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        DIBSECTION section{};
        ASSERT_EQ(GetObjectW(bitmap.get(), sizeof(section), &section), int{sizeof(section)})
            << "thumbnail " << id;
        EXPECT_EQ(section.dsBm.bmWidth, 100) << "thumbnail " << id;
        EXPECT_EQ(section.dsBm.bmHeight, 50) << "thumbnail " << id;
        EXPECT_EQ(section.dsBmih.biBitCount, 8) << "thumbnail " << id;
    }
}

} // namespace
