#pragma once
// Runs the real "Pembrix Gloamery.exe" in the same Wine prefix and works it from outside as a
// user would: its windows and controls, its registry key and its output folder.
//
// Reads are sent with a time limit. Clicks and keys are posted or typed, never sent: a handler
// that opens a modal dialog does not return until that dialog closes, and the test has to work
// that dialog meanwhile.

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <tuple>

#include "win/Handles.h"

#include "tests/imaging/ImagingTestSupport.h"

namespace program_test {

using namespace std::chrono_literals;

inline constexpr wchar_t kMainDialogTitle[] = L"Pembrix Gloamery Settings";
inline constexpr wchar_t kCustomDialogTitle[] = L"Pembrix Gloamery - Edit Custom Settings";
inline constexpr wchar_t kCurrentImageFile[] = L"Pembrix Gloamery Current Image.bmp";
inline constexpr wchar_t kTerminatorImageFile[] = L"Pembrix Gloamery Terminator Image.bmp";

// Checks `condition` every 20 ms. The limit is generous: Wine on a busy machine is slow.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 60s);

// The folder of the program, where the default maps lie.
std::wstring ProgramFolder();

class ProgramProcess {
public:
    // Starts the program in its folder; `arguments` follow its name on the command line. The
    // program is killed when this goes, or when the test process dies, while it still runs.
    explicit ProgramProcess(const std::wstring& arguments = L"");
    ~ProgramProcess();
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    bool Started() const noexcept { return static_cast<bool>(process); }
    bool Running() const;
    // A top-level window of this process with exactly this title; null when none came in time.
    HWND WaitForWindow(const std::wstring& title, bool visibleOnly = true) const;
    std::optional<DWORD> WaitForExit() const;
    // Posts WM_CLOSE to the main dialog, as its close box does, and waits for the exit code.
    std::optional<DWORD> Close() const;

private:
    UniqueHandle job;
    UniqueHandle process;
    DWORD processId = 0;
};

// Windows and controls.
std::wstring TextOf(HWND window); // empty when the window does not answer
inline std::wstring ControlText(HWND dialog, int id) {
    return TextOf(GetDlgItem(dialog, id));
}
inline bool IsControlEnabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id));
}
inline bool IsControlVisible(HWND dialog, int id) {
    return IsWindowVisible(GetDlgItem(dialog, id));
}
bool IsChecked(HWND dialog, int id);
bool SetControlText(HWND dialog, int id, const std::wstring& text);
// A visible dialog box (a message box, the open-file dialog) that `owner` owns, or null.
HWND FindOwnedDialog(HWND owner);
HWND WaitForOwnedDialog(HWND owner);
bool WaitUntilGone(HWND window);
// The texts of a message box's static controls.
std::wstring MessageBoxText(HWND box);
// Clicks control `id` without waiting for what the click starts. False when a user's click
// could not reach it: the control is missing, hidden or disabled, or its dialog is disabled.
bool Click(HWND dialog, int id);
// Brings `window` to the front and types the keys as real input: pressed in order, released
// in reverse, so that {VK_MENU, 'C'} is Alt+C.
bool PressKeys(HWND window, std::initializer_list<WORD> keys);
// Waits until the window's thread has finished the handler it was running.
bool FinishCurrentHandler(HWND window);
// The open-file dialog: its file-name box, and choosing a file or cancelling; both wait until
// the dialog has gone.
std::wstring FileDialogFileName(HWND fileDialog);
bool ChooseFileInDialog(HWND fileDialog, const std::wstring& path);
bool CancelDialog(HWND dialog);

// The program's registry key, HKCU\Software\Pembrix\Pembrix Gloamery.
struct StoredSettings {
    std::optional<std::wstring> srcImgPath = {};
    std::optional<std::wstring> src2ImgPath = {};
    std::optional<DWORD> noonUCTPixel = {};
    std::optional<DWORD> updateFreqMins = {};
    std::optional<DWORD> disabled = {};
    std::optional<DWORD> noBootUpdate = {};
    std::optional<DWORD> terminator = {};
    std::optional<DWORD> mode = {};

    bool operator==(const StoredSettings&) const = default;
};
inline void PrintTo(const StoredSettings& s, std::ostream* out) {
    *out << testing::PrintToString(std::tie(s.srcImgPath, s.src2ImgPath, s.noonUCTPixel,
                                            s.updateFreqMins, s.disabled, s.noBootUpdate,
                                            s.terminator, s.mode));
}
void DeleteProgramSettings();
// Writes the values that are there and leaves the others as they are.
void WriteSettings(const StoredSettings& settings);
StoredSettings ReadStoredSettings();

// The program's output folder, in the user's local application data.
std::wstring OutputFile(const wchar_t* name);
void DeleteOutputFiles();

// Writes a 24-bit BMP of this size; true when the file is there.
inline bool WriteTestBitmap(const std::wstring& path, int width, int height) {
    const auto rowBytes = (static_cast<std::uint32_t>(width) * 3 + 3) / 4 * 4;
    WriteFileBytes(path, BmpBytes(width, height, rowBytes * static_cast<std::uint32_t>(height)));
    return FileExists(path);
}

} // namespace program_test
