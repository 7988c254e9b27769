#pragma once
// Waits on a thread of its own for a message box with the given title, notes the texts it
// shows and presses its OK button, so that a test can run code that asks the user.

#include <windows.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "win/WindowText.h"

class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(std::wstring title)
        : title(std::move(title)), watcher([this] { Watch(); }) {}
    ~MessageBoxWatcher() {
        stop = true;
        if (watcher.joinable()) {
            watcher.join();
        }
    }
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    // The texts of the boxes answered so far, one entry per box.
    std::vector<std::wstring> Answered() const {
        std::lock_guard hold(lock);
        return answered;
    }

private:
    void Watch() {
        while (!stop) {
            // Visible means its initialisation, which fills in the texts, is over.
            const HWND box = FindWindowW(L"#32770", title.c_str());
            if (box && IsWindowVisible(box)) {
                // Noted before the box is answered, so that the note is there by the time the
                // code that asked has the answer.
                std::wstring text = TextOf(box);
                {
                    std::lock_guard hold(lock);
                    answered.push_back(std::move(text));
                }
                PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                // Waits for the box to go, so that it is counted once.
                while (IsWindow(box) && !stop) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    // The box's message: the text of its static controls.
    static std::wstring TextOf(HWND box) {
        std::wstring text;
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t className[32] = {};
            GetClassNameW(child, className, 32);
            if (lstrcmpiW(className, L"Static") == 0) {
                text += ReadWindowText(child);
            }
        }
        return text;
    }

    std::wstring title;
    mutable std::mutex lock;
    std::vector<std::wstring> answered;
    std::atomic<bool> stop = false;
    std::thread watcher;
};
