#pragma once
// Runs the real "Pembrix Gloamery.exe" from a test executable in the same Wine prefix and works
// it from outside, as a user would: start it, find its windows, read and click its controls,
// type keys, look at its registry key and output folder, close it and read its exit code.
//
//   program_test::ProgramProcess program;           // starts the program in its own folder
//   const HWND main = program.WaitForMainDialog();   // "Pembrix Gloamery Settings"
//   ASSERT_TRUE(main);
//   program_test::Click(main, IDC_EDIT_CUSTOM);
//   const HWND custom = program.WaitForWindow(program_test::kCustomDialogTitle);
//   ...
//   EXPECT_EQ(program.Close(), 0u);                 // WM_CLOSE, then the exit code
//
// A program that is still running when its ProgramProcess goes (a failed test) is killed, and
// a test process that dies takes the program with it.

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

#include "ProgramOutput.h"
#include "ProgramSettings.h"
#include "TestFiles.h"
#include "Waiting.h"
#include "WindowDriver.h"
#include "win/Handles.h"

namespace program_test {

inline constexpr wchar_t kMainDialogTitle[] = L"Pembrix Gloamery Settings";
inline constexpr wchar_t kCustomDialogTitle[] = L"Pembrix Gloamery - Edit Custom Settings";
inline constexpr wchar_t kAboutBoxTitle[] = L"About Pembrix Gloamery";
// The title of the program's message boxes.
inline constexpr wchar_t kMessageBoxTitle[] = L"Pembrix Gloamery";

// The program's full Windows path and its folder, where the default maps lie.
std::wstring ProgramPath();
std::wstring ProgramFolder();

class ProgramProcess {
public:
    // Starts the program with its folder as the current directory. `arguments` is the command
    // line after the program's name ("/s" for the hidden start).
    explicit ProgramProcess(const std::wstring& arguments = L"");
    // Kills the program when it is still running.
    ~ProgramProcess();
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    // Whether the process could be created.
    bool Started() const noexcept { return static_cast<bool>(process); }
    bool Running() const;
    DWORD Id() const noexcept { return processId; }

    // A top-level window of this process with exactly this title; null when none came in time.
    HWND WaitForWindow(const std::wstring& title, Visibility visibility = Visibility::Visible,
                       std::chrono::milliseconds timeout = kWindowTimeout) const;
    HWND FindWindowTitled(const std::wstring& title,
                          Visibility visibility = Visibility::Visible) const;
    // The main dialog, once it is visible (or, with Visibility::Any, once it exists).
    HWND WaitForMainDialog(Visibility visibility = Visibility::Visible,
                           std::chrono::milliseconds timeout = kWindowTimeout) const;

    // The exit code once the process has ended; nothing when it still runs after `timeout`.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = kWindowTimeout) const;
    // Asks the main dialog to close (WM_CLOSE, the caption's close box) and waits for the exit.
    std::optional<DWORD> Close(std::chrono::milliseconds timeout = kWindowTimeout) const;
    // Ends the process at once and waits until it has gone.
    void Kill() const;

private:
    UniqueHandle job;
    UniqueHandle process;
    DWORD processId = 0;
};

} // namespace program_test
