// Member values into the controls and back, in their fixed order, with a field whose number
// cannot be read.

#include <gtest/gtest.h>

#include <string>

#include "ScriptedDialog.h"
#include "TestDialogIds.h"
#include "ui/ProgramInfo.h"
#include "win/WindowText.h"

namespace {

// While it lives, answers every message box of this thread titled kProgramTitle from within the
// box's own modal loop, counting the boxes and those that show the bad-number message.
class BoxAnswerer {
public:
    BoxAnswerer() {
        answered = badNumber = 0;
        SetMessageTitle(kProgramTitle);
    }
    ~BoxAnswerer() { KillTimer(nullptr, timer); }
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    static inline int answered = 0;
    static inline int badNumber = 0;

private:
    static void CALLBACK Answer(HWND, UINT, UINT_PTR, DWORD) {
        const HWND box = FindWindowW(L"#32770", kProgramTitle);
        if (box && IsWindowVisible(box) &&
            GetWindowThreadProcessId(box, nullptr) == GetCurrentThreadId()) {
            ++answered;
            badNumber += FindWindowExW(box, nullptr, L"Static", kBadNumberMessage) != nullptr;
            // Posted messages come before the next timer message: the box is gone by then.
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    }

    UINT_PTR timer = SetTimer(nullptr, 0, 10, &Answer);
};

class BoundDialog : public ScriptedDialog {
public:
    BoundDialog() : ScriptedDialog(IDD_TEST_CONTROLS) {}

    std::wstring text;
    int checked = 0;
    std::uint32_t first = 0;
    std::uint32_t second = 0;

    std::wstring Get(int id) const { return ReadWindowText(Item(id)); }
    void Set(int id, const wchar_t* value) const { SetWindowTextW(Item(id), value); }

protected:
    void DoDataExchange(DataExchange& exchange) override {
        exchange.Text(IDC_TEST_TEXT, text);
        exchange.Check(IDC_TEST_CHECK, checked);
        exchange.Number(IDC_TEST_FIRST_NUMBER, first);
        exchange.Number(IDC_TEST_SECOND_NUMBER, second);
    }
};

TEST(DataExchange, MovesMembersIntoControlsAndBack) {
    BoundDialog dialog;
    dialog.text = L"C:\\Maps\\day.jpg";
    dialog.checked = 1;
    dialog.first = 4294967295u;
    const auto exchange = [&] {
        EXPECT_EQ(dialog.Get(IDC_TEST_TEXT), L"C:\\Maps\\day.jpg");
        EXPECT_EQ(IsDlgButtonChecked(dialog.Window(), IDC_TEST_CHECK), BST_CHECKED);
        EXPECT_EQ(dialog.Get(IDC_TEST_FIRST_NUMBER), L"4294967295");
        EXPECT_EQ(dialog.Get(IDC_TEST_SECOND_NUMBER), L"0");
        // Only the value 1 checks the box.
        for (const int value : {0, 2, -1}) {
            dialog.checked = value;
            dialog.WriteControls();
            EXPECT_EQ(IsDlgButtonChecked(dialog.Window(), IDC_TEST_CHECK), BST_UNCHECKED) << value;
        }
        dialog.Set(IDC_TEST_TEXT, L"night.png");
        CheckDlgButton(dialog.Window(), IDC_TEST_CHECK, BST_CHECKED);
        dialog.Set(IDC_TEST_FIRST_NUMBER, L"  1024 ");
        dialog.Set(IDC_TEST_SECOND_NUMBER, L"4294967295");
        EXPECT_TRUE(dialog.ReadControls());
    };
    EXPECT_EQ(dialog.Run({exchange}), ScriptedDialog::kStepsDone);
    EXPECT_EQ(dialog.text, L"night.png");
    EXPECT_EQ(dialog.checked, 1);
    EXPECT_EQ(dialog.first, 1024u);
    EXPECT_EQ(dialog.second, 4294967295u);
}

TEST(DataExchange, BadNumberStopsTheExchangeAtItsFieldAndOkKeepsTheDialogOpen) {
    const BoxAnswerer boxes;
    BoundDialog dialog;
    dialog.first = 11;
    dialog.second = 22;
    const auto badOk = [&] {
        dialog.Set(IDC_TEST_TEXT, L"read before");
        CheckDlgButton(dialog.Window(), IDC_TEST_CHECK, BST_CHECKED);
        dialog.Set(IDC_TEST_FIRST_NUMBER, L"-15");
        dialog.Set(IDC_TEST_SECOND_NUMBER, L"5");
        SendMessageW(dialog.Window(), WM_COMMAND, IDOK, 0);
        const HWND field = dialog.Item(IDC_TEST_FIRST_NUMBER);
        EXPECT_EQ(GetFocus(), field);
        DWORD start = 99;
        DWORD end = 0;
        SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, 3u);
        EXPECT_EQ(dialog.text, L"read before");
        EXPECT_EQ(dialog.checked, 1);
        EXPECT_EQ(dialog.first, 11u);
        EXPECT_EQ(dialog.second, 22u);
    };
    // Runs only when the bad OK left the dialog open.
    const auto fixedOk = [&] {
        dialog.Set(IDC_TEST_FIRST_NUMBER, L"15");
        SendMessageW(dialog.Window(), WM_COMMAND, IDOK, 0);
    };
    EXPECT_EQ(dialog.Run({badOk, fixedOk}), IDOK);
    EXPECT_EQ(dialog.first, 15u);
    EXPECT_EQ(dialog.second, 5u);
    EXPECT_EQ(BoxAnswerer::answered, 1);
    EXPECT_EQ(BoxAnswerer::badNumber, 1);
}

} // namespace
