// The four style thumbnails, clicked or chosen with their Alt keys.

#include "MainDialogFixture.h"

#include <functional>
#include "ScreenPixels.h"

namespace program_test {
namespace {

struct Style {
    int thumbnail;
    char key;
    DWORD mode;
    const wchar_t* mainMap; // null: the custom style keeps what it had
    const wchar_t* nightMap;
    DWORD terminator;
};

constexpr Style kStyles[] = {
    {IDC_DAYTIME_THUMB, 'D', 1, kDayMap, nullptr, 0},
    {IDC_NIGHTTIME_THUMB, 'N', 2, kNightMap, nullptr, 0},
    {IDC_DAYNIGHT_THUMB, 'A', 3, kDayMap, kNightMap, 1},
    {IDC_CUSTOM_THUMB, 'T', 4, nullptr, nullptr, 0},
};

class MainDialogStyles : public MainDialogTest {
protected:
    // Clicks are posted: they are done once the stored style shows them and the handler that
    // stored it has returned.
    bool ClickAndWait(int thumbnail, const std::function<bool()>& done) {
        return Click(main, thumbnail) && WaitUntil(done) && FinishCurrentHandler(main);
    }

    // The stored settings and the window both show `style` as the chosen one.
    void ExpectChosen(const Style& style) {
        EXPECT_EQ(ReadDwordSetting(L"Mode"), style.mode);
        if (style.mainMap) {
            EXPECT_EQ(ReadStringSetting(L"SrcImgPath"), DefaultMap(style.mainMap));
            EXPECT_EQ(ReadStringSetting(L"Src2ImgPath"),
                      style.nightMap ? DefaultMap(style.nightMap) : L"");
            EXPECT_EQ(ReadDwordSetting(L"Terminator"), style.terminator);
            EXPECT_EQ(ReadDwordSetting(L"NoonUCTPixel"), 1024u);
            EXPECT_EQ(ReadDwordSetting(L"UpdateFreqMins"), 15u);
        }
        EXPECT_EQ(IsControlEnabled(main, IDC_EDIT_CUSTOM), style.mode == 4);
        // Only the chosen thumbnail carries the red check mark. The screen is shared with
        // other tests' windows, so the dialog is raised and the pictures are given time to show.
        SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        const auto checkMarks = [&] {
            std::wstring marks;
            for (const Style& other : kStyles) {
                const int red = CountRedPixels(GetDlgItem(main, other.thumbnail));
                marks += red < 0 ? L'?' : red > 100 ? L'V' : red < 10 ? L'-' : L'~';
            }
            return marks;
        };
        std::wstring expected;
        for (const Style& other : kStyles) {
            expected += other.thumbnail == style.thumbnail ? L'V' : L'-';
        }
        WaitUntil([&] { return checkMarks() == expected; }, 10s);
        EXPECT_EQ(checkMarks(), expected) << "check marks by thumbnail: daytime, night-time, "
                                             "day and night, custom";
    }
};

TEST_F(MainDialogStyles, EachThumbnailStoresItsStyleAndShowsTheCheckMark) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ExpectChosen(kStyles[0]);
    for (const Style& style : {kStyles[1], kStyles[2], kStyles[3], kStyles[0]}) {
        SCOPED_TRACE(style.mode);
        ASSERT_TRUE(
            ClickAndWait(style.thumbnail, [&] { return ReadDwordSetting(L"Mode") == style.mode; }));
        ExpectChosen(style);
    }
}

TEST_F(MainDialogStyles, AltKeysChooseStylesLikeClicks) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    for (const Style& style : {kStyles[2], kStyles[3], kStyles[1], kStyles[0]}) {
        SCOPED_TRACE(style.key);
        ASSERT_TRUE(PressAltKey(main, style.key));
        ASSERT_TRUE(WaitUntil([&] { return ReadDwordSetting(L"Mode") == style.mode; }));
        ASSERT_TRUE(FinishCurrentHandler(main));
        ExpectChosen(style);
    }
}

// Choosing the style that is already chosen writes its settings again, over whatever was
// changed behind the program's back, and the custom style keeps its own values.
TEST_F(MainDialogStyles, ChoosingAStyleAgainRewritesItsSettings) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    WriteSetting(L"UpdateFreqMins", 45);
    WriteSetting(L"NoonUCTPixel", 3);
    ASSERT_TRUE(
        ClickAndWait(IDC_DAYTIME_THUMB, [] { return ReadDwordSetting(L"UpdateFreqMins") == 15u; }));
    EXPECT_EQ(ReadDwordSetting(L"NoonUCTPixel"), 1024u);

    ASSERT_TRUE(ClickAndWait(IDC_CUSTOM_THUMB, [] { return ReadDwordSetting(L"Mode") == 4u; }));
    EXPECT_EQ(ReadDwordSetting(L"NoonUCTPixel"), 1024u);
    EXPECT_EQ(ReadStringSetting(L"SrcImgPath"), DefaultMap(kDayMap));
}

} // namespace
} // namespace program_test
