// The four desktop styles. Each shows its choice in the thumbnails and stores its settings;
// none updates the desktop at once: that happens at the next periodic update or on
// "&Update Now".

#include "ui/MainDialog.h"

#include "ui/ResourceIds.h"

namespace {

constexpr wchar_t kDayMapFile[] = L"Earth by day - ocean ice.jpg";
constexpr wchar_t kNightMapFile[] = L"Earth by night - city lights.jpg";
constexpr int kPresetNoonPixel = 1024; // the middle of the 2048-pixel default maps
constexpr int kPresetUpdateFreqMins = 15;

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
    ApplyPresetStyle(1, {IDB_DAYTIME_SELECTED, IDB_NIGHTTIME, IDB_DAYNIGHT, IDB_CUSTOM, false},
                     kDayMapFile, nullptr, 0);
}

void MainDialog::OnNighttimeStyle() {
    ApplyPresetStyle(2, {IDB_DAYTIME, IDB_NIGHTTIME_SELECTED, IDB_DAYNIGHT, IDB_CUSTOM, false},
                     kNightMapFile, nullptr, 0);
}

void MainDialog::OnDayAndNightStyle() {
    ApplyPresetStyle(3, {IDB_DAYTIME, IDB_NIGHTTIME, IDB_DAYNIGHT_SELECTED, IDB_CUSTOM, false},
                     kDayMapFile, kNightMapFile, 1);
}

// The custom style keeps whatever the custom settings dialog stored.
void MainDialog::OnCustomStyle() {
    ShowStyle({IDB_DAYTIME, IDB_NIGHTTIME, IDB_DAYNIGHT, IDB_CUSTOM_SELECTED, true});
    settings.SetMode(4);
    settings.Save();
}

void MainDialog::ApplyPresetStyle(int mode, const StyleLook& look, const wchar_t* mainFile,
                                  const wchar_t* nightFile, int terminator) {
    ShowStyle(look);
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

void MainDialog::ShowStyle(const StyleLook& look) {
    const int controls[] = {IDC_DAYTIME_THUMB, IDC_NIGHTTIME_THUMB, IDC_DAYNIGHT_THUMB,
                            IDC_CUSTOM_THUMB};
    const int bitmaps[] = {look.daytimeBitmap, look.nighttimeBitmap, look.dayAndNightBitmap,
                           look.customBitmap};
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (size_t i = 0; i < thumbnails.size(); ++i) {
        UniqueBitmap picture(static_cast<HBITMAP>(
            LoadImageW(instance, MAKEINTRESOURCEW(bitmaps[i]), IMAGE_BITMAP, 0, 0, 0)));
        const auto previous = reinterpret_cast<HBITMAP>(
            SendDlgItemMessageW(Window(), controls[i], STM_SETIMAGE, IMAGE_BITMAP,
                                reinterpret_cast<LPARAM>(picture.get())));
        // The control gives back the picture it showed: the one it loaded from the template the
        // first time, which is now ours to release, or the one held here.
        if (previous && previous != thumbnails[i].get()) {
            DeleteObject(previous);
        }
        thumbnails[i] = std::move(picture);
    }
    EnableWindow(Item(IDC_EDIT_CUSTOM), look.editEnabled ? TRUE : FALSE);
}
