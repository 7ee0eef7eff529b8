#pragma once
// The About box that the settings window's system menu opens.

#include "platform/Window.h"

namespace tavrel {

// The About box: icon, name and version, and an OK button. IDOK and IDCANCEL end it.
class CAboutDlg : public ui::CDialog {
public:
    CAboutDlg();
};

}  // namespace tavrel
