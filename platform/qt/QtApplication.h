#pragma once
// What the Qt program sets up before the application object runs.

class QApplication;

namespace tavrel::ui::qt {

// Qt's own texts in Traditional Chinese (standard buttons, the folder chooser), the
// icon resource `appIconId` as the application's icon, and no quitting behind the
// dialogs' backs.
void PrepareApplication(QApplication& app, int appIconId);

}  // namespace tavrel::ui::qt
