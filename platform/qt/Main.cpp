// The program's entry point on Qt: the application object runs its one dialog.
#include "platform/qt/Application.h"

int main(int argc, char* argv[]) {
    return tavrel::ui::qt::RunProgram(argc, argv);
}
