// The application object's one run: the settings dialog as the main window.
#include "app/ConfigApp.h"

#include "dialog/ConfigDlg.h"

namespace tavrel {

bool CConfigApp::InitInstance() {
    CWinApp::InitInstance();
    CConfigDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return false;  // no message loop of our own: the process ends here
}

}  // namespace tavrel
