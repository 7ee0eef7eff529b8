#pragma once
// What the Qt program sets up before the application object runs.

class QApplication;

namespace tavrel::ui::qt {

// Qt's own texts in Traditional Chinese (standard buttons, the folder chooser), the
// icon resource `appIconId` as the application's icon, and no quitting behind the
// dialogs' backs.
void PrepareApplication(QApplication& app, int appIconId);

// RunApplication (Window.h) on Qt: the application object's InitInstance returns when
// the settings dialog has ended. Only the program name reaches Qt (no -reverse, -style,
// -platform...); the environment (QT_QPA_PLATFORM) still chooses the platform.

}  // namespace tavrel::ui::qt
