#pragma once
// Edits every stored setting but the desktop style, on a copy: the caller fills the public
// values, runs the dialog, and takes them back only when it ends with IDOK.

#include <windows.h>

#include <cstdint>
#include <string>

#include "win/Dialog.h"

class CustomSettingsDialog : public Dialog {
public:
    explicit CustomSettingsDialog(HWND owner = nullptr) noexcept;

    int disabled = 0;
    std::wstring mainImagePath;
    std::wstring nightImagePath;
    int skipFirstUpdate = 0;
    int dayAndNight = 0;
    std::uint32_t updateFreqMins = 0;
    std::uint32_t noonPixel = 0;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& exchange) override;
    std::span<const CommandRoute> Commands() const override;

private:
    void OnBrowseMainImage();
    void OnBrowseNightImage();
    void OnTerminatorToggled();
    void OnHelpTopic();
};
