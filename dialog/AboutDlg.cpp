// The About box, built from its template.
#include "dialog/AboutDlg.h"

#include "dialog/Templates.h"

namespace tavrel {

CAboutDlg::CAboutDlg() : CDialog(kAboutTemplate) {}

}  // namespace tavrel
