#pragma once
// The column gate the renderer runs with: before each column it writes the progress to the
// settings and reads the cancel flag. A template so that it stays free of windows.h; the
// renderer instantiates it with SettingsStore.

#include <cstdint>

#include "render/core/TerminatorKernel.h"
#include "render/core/TerminatorProgress.h"

template <typename Settings> class SettingsColumnGate final : public ColumnGate {
public:
    SettingsColumnGate(Settings& settings, std::uint32_t width)
        : settings(settings), progress(width) {}

    bool Enter(std::uint32_t column) override {
        settings.SetProgress(progress.Before(column));
        // Only a flag of exactly 1 asks for a stop.
        return settings.GetCancel() != 1;
    }

private:
    Settings& settings;
    ColumnProgress progress;
};
