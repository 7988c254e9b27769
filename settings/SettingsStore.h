#pragma once
// The one record of the user's settings, shared by the dialog thread and the update worker,
// with the worker's progress, the request to stop it and what the last update made of its maps.
// Every field is read and written under one lock; Load and Save exchange the eight settings
// with the registry.

#include <string>
#include <utility>

#include "settings/MapStatus.h"
#include "win/CriticalSection.h"

class SettingsStore {
public:
    SettingsStore() = default;
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    void GetSrcImgPath(std::wstring& path) const { path = Read(srcImgPath); }
    void SetSrcImgPath(std::wstring path) { Write(srcImgPath, std::move(path)); }
    void GetSrc2ImgPath(std::wstring& path) const { path = Read(src2ImgPath); }
    void SetSrc2ImgPath(std::wstring path) { Write(src2ImgPath, std::move(path)); }

    int GetNoonPixel() const { return Read(noonPixel); }
    void SetNoonPixel(int column) { Write(noonPixel, column); }
    int GetUpdateFreqMins() const { return Read(updateFreqMins); }
    void SetUpdateFreqMins(int minutes) { Write(updateFreqMins, minutes); }
    int GetDisabled() const { return Read(disabled); }
    void SetDisabled(int flag) { Write(disabled, flag); }
    int GetNoBootUpdate() const { return Read(noBootUpdate); }
    void SetNoBootUpdate(int flag) { Write(noBootUpdate, flag); }
    int GetTerminator() const { return Read(terminator); }
    void SetTerminator(int flag) { Write(terminator, flag); }
    int GetMode() const { return Read(mode); }
    void SetMode(int value) { Write(mode, value); }

    int GetProgress() const { return Read(progress); }
    void SetProgress(int percent) { Write(progress, percent); }
    int GetCancel() const { return Read(cancel); }
    void SetCancel(int flag) { Write(cancel, flag); }
    // Written by the worker at the end of every update that got as far as its maps.
    MapStatus GetMapStatus() const { return Read(mapStatus); }
    void SetMapStatus(MapStatus status) { Write(mapStatus, std::move(status)); }

    // Reads the settings from HKCU\Software\Pembrix\Pembrix Gloamery; a missing key or value,
    // or one of the wrong type or size, leaves its field as it was.
    void Load();
    // Writes the settings there, creating the key when it is missing.
    void Save();

private:
    // Every field is copied in or out under the one lock.
    template <typename T> T Read(const T& field) const {
        ScopedLock hold(lock);
        return field;
    }
    template <typename T> void Write(T& field, T value) {
        ScopedLock hold(lock);
        field = std::move(value);
    }

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
    MapStatus mapStatus;
};
