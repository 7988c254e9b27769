// Member values into the controls and back, in their fixed order, with a field whose number
// cannot be read.

#include <gtest/gtest.h>

#include <array>

#include "MessageBoxWatcher.h"
#include "ScriptedDialog.h"
#include "TestDialogIds.h"
#include "ui/ProgramInfo.h"
#include "win/WindowText.h"

namespace {

class BoundDialog : public ScriptedDialog {
public:
    BoundDialog() : ScriptedDialog(IDD_TEST_CONTROLS) {}

    std::wstring text;
    int checked = 0;
    std::uint32_t first = 0;
    std::uint32_t second = 0;
    std::wstring lastText;

    std::wstring ControlText(int id) const { return ReadWindowText(Item(id)); }
    void SetControlText(int id, const wchar_t* value) { SetWindowTextW(Item(id), value); }

protected:
    void DoDataExchange(DataExchange& exchange) override {
        exchange.Text(IDC_TEST_TEXT, text);
        exchange.Check(IDC_TEST_CHECK, checked);
        exchange.Number(IDC_TEST_FIRST_NUMBER, first);
        exchange.Number(IDC_TEST_SECOND_NUMBER, second);
        exchange.Text(IDC_TEST_LAST_TEXT, lastText);
    }
};

TEST(DataExchange, InitialisationWritesMembersIntoControls) {
    BoundDialog dialog;
    dialog.text = L"C:\\Maps\\day.jpg";
    dialog.checked = 1;
    dialog.first = 4294967295u;
    dialog.second = 0;
    dialog.lastText = L"last";
    dialog.Run({[&] {
        EXPECT_EQ(dialog.ControlText(IDC_TEST_TEXT), L"C:\\Maps\\day.jpg");
        EXPECT_EQ(IsDlgButtonChecked(dialog.Window(), IDC_TEST_CHECK), BST_CHECKED);
        EXPECT_EQ(dialog.ControlText(IDC_TEST_FIRST_NUMBER), L"4294967295");
        EXPECT_EQ(dialog.ControlText(IDC_TEST_SECOND_NUMBER), L"0");
        EXPECT_EQ(dialog.ControlText(IDC_TEST_LAST_TEXT), L"last");
    }});
}

TEST(DataExchange, OnlyTheValueOneChecksTheBox) {
    BoundDialog dialog;
    std::array<UINT, 4> states{};
    dialog.Run({[&] {
        const std::array<int, 4> values = {1, 0, 2, -1};
        for (size_t i = 0; i < values.size(); ++i) {
            dialog.checked = values[i];
            dialog.WriteControls();
            states[i] = IsDlgButtonChecked(dialog.Window(), IDC_TEST_CHECK);
        }
    }});
    EXPECT_EQ(states,
              (std::array<UINT, 4>{BST_CHECKED, BST_UNCHECKED, BST_UNCHECKED, BST_UNCHECKED}));
}

TEST(DataExchange, ReadsControlsBackIntoMembers) {
    BoundDialog dialog;
    bool read = false;
    dialog.Run({[&] {
        dialog.SetControlText(IDC_TEST_TEXT, L"night.png");
        CheckDlgButton(dialog.Window(), IDC_TEST_CHECK, BST_CHECKED);
        dialog.SetControlText(IDC_TEST_FIRST_NUMBER, L"  1024 ");
        dialog.SetControlText(IDC_TEST_SECOND_NUMBER, L"4294967295");
        dialog.SetControlText(IDC_TEST_LAST_TEXT, L"");
        dialog.lastText = L"stale";
        read = dialog.ReadControls();
    }});
    EXPECT_TRUE(read);
    EXPECT_EQ(dialog.text, L"night.png");
    EXPECT_EQ(dialog.checked, 1);
    EXPECT_EQ(dialog.first, 1024u);
    EXPECT_EQ(dialog.second, 4294967295u);
    EXPECT_EQ(dialog.lastText, L"");
}

TEST(DataExchange, BadNumberStopsTheExchangeAtItsField) {
    const MessageBoxWatcher boxes(kProgramTitle);
    BoundDialog dialog;
    dialog.first = 11;
    dialog.second = 22;
    dialog.lastText = L"old";
    bool read = true;
    bool focusOnField = false;
    DWORD selectionStart = 99;
    DWORD selectionEnd = 0;
    dialog.Run({[&] {
        dialog.SetControlText(IDC_TEST_TEXT, L"read before");
        CheckDlgButton(dialog.Window(), IDC_TEST_CHECK, BST_CHECKED);
        dialog.SetControlText(IDC_TEST_FIRST_NUMBER, L"-15");
        dialog.SetControlText(IDC_TEST_SECOND_NUMBER, L"5");
        dialog.SetControlText(IDC_TEST_LAST_TEXT, L"not read");
        read = dialog.ReadControls();
        const HWND field = dialog.Item(IDC_TEST_FIRST_NUMBER);
        focusOnField = GetFocus() == field;
        SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart),
                     reinterpret_cast<LPARAM>(&selectionEnd));
    }});
    EXPECT_FALSE(read);
    EXPECT_EQ(dialog.text, L"read before");
    EXPECT_EQ(dialog.checked, 1);
    EXPECT_EQ(dialog.first, 11u);
    EXPECT_EQ(dialog.second, 22u);
    EXPECT_EQ(dialog.lastText, L"old");
    EXPECT_TRUE(focusOnField);
    EXPECT_EQ(selectionStart, 0u);
    EXPECT_EQ(selectionEnd, 3u);
    EXPECT_EQ(boxes.Answered(), std::vector<std::wstring>{kBadNumberMessage});
}

TEST(DataExchange, OkStaysOpenOnBadNumberAndEndsOnceItIsFixed) {
    const MessageBoxWatcher boxes(kProgramTitle);
    BoundDialog dialog;
    bool openAfterBadOk = false;
    const INT_PTR result = dialog.Run({[&] {
                                           dialog.SetControlText(IDC_TEST_SECOND_NUMBER, L"abc");
                                           SendMessageW(dialog.Window(), WM_COMMAND, IDOK, 0);
                                           openAfterBadOk = dialog.Window() != nullptr;
                                       },
                                       [&] {
                                           dialog.SetControlText(IDC_TEST_SECOND_NUMBER, L"15");
                                           SendMessageW(dialog.Window(), WM_COMMAND, IDOK, 0);
                                       }});
    EXPECT_TRUE(openAfterBadOk);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.second, 15u);
    EXPECT_EQ(boxes.Answered().size(), 1u);
}

} // namespace
