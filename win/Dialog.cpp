#include "win/Dialog.h"

#include "win/CommandIds.h"

namespace {

// Messages whose answer the dialog manager takes from the procedure's return value; for every
// other message it reads DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return true;
    default:
        return false;
    }
}

INT_PTR AnswerDialogManager(HWND window, UINT message, const MessageResult& result) {
    if (!result) {
        return FALSE;
    }
    if (AnswersDirectly(message)) {
        return static_cast<INT_PTR>(*result);
    }
    SetWindowLongPtrW(window, DWLP_MSGRESULT, *result);
    return TRUE;
}

} // namespace

Dialog::~Dialog() {
    if (window) {
        DestroyWindow(window);
    }
}

INT_PTR CALLBACK Dialog::DialogProc(HWND window, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->window = window;
    } else {
        // Null for the few messages (WM_SETFONT) that come before WM_INITDIALOG.
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
    }
    if (!self) {
        return FALSE;
    }
    if (message == WM_WINDOWPOSCHANGING && self->keepHidden) {
        auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
        if (position->flags & SWP_SHOWWINDOW) {
            position->flags = (position->flags & ~SWP_SHOWWINDOW) | SWP_NOACTIVATE;
        }
    }
    const MessageResult result = self->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        self->window = nullptr;
        return FALSE;
    }
    return AnswerDialogManager(window, message, result);
}

MessageResult Dialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        return OnInitDialog();
    }
    if (message == WM_COMMAND) {
        // A command without a control window comes from a menu or an accelerator, whose codes
        // (0 and 1) both mean "run the command".
        const WORD code = lParam ? HIWORD(wParam) : 0;
        return RouteCommand(LOWORD(wParam), code) ? MessageResult(0) : std::nullopt;
    }
    for (const MessageRoute& route : Messages()) {
        if (route.message == message) {
            return route.handler(*this, wParam, lParam);
        }
    }
    return std::nullopt;
}

bool Dialog::RouteCommand(WORD id, WORD code) {
    for (const CommandRoute& route : Commands()) {
        if (static_cast<WORD>(route.id) == id && static_cast<WORD>(route.code) == code) {
            route.handler(*this);
            return true;
        }
    }
    if (code != BN_CLICKED) {
        return false;
    }
    switch (id) {
    case IDOK:
        OnOK();
        return true;
    case IDCANCEL:
        OnCancel();
        return true;
    case ID_HELP:
        WinHelpW(0, HELP_CONTEXT);
        return true;
    default:
        return false;
    }
}

BOOL Dialog::OnInitDialog() {
    WriteControls();
    return TRUE;
}

void Dialog::DoDataExchange(DataExchange&) {}

bool Dialog::ReadControls() {
    DataExchange exchange(window, ExchangeDirection::FromControls);
    DoDataExchange(exchange);
    return !exchange.Failed();
}

void Dialog::WriteControls() {
    DataExchange exchange(window, ExchangeDirection::ToControls);
    DoDataExchange(exchange);
}

void Dialog::OnOK() {
    if (ReadControls()) {
        EndDialog(IDOK);
    }
}

void Dialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void Dialog::WinHelpW(DWORD_PTR data, UINT command) {
    if (!window) {
        return;
    }
    if (Dialog* ownerDialog = FromWindow(GetWindow(window, GW_OWNER))) {
        ownerDialog->WinHelpW(data, command);
    }
}

Dialog* Dialog::FromWindow(HWND window) noexcept {
    if (!window) {
        return nullptr;
    }
    const auto procedure = reinterpret_cast<DLGPROC>(GetWindowLongPtrW(window, DWLP_DLGPROC));
    if (procedure != &Dialog::DialogProc) {
        return nullptr;
    }
    return reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
}
