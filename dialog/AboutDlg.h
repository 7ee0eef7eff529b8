#pragma once
#include "platform/Window.h"

namespace tavrel {

// The About box: icon, name and version, and an OK button. IDOK and IDCANCEL end it.
class CAboutDlg : public ui::CDialog {
public:
    CAboutDlg();
};

}  // namespace tavrel
