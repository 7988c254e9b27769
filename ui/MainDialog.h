#pragma once
// The settings window and the program's main window: four desktop styles as clickable
// thumbnails, "&Update Now" with its progress bar, "&Edit" for the custom style, help, and the
// about box in the system menu. It owns the settings, GDI+ and the update scheduler for the
// whole run; when it closes, the program ends.

#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "render/GdiplusSession.h"
#include "settings/SettingsStore.h"
#include "update/UpdateScheduler.h"
#include "win/Dialog.h"
#include "win/Handles.h"

class MainDialog : public Dialog {
public:
    // commandLine is what follows the program's name; "/s" alone starts the dialog hidden.
    MainDialog(HWND owner, std::wstring commandLine);

    void WinHelpW(DWORD_PTR data, UINT command) override;

    void OnDaytimeStyle();
    void OnNighttimeStyle();
    void OnDayAndNightStyle();
    void OnCustomStyle();
    void OnEditCustomSettings();

    SettingsStore& Settings() noexcept { return settings; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& exchange) override;
    bool PreTranslateMessage(MSG& message) override;
    MessageResult WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::span<const CommandRoute> Commands() const override;
    std::span<const MessageRoute> Messages() const override;

private:
    bool OnSysCommand(WPARAM command, LPARAM lParam);
    bool OnPaint();
    LRESULT OnQueryDragIcon();
    void OnUpdateNow();
    void OnTimer(WPARAM id);
    void OnDestroy();
    bool OnDpiChanged(WPARAM dpi, LPARAM suggestedRect);
    void OnRescaleThumbnails(WPARAM dpi);
    void ShowMapStatus();

    void ApplyPresetStyle(int mode, const wchar_t* mainFile, const wchar_t* nightFile,
                          int terminator);
    void ShowStyle(int mode);
    void SignOnForFullScreenNotices();
    void AddAboutToSystemMenu();
    void HideForSilentStart();

    std::wstring commandLine;
    std::wstring versionText;
    HICON icon = nullptr;
    SettingsStore settings;
    std::optional<GdiplusSession> gdiplus;
    UpdateScheduler scheduler;
    HACCEL accelerators = nullptr;
    MapStatus shownMapStatus;
    // The pictures this dialog gave the thumbnails, released when they are replaced; the style
    // they show and the display scale they are made for.
    std::array<UniqueBitmap, 4> thumbnails;
    int shownMode = 1;
    UINT thumbnailDpi = 96;
};
