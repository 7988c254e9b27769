#include <vector>

#include <gtest/gtest.h>

#include "render/core/TerminatorSettingsGate.h"

namespace {

// Records what the gate writes and answers its cancel reads from a script.
struct RecordingSettings {
    std::vector<int> progress;
    int cancelReads = 0;
    int cancelFrom = -1; // the read (0-based) from which the flag is set; -1 never
    int cancelValue = 1;

    void SetProgress(int percent) { progress.push_back(percent); }
    int GetCancel() {
        const int read = cancelReads++;
        return cancelFrom >= 0 && read >= cancelFrom ? cancelValue : 0;
    }
};

std::vector<int> RunColumns(RecordingSettings& settings, std::uint32_t width) {
    SettingsColumnGate<RecordingSettings> gate(settings, width);
    std::vector<int> entered;
    for (std::uint32_t column = 0; column < width; ++column) {
        if (!gate.Enter(column)) {
            break;
        }
        entered.push_back(static_cast<int>(column));
    }
    return entered;
}

} // namespace

TEST(SettingsColumnGate, WritesTheProgressBeforeEachColumn) {
    const std::pair<std::uint32_t, std::vector<int>> cases[] = {
        {3, {0, 33, 66}}, {4, {0, 25, 50, 75}}, {6, {0, 16, 33, 49, 66, 83}}};
    for (const auto& [width, expected] : cases) {
        RecordingSettings settings;
        EXPECT_EQ(RunColumns(settings, width).size(), width);
        EXPECT_EQ(settings.progress, expected) << width;
        EXPECT_EQ(settings.cancelReads, static_cast<int>(width));
    }
}

TEST(SettingsColumnGate, ACancelBeforeTheStartStopsAtTheFirstColumnAfterProgressZero) {
    RecordingSettings settings;
    settings.cancelFrom = 0;
    EXPECT_TRUE(RunColumns(settings, 6).empty());
    EXPECT_EQ(settings.progress, std::vector<int>{0});
    EXPECT_EQ(settings.cancelReads, 1);
}

TEST(SettingsColumnGate, ACancelDuringTheRunStopsAtTheNextColumn) {
    RecordingSettings settings;
    settings.cancelFrom = 3;
    EXPECT_EQ(RunColumns(settings, 6), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(settings.progress, (std::vector<int>{0, 16, 33, 49}));
}

TEST(SettingsColumnGate, OnlyAFlagOfOneStops) {
    RecordingSettings settings;
    settings.cancelFrom = 0;
    settings.cancelValue = 2;
    EXPECT_EQ(RunColumns(settings, 4).size(), 4u);
}
