#pragma once
// The one record of the user's settings, shared by the dialog thread and the update worker,
// with the worker's progress and the request to stop it. Every field is read and written
// under one lock; Load and Save exchange the eight settings with the registry.

#include <string>

#include "win/CriticalSection.h"

class SettingsStore {
public:
    SettingsStore() = default;
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    void GetSrcImgPath(std::wstring& path) const;
    void SetSrcImgPath(std::wstring path);
    void GetSrc2ImgPath(std::wstring& path) const;
    void SetSrc2ImgPath(std::wstring path);

    int GetNoonPixel() const;
    void SetNoonPixel(int column);
    int GetUpdateFreqMins() const;
    void SetUpdateFreqMins(int minutes);
    int GetDisabled() const;
    void SetDisabled(int flag);
    int GetNoBootUpdate() const;
    void SetNoBootUpdate(int flag);
    int GetTerminator() const;
    void SetTerminator(int flag);
    int GetMode() const;
    void SetMode(int mode);

    int GetProgress() const;
    void SetProgress(int percent);
    int GetCancel() const;
    void SetCancel(int flag);

    // Reads the settings from HKCU\Software\Pembrix\Pembrix Gloamery; a missing key or value,
    // or one of the wrong type or size, leaves its field as it was.
    void Load();
    // Writes the settings there, creating the key when it is missing.
    void Save();

private:
    mutable CriticalSection lock;
    std::wstring srcImgPath;
    std::wstring src2ImgPath;
    int noonPixel = 0;
    int updateFreqMins = 15;
    int disabled = 0;
    int noBootUpdate = 0;
    int terminator = 0;
    int mode = 1;
    int progress = 0;
    int cancel = 0;
};
