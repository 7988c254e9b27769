#pragma once
// Decides when a wallpaper update runs and controls the one worker thread that runs it, in
// the main dialog's window: the periodic timer (1), the progress poll (2) that shows the
// worker's progress in place of the "&Update Now" button, the pause while a full-screen
// application runs, and the stop on exit.
//
// The main dialog owns one, declared after its SettingsStore, and forwards to it:
//   OnInitDialog         Attach(its window, button, bar and app-bar message), later
//                        EnableUpdateButton(), StartUpdate() and ArmUpdateTimer()
//   "&Update Now" click  OnUpdateNow()
//   WM_TIMER             OnTimer(id)
//   WindowProc           WindowProc(message, wParam, lParam), then its own dispatch
//   WM_DESTROY           OnDestroy(), which returns once no worker runs; GDI+ goes after it
// Every member runs on the dialog's thread.

#include <windows.h>

#include "settings/SettingsStore.h"
#include "win/WorkerThread.h"

class UpdateScheduler {
public:
    // What the worker thread runs, given the address of the SettingsStore. The program passes
    // UpdateThreadProc.
    using WorkerBody = unsigned (*)(void* settings);

    static constexpr UINT_PTR kUpdateTimer = 1;
    static constexpr UINT_PTR kProgressTimer = 2;

    UpdateScheduler(SettingsStore& settings, WorkerBody body) noexcept
        : settings(settings), body(body) {}
    // Waits for a worker that still runs, as OnDestroy does: the settings must outlive it.
    ~UpdateScheduler();
    UpdateScheduler(const UpdateScheduler&) = delete;
    UpdateScheduler& operator=(const UpdateScheduler&) = delete;

    // The pieces of the dialog the scheduler works on.
    struct Host {
        HWND dialog;        // gets the timers and the shell's messages
        HWND updateButton;  // "&Update Now"
        HWND progressBar;   // in the button's place, shown instead of it during an update
        UINT appBarMessage; // the callback message of the shell's application-bar notices
    };

    // Takes the dialog's pieces and sets the start state: not paused, first update pending,
    // progress bar hidden, button shown. Until then, and after OnDestroy, nothing starts.
    void Attach(const Host& pieces);

    // Starts a worker unless one runs, a full-screen application runs or updates are disabled;
    // the first call that gets that far is skipped when NoBootUpdate is 1.
    void StartUpdate();
    // Enables "&Update Now" exactly when Disabled is not 1.
    void EnableUpdateButton();
    // (Re)arms the periodic timer from UpdateFreqMins as the settings hold it now.
    void ArmUpdateTimer();

    void OnUpdateNow();
    void OnTimer(UINT_PTR id);
    // Sees the dialog's messages before its dispatch: display changes, the system's resume and
    // time change, and the shell's full-screen notification.
    void WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Stops both timers, asks a running worker to stop and waits until it has ended.
    void OnDestroy();

    bool IsUpdating() const noexcept { return static_cast<bool>(workerThread); }
    bool IsPaused() const noexcept { return fullScreenPaused; }

private:
    void PeriodicTick();
    void PollProgress();
    void OnFullScreenApplication(bool opened);
    void StopWorker();
    void ShowProgressBar(bool show);

    SettingsStore& settings;
    WorkerBody body;
    Host host{};
    bool fullScreenPaused = false;
    bool firstUpdateDone = false;
    // Holds a thread exactly while a worker counts as running.
    WorkerThread workerThread;
};
