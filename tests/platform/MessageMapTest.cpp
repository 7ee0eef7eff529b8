// Message tables: the most derived table wins, ids and codes must match, and a message
// no table names is left to the platform.
#include <gtest/gtest.h>

#include <vector>

#include "platform/Window.h"

namespace {

using namespace tavrel::ui;

const DialogTemplate kEmptyTemplate{1, 0, 0, 0, 0, 10, 10, u"", u"Arial", 9, 400, false, 0, {}};

class TestDlg : public CDialog {
public:
    TestDlg() : CDialog(kEmptyTemplate) {}
    const MessageMap* GetMessageMap() const override {
        static const MessageEntry entries[] = {
            OnCommand<&TestDlg::OnConfirm>(IDOK),
            OnCommand<&TestDlg::OnRangeEnd>(1005),
            {wm::Command, bn::Clicked, 1000, 1004,
             [](CWnd& w, const Message& m) -> MsgResult {
                 static_cast<TestDlg&>(w).calls.push_back(static_cast<int>(m.wParam & 0xFFFF));
                 return 7;
             }},
            OnSysCommand<&TestDlg::OnSystemCommand>(),
        };
        static const MessageMap map{CDialog::GetMessageMap(), entries};
        return &map;
    }
    void OnConfirm() { calls.push_back(IDOK); }
    void OnRangeEnd() { calls.push_back(1005); }
    void OnSystemCommand(unsigned command, std::intptr_t position) {
        calls.push_back(static_cast<int>(command));
        calls.push_back(static_cast<int>(position));
    }
    void OnOK() override { calls.push_back(-IDOK); }
    void OnCancel() override { calls.push_back(-IDCANCEL); }

    std::vector<int> calls;
};

Message Command(int id, unsigned code = bn::Clicked) {
    return {wm::Command, static_cast<std::uintptr_t>(id) | (std::uintptr_t{code} << 16), 0};
}

TEST(MessageMap, DerivedTableIsSearchedBeforeTheDialogDefaults) {
    TestDlg dlg;
    EXPECT_TRUE(dlg.OnWndMsg(Command(IDOK), nullptr));      // bound in TestDlg: OnOK unused
    EXPECT_TRUE(dlg.OnWndMsg(Command(IDCANCEL), nullptr));  // CDialog's default: OnCancel
    EXPECT_EQ(dlg.calls, (std::vector<int>{IDOK, -IDCANCEL}));
}

TEST(MessageMap, IdRangeAndNotificationCodeMustMatch) {
    TestDlg dlg;
    MsgResult result = 0;
    EXPECT_TRUE(dlg.OnWndMsg(Command(1000), &result));
    EXPECT_EQ(result, 7);
    EXPECT_TRUE(dlg.OnWndMsg(Command(1004), nullptr));
    EXPECT_TRUE(dlg.OnWndMsg(Command(1005), nullptr));
    EXPECT_FALSE(dlg.OnWndMsg(Command(999), nullptr));
    EXPECT_FALSE(dlg.OnWndMsg(Command(1006), nullptr));
    EXPECT_FALSE(dlg.OnWndMsg(Command(1000, /*EN_CHANGE*/ 0x0300), nullptr));
    EXPECT_EQ(dlg.calls, (std::vector<int>{1000, 1004, 1005}));
}

TEST(MessageMap, SystemCommandCarriesCommandAndPosition) {
    TestDlg dlg;
    EXPECT_TRUE(dlg.OnWndMsg({wm::SysCommand, 0x0013, 0x00200010}, nullptr));
    EXPECT_FALSE(dlg.OnWndMsg({wm::Paint, 0, 0}, nullptr));
    EXPECT_EQ(dlg.calls, (std::vector<int>{0x0013, 0x00200010}));
}

}  // namespace
