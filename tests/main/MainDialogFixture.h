#pragma once
// The program started from its own folder with the default maps, the way a user first meets it.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "ProgramDriver.h"
#include "ui/ResourceIds.h"

namespace program_test {

inline constexpr wchar_t kDayMap[] = L"Earth by day - ocean ice.jpg";
inline constexpr wchar_t kNightMap[] = L"Earth by night - city lights.jpg";

inline std::wstring DefaultMap(const wchar_t* name) {
    return ProgramFolder() + L"\\" + name;
}

class MainDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteProgramSettings();
        DeleteOutputFiles();
    }

    void TearDown() override {
        if (program && program->Running()) {
            EXPECT_EQ(program->Close(), 0u) << "the program did not close cleanly";
        }
        program.reset();
        DeleteProgramSettings();
    }

    // Starts the program and waits for its settings window (visible, or merely existing).
    void StartProgram(const std::wstring& arguments = L"",
                      Visibility visibility = Visibility::Visible) {
        program.emplace(arguments);
        ASSERT_TRUE(program->Started());
        main = program->WaitForMainDialog(visibility);
        ASSERT_TRUE(main) << "no settings window";
        ASSERT_TRUE(FinishCurrentHandler(main));
    }

    // Waits until an update has written the wallpaper and "&Update Now" is back in its place.
    bool WaitForUpdateToEnd() const {
        return WaitUntil([this] {
            return FileExists(OutputFile(kCurrentImageFile)) &&
                   IsControlVisible(main, IDC_UPDATE_NOW) && !IsControlVisible(main, IDC_PROGRESS);
        });
    }

    std::optional<ProgramProcess> program;
    HWND main = nullptr;
};

} // namespace program_test
