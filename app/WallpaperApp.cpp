// Start-up: an invisible owner window, the settings dialog run modally under it, and the end
// of the process when the dialog closes. There is no message loop besides the dialog's.

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "ui/MainDialog.h"
#include "ui/ProgramInfo.h"
#include "win/DataExchange.h"
#include "win/Handles.h"

namespace {

constexpr wchar_t kOwnerClass[] = L"PembrixGloameryOwner";

// The dialog's owner. Never shown: an owned window gets a taskbar button only through
// WS_EX_APPWINDOW, which the dialog's template carries and the hidden start removes.
UniqueWindow CreateOwnerWindow(HINSTANCE instance) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kOwnerClass;
    RegisterClassW(&windowClass);
    return UniqueWindow(CreateWindowExW(0, kOwnerClass, L"", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                                        nullptr));
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    // The shell opens web links through COM objects, which want an apartment on this thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    // The framework's own message boxes (a field without a valid number) carry the program's name.
    SetMessageTitle(kProgramTitle);

    UniqueWindow owner = CreateOwnerWindow(instance);
    if (!owner) {
        return 0;
    }
    {
        MainDialog dialog(owner.get(), commandLine ? commandLine : L"");
        dialog.DoModal();
    }
    if (!IsWindow(owner.get())) {
        owner.release();
    }
    owner.reset();
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return 0;
}
