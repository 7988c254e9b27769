// Where the help command goes: to the dialog's own route when it has one, otherwise to the
// help request of the dialog that owns it.

#include <gtest/gtest.h>

#include "ScriptedDialog.h"
#include "TestDialogIds.h"

namespace {

class HelpOwner : public ScriptedDialog {
public:
    HelpOwner() : ScriptedDialog(IDD_TEST_CONTROLS) {}
    int helpRequests = 0;
    void WinHelpW(DWORD_PTR, UINT) override { ++helpRequests; }
};

class HelpChild : public ScriptedDialog {
public:
    HelpChild(HWND owner, bool routesHelp)
        : ScriptedDialog(IDD_TEST_HELP_CHILD, owner), routesHelp(routesHelp) {}
    int ownHelp = 0;

protected:
    std::span<const CommandRoute> Commands() const override {
        static constexpr CommandRoute routes[] = {
            {ID_TEST_HELP, BN_CLICKED, CommandHandler<&HelpChild::OnHelpTopic>},
        };
        return routesHelp ? std::span<const CommandRoute>(routes) : std::span<const CommandRoute>();
    }

private:
    void OnHelpTopic() { ++ownHelp; }
    bool routesHelp;
};

void PressHelp(const Dialog& dialog) {
    SendMessageW(dialog.Item(ID_TEST_HELP), BM_CLICK, 0, 0);
}

TEST(HelpRouting, DialogsOwnHelpButtonReachesItsHelpRequest) {
    HelpOwner owner;
    owner.Run({[&] { PressHelp(owner); }});
    EXPECT_EQ(owner.helpRequests, 1);
}

TEST(HelpRouting, UnroutedHelpGoesToTheOwningDialog) {
    HelpOwner owner;
    int childHelp = -1;
    owner.Run({[&] {
        HelpChild child(owner.Window(), false);
        child.Run({[&] { PressHelp(child); }});
        childHelp = child.ownHelp;
    }});
    EXPECT_EQ(owner.helpRequests, 1);
    EXPECT_EQ(childHelp, 0);
}

TEST(HelpRouting, DialogThatRoutesHelpKeepsIt) {
    HelpOwner owner;
    int childHelp = 0;
    owner.Run({[&] {
        HelpChild child(owner.Window(), true);
        child.Run({[&] { PressHelp(child); }});
        childHelp = child.ownHelp;
    }});
    EXPECT_EQ(owner.helpRequests, 0);
    EXPECT_EQ(childHelp, 1);
}

} // namespace
