#include "ui/CustomSettingsDialog.h"

#include <commdlg.h>

#include <algorithm>
#include <array>
#include <optional>

#include "render/GdiplusBitmapFile.h"
#include "ui/HtmlHelp.h"
#include "ui/Hyperlink.h"
#include "ui/ProgramInfo.h"
#include "ui/ResourceIds.h"

namespace {

// Pairs of description and pattern, each ended by a null, the list ended by one more.
constexpr wchar_t kImageFilter[] = L"Image Files (*.bmp;*.jpg;*.gif;*.png)\0"
                                   L"*.bmp;*.jpg;*.gif;*.png\0"
                                   L"All Files (*.*)\0"
                                   L"*.*\0";

// Paths are at most MAX_PATH characters with their null everywhere in the program, so the file
// dialog gets the same room: a longer choice fails the dialog instead of being cut short.
using PathBuffer = std::array<wchar_t, MAX_PATH>;

// The dialog changes the process's current directory to the chosen file's folder, whatever
// its flags say. The preset styles look for the default maps in the current directory, so it
// is put back once the dialog is gone.
class CurrentDirectoryKeeper {
public:
    CurrentDirectoryKeeper() {
        const DWORD length = GetCurrentDirectoryW(0, nullptr);
        if (length == 0) {
            return;
        }
        std::wstring directory(length, L'\0');
        const DWORD copied = GetCurrentDirectoryW(length, directory.data());
        if (copied > 0 && copied < length) {
            directory.resize(copied);
            saved = std::move(directory);
        }
    }
    ~CurrentDirectoryKeeper() {
        if (saved) {
            SetCurrentDirectoryW(saved->c_str());
        }
    }
    CurrentDirectoryKeeper(const CurrentDirectoryKeeper&) = delete;
    CurrentDirectoryKeeper& operator=(const CurrentDirectoryKeeper&) = delete;

private:
    std::optional<std::wstring> saved;
};

// Asks for an image file, starting from `initialPath`. Returns the chosen file's full path,
// or nothing when the user cancelled or the dialog failed. The file need not exist.
std::optional<std::wstring> AskForImageFile(HWND owner, const std::wstring& initialPath) {
    PathBuffer file{};
    // Cut to the buffer with room for the null; the rest of the buffer is already zero.
    const size_t kept = std::min(initialPath.size(), file.size() - 1);
    std::copy_n(initialPath.begin(), kept, file.begin());

    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFilter = kImageFilter;
    request.nFilterIndex = 1;
    request.lpstrFile = file.data();
    request.nMaxFile = static_cast<DWORD>(file.size());
    request.Flags = OFN_HIDEREADONLY;

    const CurrentDirectoryKeeper keepDirectory;
    if (!GetOpenFileNameW(&request)) {
        return std::nullopt;
    }
    file.back() = L'\0';
    return std::wstring(file.data());
}

// The width of the picture in the file, when GDI+ can read it.
std::optional<UINT> ImageWidth(const std::wstring& path) {
    const UniqueGdipBitmap image = LoadBitmapFromFile(path);
    if (!image) {
        return std::nullopt;
    }
    UINT width = 0;
    if (Gdiplus::DllExports::GdipGetImageWidth(image.get(), &width) != Gdiplus::Ok) {
        return std::nullopt;
    }
    return width;
}

} // namespace

CustomSettingsDialog::CustomSettingsDialog(HWND owner) noexcept
    : Dialog(IDD_CUSTOM_SETTINGS, owner) {}

std::span<const CommandRoute> CustomSettingsDialog::Commands() const {
    static constexpr CommandRoute routes[] = {
        {IDC_BROWSE_MAIN, BN_CLICKED, CommandHandler<&CustomSettingsDialog::OnBrowseMainImage>},
        {IDC_BROWSE_NIGHT, BN_CLICKED, CommandHandler<&CustomSettingsDialog::OnBrowseNightImage>},
        {ID_HELP, BN_CLICKED, CommandHandler<&CustomSettingsDialog::OnHelpTopic>},
        {IDC_TERMINATOR, BN_CLICKED, CommandHandler<&CustomSettingsDialog::OnTerminatorToggled>},
    };
    return routes;
}

// The night edit and its "..." button need no entries: the day-and-night rule reaches them as
// the dialog's controls IDC_NIGHT_IMAGE and IDC_BROWSE_NIGHT.
void CustomSettingsDialog::DoDataExchange(DataExchange& exchange) {
    exchange.Check(IDC_DISABLED, disabled);
    exchange.Text(IDC_MAIN_IMAGE, mainImagePath);
    exchange.Text(IDC_NIGHT_IMAGE, nightImagePath);
    exchange.Check(IDC_NO_BOOT_UPDATE, skipFirstUpdate);
    exchange.Check(IDC_TERMINATOR, dayAndNight);
    exchange.Number(IDC_UPDATE_FREQ, updateFreqMins);
    exchange.Number(IDC_NOON_PIXEL, noonPixel);
}

BOOL CustomSettingsDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    const HWND link = Item(IDC_MORE_IMAGES_LINK);
    MakeHyperlink(link);
    // The link shows, and opens, the program's one address of the page of more images.
    SetWindowTextW(link, kMoreImagesAddress);
    OnTerminatorToggled();
    return TRUE;
}

void CustomSettingsDialog::OnTerminatorToggled() {
    // A bad number comes after the check box in the exchange, so the box is read either way.
    ReadControls();
    const BOOL nightImageUsed = dayAndNight == 1;
    EnableWindow(Item(IDC_NIGHT_IMAGE), nightImageUsed);
    EnableWindow(Item(IDC_BROWSE_NIGHT), nightImageUsed);
}

void CustomSettingsDialog::OnBrowseMainImage() {
    // Takes a typed path as the file dialog's starting point. A bad number gets its message and
    // ends the reading at its field, after the paths; a chosen file then puts the last good
    // numbers back.
    ReadControls();
    const std::optional<std::wstring> chosen = AskForImageFile(Window(), mainImagePath);
    if (!chosen) {
        return;
    }
    mainImagePath = *chosen;
    // Noon at 12:00 UTC defaults to the middle column of the main image.
    if (const std::optional<UINT> width = ImageWidth(mainImagePath)) {
        noonPixel = *width / 2;
    }
    WriteControls();
}

void CustomSettingsDialog::OnBrowseNightImage() {
    ReadControls();
    const std::optional<std::wstring> chosen = AskForImageFile(Window(), nightImagePath);
    if (!chosen) {
        return;
    }
    nightImagePath = *chosen;
    WriteControls();
}

void CustomSettingsDialog::OnHelpTopic() {
    ShowHelpTopic(Window(), kCustomSettingsHelpTopic);
}
