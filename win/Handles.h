#pragma once
// Owners for the Win32 handle kinds the program uses.

#include <windows.h>

#include "win/Unique.h"

struct HkeyTraits {
    using Handle = HKEY;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle key) noexcept { RegCloseKey(key); }
};
using UniqueHkey = Unique<HkeyTraits>;

// Kernel handles that are invalid as NULL (threads, events, processes).
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle handle) noexcept { CloseHandle(handle); }
};
using UniqueHandle = Unique<KernelHandleTraits>;

// File handles, which are invalid as INVALID_HANDLE_VALUE.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Handle handle) noexcept { CloseHandle(handle); }
};
using UniqueFile = Unique<FileHandleTraits>;

template <typename GdiHandle> struct GdiObjectTraits {
    using Handle = GdiHandle;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle object) noexcept { DeleteObject(object); }
};
using UniqueFont = Unique<GdiObjectTraits<HFONT>>;
using UniqueBitmap = Unique<GdiObjectTraits<HBITMAP>>;

struct ModuleTraits {
    using Handle = HMODULE;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle module) noexcept { FreeLibrary(module); }
};
using UniqueModule = Unique<ModuleTraits>;

struct LocalMemoryTraits {
    using Handle = HLOCAL;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle memory) noexcept { LocalFree(memory); }
};
using UniqueLocal = Unique<LocalMemoryTraits>;

struct WindowTraits {
    using Handle = HWND;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle window) noexcept { DestroyWindow(window); }
};
using UniqueWindow = Unique<WindowTraits>;
