#pragma once
// A dialog whose handlers throw, for the backends' tests of what an exception from a
// handler does: the About template, with a confirm handler that throws, or an
// initialisation that already does.

#include <stdexcept>

#include "dialog/Templates.h"
#include "platform/Window.h"

namespace tavrel::test {

class ThrowingDlg : public ui::CDialog {
public:
    // inInit: OnInitDialog throws; otherwise the confirm button's handler does.
    explicit ThrowingDlg(bool inInit) : CDialog(kAboutTemplate), inInit_(inInit) {}
    const ui::MessageMap* GetMessageMap() const override {
        static const ui::MessageEntry entries[] = {ui::OnCommand<&ThrowingDlg::OnConfirm>(IDOK)};
        static const ui::MessageMap map{CDialog::GetMessageMap(), entries};
        return &map;
    }
    bool OnInitDialog() override {
        if (inInit_) {
            throw std::runtime_error("from OnInitDialog");
        }
        return CDialog::OnInitDialog();
    }
    void OnConfirm() { throw std::runtime_error("from the confirm handler"); }

private:
    bool inInit_;
};

}  // namespace tavrel::test
