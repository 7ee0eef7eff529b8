#pragma once
// The application object of the settings tool.

#include "platform/Window.h"

namespace tavrel {

// The application: one modal run of the settings dialog, then the process ends.
class CConfigApp : public ui::CWinApp {
public:
    bool InitInstance() override;
};

}  // namespace tavrel
