#pragma once
// What the Qt program sets up before the application object runs.

class QApplication;

namespace tavrel::ui::qt {

// Qt's own texts in Traditional Chinese (standard buttons, the folder chooser), the
// application icon, and no quitting behind the dialogs' backs.
void PrepareApplication(QApplication& app);

// The whole run of the program: the application object's InitInstance, which returns
// when the settings dialog has ended. The tool takes no arguments, so Qt gets none
// either: only the program name reaches it (no -reverse, -style, -platform...); the
// environment (QT_QPA_PLATFORM) still chooses the platform.
int RunProgram(int argc, char* argv[]);

}  // namespace tavrel::ui::qt
