// A dialog's routes, its answers to the dialog manager, its accelerators, where its help goes,
// its modal run over its owner, how it stays hidden and how it exchanges data with its controls.

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "TestDialog.h"
#include "win/WindowText.h"

namespace {

using namespace std::literals;

// Other codes of a routed control run nothing; an accelerator's code 1 is a click only without
// a control. WM_QUERYDRAGICON answers by the procedure's return value, any other message
// through DWLP_MSGRESULT; a handler that declines leaves the message to the default processing.
// Kept hidden from initialisation on, the dialog stays hidden however it is shown (a template
// with WS_VISIBLE is shown by the dialog manager after initialisation).
// A dialog that it owns disables it while it runs and enables it again afterwards, but only when
// it was enabled before. A missing template is a failure (-1); an end asked for during
// initialisation comes before any step. Help that the owned dialog does not route itself goes
// to its help request, and from there to the dialog that owns it.
TEST(Dialog, RoutesAnswersStaysHiddenAndRunsModallyOverItsOwner) {
    TestDialog dialog;
    dialog.onInit = [&] { dialog.KeepHidden(); };
    const auto sendAll = [&] {
        const HWND window = dialog.Window(), button = dialog.Item(IDC_TEST_BUTTON);
        for (const int code : {BN_SETFOCUS, 1, BN_CLICKED}) {
            SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_TEST_BUTTON, code),
                         reinterpret_cast<LPARAM>(button));
        }
        SetDlgItemTextW(window, IDC_TEST_TEXT, L"changed");
        EXPECT_EQ(SendMessageW(window, WM_QUERYDRAGICON, 0, 0), 0x1234);
        EXPECT_TRUE(SetWindowTextW(window, L"Allowed"));
        EXPECT_FALSE(SetWindowTextW(window, L"Blocked"));
        PostMessageW(dialog.Item(IDC_TEST_TEXT), WM_KEYDOWN, VK_F5, 1); // clicks the button
        ShowWindow(window, SW_SHOWNORMAL);
        EXPECT_FALSE(IsWindowVisible(window));
    };
    const auto runOwnedDialogs = [&] {
        TestDialog owned(dialog.Window());
        owned.Run({[&] {
            EXPECT_FALSE(IsWindowEnabled(dialog.Window()));
            SendMessageW(owned.Item(ID_HELP), BM_CLICK, 0, 0);
        }});
        EXPECT_TRUE(IsWindowEnabled(dialog.Window()));
        EXPECT_EQ(owned.log, L"help request ");
        EXPECT_EQ(TestDialog(dialog.Window(), 0x7FFF).Run({}), -1);
        EnableWindow(dialog.Window(), FALSE);
        owned.onInit = [&] { owned.EndDialog(1234); };
        EXPECT_EQ(owned.Run({[] { ADD_FAILURE() << "a step ran after the end"; }}), 1234);
        EXPECT_FALSE(IsWindowEnabled(dialog.Window()));
    };
    EXPECT_EQ(dialog.Run({sendAll, runOwnedDialogs}), TestDialog::kDone);
    EXPECT_EQ(dialog.log, L"click change click help request ");

    // A quit request ends the dialog's loop and stays for the loop outside it.
    dialog.Run({[] { PostQuitMessage(7); }});
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && quit.wParam == 7);
}

// Members go into the controls, 4294967295 included, and come back on OK; only 1 checks the box.
// The first field without a valid number stops the exchange: the user is told, the field gets
// the focus with its text selected, its member and those after it keep their values, and the
// dialog stays open.
TEST(Dialog, ExchangesDataWithTheControlsInOrderUpToTheFirstBadNumber) {
    SetMessageTitle(L"Exchange Test");
    TestDialog dialog;
    dialog.checked = 2;
    dialog.first = 4294967295u;
    const auto badOk = [&] {
        EXPECT_FALSE(IsDlgButtonChecked(dialog.Window(), IDC_TEST_CHECK));
        EXPECT_EQ(ReadWindowText(dialog.Item(IDC_TEST_FIRST_NUMBER)), L"4294967295");
        SetDlgItemTextW(dialog.Window(), IDC_TEST_TEXT, L"night.png");
        CheckDlgButton(dialog.Window(), IDC_TEST_CHECK, BST_CHECKED);
        SetDlgItemTextW(dialog.Window(), IDC_TEST_FIRST_NUMBER, L"4294967296");
        SetDlgItemTextW(dialog.Window(), IDC_TEST_SECOND_NUMBER, L" 4294967295\t");
        PostMessageW(dialog.Window(), WM_COMMAND, IDOK, 0);
    };
    // Inside the message box's own loop.
    const auto answerBox = [&] {
        const HWND box = GetActiveWindow();
        EXPECT_EQ(ReadWindowText(box) + L": " + ReadWindowText(GetDlgItem(box, 0xFFFF)),
                  L"Exchange Test: Please enter a positive whole number.");
        EndDialog(box, IDOK);
    };
    const auto fixedOk = [&] {
        const HWND first = dialog.Item(IDC_TEST_FIRST_NUMBER);
        EXPECT_EQ(
            std::tuple(GetFocus(), SendMessageW(first, EM_GETSEL, 0, 0), dialog.Members()),
            std::tuple(first, MAKELRESULT(0, 10), std::tuple(L"night.png"s, 1, 4294967295u, 0u)));
        SetWindowTextW(first, L"1024");
        SendMessageW(dialog.Window(), WM_COMMAND, IDOK, 0);
    };
    EXPECT_EQ(dialog.Run({badOk, answerBox, fixedOk}), IDOK);
    EXPECT_EQ(dialog.Members(), std::tuple(L"night.png"s, 1, 1024u, 4294967295u));
}

} // namespace
