#include "ui/MainDialog.h"

#include <shellapi.h>

#include "ui/AboutDialog.h"
#include "ui/HtmlHelp.h"
#include "ui/ProgramInfo.h"
#include "ui/ResourceIds.h"
#include "ui/Thumbnails.h"
#include "update/UpdateThreadProc.h"

namespace {

// What the settings window says about the maps of the last update: nothing when they could be
// used.
std::wstring MapStatusLine(const MapStatus& status) {
    const wchar_t* what = L"";
    switch (status.problem) {
    case MapProblem::none:
        return {};
    case MapProblem::notFound:
        what = L"not found";
        break;
    case MapProblem::unreadable:
        what = L"not a picture this program can read";
        break;
    case MapProblem::tooLarge:
        what = L"too large for memory";
        break;
    }
    const std::wstring name = status.file.substr(status.file.find_last_of(L"\\/") + 1);
    return L"Cannot use " + (name.empty() ? L"the map" : L"\"" + name + L"\"") + L": " + what;
}

} // namespace

MainDialog::MainDialog(HWND owner, std::wstring commandLine)
    : Dialog(IDD_MAIN, owner), commandLine(std::move(commandLine)),
      icon(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP))),
      scheduler(settings, &UpdateThreadProc) {}

std::span<const CommandRoute> MainDialog::Commands() const {
    static constexpr CommandRoute routes[] = {
        {IDC_UPDATE_NOW, BN_CLICKED, CommandHandler<&MainDialog::OnUpdateNow>},
        {IDC_DAYTIME_THUMB, STN_CLICKED, CommandHandler<&MainDialog::OnDaytimeStyle>},
        {IDC_NIGHTTIME_THUMB, STN_CLICKED, CommandHandler<&MainDialog::OnNighttimeStyle>},
        {IDC_DAYNIGHT_THUMB, STN_CLICKED, CommandHandler<&MainDialog::OnDayAndNightStyle>},
        {IDC_CUSTOM_THUMB, STN_CLICKED, CommandHandler<&MainDialog::OnCustomStyle>},
        {IDC_EDIT_CUSTOM, BN_CLICKED, CommandHandler<&MainDialog::OnEditCustomSettings>},
    };
    return routes;
}

std::span<const MessageRoute> MainDialog::Messages() const {
    static constexpr MessageRoute routes[] = {
        {WM_SYSCOMMAND, MessageHandler<&MainDialog::OnSysCommand>},
        {WM_PAINT, MessageHandler<&MainDialog::OnPaint>},
        {WM_QUERYDRAGICON, MessageHandler<&MainDialog::OnQueryDragIcon>},
        {WM_DESTROY, MessageHandler<&MainDialog::OnDestroy>},
        {WM_TIMER, MessageHandler<&MainDialog::OnTimer>},
        {WM_DPICHANGED, MessageHandler<&MainDialog::OnDpiChanged>},
        {WM_RESCALE_THUMBNAILS, MessageHandler<&MainDialog::OnRescaleThumbnails>},
    };
    return routes;
}

void MainDialog::DoDataExchange(DataExchange& exchange) {
    exchange.Text(IDC_VERSION, versionText);
}

BOOL MainDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    versionText = std::wstring(L"Version ") + kProgramVersion;
    scheduler.Attach({.dialog = Window(),
                      .updateButton = Item(IDC_UPDATE_NOW),
                      .progressBar = Item(IDC_PROGRESS),
                      .appBarMessage = WM_APPBAR_CALLBACK});
    accelerators = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ACCELERATORS));
    SignOnForFullScreenNotices();
    AddAboutToSystemMenu();
    SendMessageW(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

    gdiplus.emplace();
    if (!gdiplus->Started()) {
        MessageBoxW(Window(), L"Failed to initialize GDI+", kProgramTitle, MB_OK | MB_ICONHAND);
        // The rest of the start still runs; the dialog closes once it has.
        EndDialog(0);
    }

    // Save writes the values that a first run lacks; the second load reads them back as stored.
    settings.Load();
    settings.Save();
    settings.Load();
    scheduler.EnableUpdateButton();
    thumbnailDpi = WindowDpi(Window());
    switch (settings.GetMode()) {
    case 2:
        OnNighttimeStyle();
        break;
    case 3:
        OnDayAndNightStyle();
        break;
    case 4:
        OnCustomStyle();
        break;
    default:
        OnDaytimeStyle();
        break;
    }
    if (commandLine == L"/s") {
        HideForSilentStart();
    }
    WriteControls();
    scheduler.StartUpdate();
    scheduler.ArmUpdateTimer();
    return TRUE;
}

// The shell tells application bars when a full-screen program opens or closes; updates pause
// meanwhile. The membership ends with the window.
void MainDialog::SignOnForFullScreenNotices() {
    APPBARDATA appBar{};
    appBar.cbSize = sizeof appBar;
    appBar.hWnd = Window();
    appBar.uCallbackMessage = WM_APPBAR_CALLBACK;
    SHAppBarMessage(ABM_NEW, &appBar);
}

void MainDialog::AddAboutToSystemMenu() {
    HMENU systemMenu = GetSystemMenu(Window(), FALSE);
    if (!systemMenu) {
        return;
    }
    wchar_t text[128] = {};
    if (LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUTBOX, text, ARRAYSIZE(text)) <= 0) {
        return;
    }
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, text);
}

// Off the taskbar and out of sight for good; the timers and notifications go on working.
void MainDialog::HideForSilentStart() {
    const LONG_PTR exStyle = GetWindowLongPtrW(Window(), GWL_EXSTYLE);
    SetWindowLongPtrW(Window(), GWL_EXSTYLE, (exStyle & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);
    KeepHidden();
    SetWindowPos(Window(), HWND_TOP, 0, 0, 0, 0, SWP_HIDEWINDOW);
}

bool MainDialog::PreTranslateMessage(MSG& message) {
    if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST && accelerators &&
        TranslateAcceleratorW(Window(), accelerators, &message)) {
        return true;
    }
    return Dialog::PreTranslateMessage(message);
}

MessageResult MainDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    scheduler.WindowProc(message, wParam, lParam);
    return Dialog::WindowProc(message, wParam, lParam);
}

void MainDialog::WinHelpW(DWORD_PTR, UINT) {
    ShowHelpContents(Window());
}

bool MainDialog::OnSysCommand(WPARAM command, LPARAM) {
    if ((command & 0xFFF0) != IDM_ABOUTBOX) {
        return false;
    }
    AboutDialog about(Window());
    about.DoModal();
    return true;
}

// A minimised dialog shows its icon in the middle of what is left of it.
bool MainDialog::OnPaint() {
    if (!IsIconic(Window())) {
        return false;
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Window(), &paint);
    SendMessageW(Window(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(Window(), &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, icon);
    EndPaint(Window(), &paint);
    return true;
}

LRESULT MainDialog::OnQueryDragIcon() {
    return reinterpret_cast<LRESULT>(icon);
}

void MainDialog::OnUpdateNow() {
    scheduler.OnUpdateNow();
}

void MainDialog::OnTimer(WPARAM id) {
    scheduler.OnTimer(id);
    ShowMapStatus();
}

// The worker writes the status while it runs; the timers look at it.
void MainDialog::ShowMapStatus() {
    MapStatus status = settings.GetMapStatus();
    if (status != shownMapStatus) {
        SetDlgItemTextW(Window(), IDC_MAP_STATUS, MapStatusLine(status).c_str());
        shownMapStatus = std::move(status);
    }
}

// The worker must have ended before GDI+ goes, and both before the settings it uses.
void MainDialog::OnDestroy() {
    scheduler.OnDestroy();
    APPBARDATA appBar{};
    appBar.cbSize = sizeof appBar;
    appBar.hWnd = Window();
    SHAppBarMessage(ABM_REMOVE, &appBar);
    gdiplus.reset();
}
