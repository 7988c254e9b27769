// The four desktop styles. Each shows its choice in the thumbnails and stores its settings;
// none updates the desktop at once: that happens at the next periodic update or on
// "&Update Now".

#include "ui/MainDialog.h"

#include "ui/ResourceIds.h"
#include "ui/Thumbnails.h"

namespace {

constexpr wchar_t kDayMapFile[] = L"Earth by day - ocean ice.jpg";
constexpr wchar_t kNightMapFile[] = L"Earth by night - city lights.jpg";
constexpr int kPresetNoonPixel = 1024; // the middle of the 2048-pixel default maps
constexpr int kPresetUpdateFreqMins = 15;

// The thumbnails in the order of the styles (Mode 1 to 4) that they choose, with their maps.
struct Thumbnail {
    int control;
    int map;
    bool halfTurned;
};
constexpr Thumbnail kThumbnails[] = {
    {IDC_DAYTIME_THUMB, IDB_DAYTIME, false},
    {IDC_NIGHTTIME_THUMB, IDB_NIGHTTIME, false},
    {IDC_DAYNIGHT_THUMB, IDB_DAYNIGHT, false},
    {IDC_CUSTOM_THUMB, IDB_DAYTIME, true}, // the day map with the Pacific in the middle
};

// A file in the process's current directory, or the bare name when that cannot be had.
std::wstring InCurrentDirectory(const wchar_t* fileName) {
    wchar_t directory[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, directory);
    if (length == 0 || length >= MAX_PATH) {
        return fileName;
    }
    return std::wstring(directory, length) + L"\\" + fileName;
}

} // namespace

void MainDialog::OnDaytimeStyle() {
    ApplyPresetStyle(1, kDayMapFile, nullptr, 0);
}

void MainDialog::OnNighttimeStyle() {
    ApplyPresetStyle(2, kNightMapFile, nullptr, 0);
}

void MainDialog::OnDayAndNightStyle() {
    ApplyPresetStyle(3, kDayMapFile, kNightMapFile, 1);
}

// The custom style keeps whatever the custom settings dialog stored.
void MainDialog::OnCustomStyle() {
    ShowStyle(4);
    settings.SetMode(4);
    settings.Save();
}

void MainDialog::ApplyPresetStyle(int mode, const wchar_t* mainFile, const wchar_t* nightFile,
                                  int terminator) {
    ShowStyle(mode);
    std::wstring mainPath = InCurrentDirectory(mainFile);
    std::wstring nightPath = nightFile ? InCurrentDirectory(nightFile) : std::wstring();
    settings.SetMode(mode);
    settings.SetSrcImgPath(std::move(mainPath));
    settings.SetSrc2ImgPath(std::move(nightPath));
    settings.SetNoonPixel(kPresetNoonPixel);
    settings.SetUpdateFreqMins(kPresetUpdateFreqMins);
    settings.SetDisabled(0);
    settings.SetNoBootUpdate(0);
    settings.SetTerminator(terminator);
    settings.Save();
}

// Each thumbnail takes the size of the current display scale and its map at the size of what lies
// inside its sunken edge, the style's own with the check mark. "&Edit" is available in the custom
// style only.
void MainDialog::ShowStyle(int mode) {
    shownMode = mode;
    const SIZE frame = ThumbnailSize(thumbnailDpi);
    for (size_t i = 0; i < thumbnails.size(); ++i) {
        const Thumbnail& thumbnail = kThumbnails[i];
        const HWND control = Item(thumbnail.control);
        SetWindowPos(control, nullptr, 0, 0, frame.cx, frame.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT inside{};
        GetClientRect(control, &inside);
        UniqueBitmap picture =
            MakeThumbnail(thumbnail.map, thumbnail.halfTurned, {inside.right, inside.bottom},
                          mode == static_cast<int>(i) + 1);
        // The control keeps its size (SS_REALSIZECONTROL) and gives back the picture it showed,
        // which is released here.
        SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get()));
        thumbnails[i] = std::move(picture);
    }
    EnableWindow(Item(IDC_EDIT_CUSTOM), mode == 4 ? TRUE : FALSE);
}

// The dialog manager lays the dialog out for the new scale when this message reaches it; the
// thumbnails are made again for that scale once it has.
bool MainDialog::OnDpiChanged(WPARAM dpi, LPARAM) {
    PostMessageW(Window(), WM_RESCALE_THUMBNAILS, LOWORD(dpi), 0);
    return false;
}

void MainDialog::OnRescaleThumbnails(WPARAM dpi) {
    thumbnailDpi = static_cast<UINT>(dpi);
    ShowStyle(shownMode);
}
