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

// Files, which are invalid as INVALID_HANDLE_VALUE.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Handle handle) noexcept { CloseHandle(handle); }
};
using UniqueFile = Unique<FileHandleTraits>;

// COM interfaces, released.
template <typename Interface> struct ComTraits {
    using Handle = Interface*;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle object) noexcept { object->Release(); }
};
template <typename Interface> using UniqueCom = Unique<ComTraits<Interface>>;

template <typename GdiHandle> struct GdiObjectTraits {
    using Handle = GdiHandle;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle object) noexcept { DeleteObject(object); }
};
using UniqueFont = Unique<GdiObjectTraits<HFONT>>;
using UniqueBitmap = Unique<GdiObjectTraits<HBITMAP>>;

// Memory device contexts (CreateCompatibleDC).
struct MemoryDcTraits {
    using Handle = HDC;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle dc) noexcept { DeleteDC(dc); }
};
using UniqueMemoryDc = Unique<MemoryDcTraits>;

struct WindowTraits {
    using Handle = HWND;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle window) noexcept { DestroyWindow(window); }
};
using UniqueWindow = Unique<WindowTraits>;
