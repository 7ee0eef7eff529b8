// The program's entry point: the platform runs the application object (TheApp.cpp),
// with the application icon as the windows' default.
#include "dialog/resource.h"
#include "platform/Window.h"

int main(int argc, char* argv[]) {
    return tavrel::ui::RunApplication(argc, argv, IDI_APP);
}
