#include "app/AboutDlg.h"

#include "app/Templates.h"

namespace tavrel {

CAboutDlg::CAboutDlg() : CDialog(kAboutTemplate) {}

}  // namespace tavrel
