#pragma once
// The templates of the tool's two windows (Templates.cpp), for either backend to build.

#include "platform/DialogTemplate.h"

namespace tavrel {

extern const ui::DialogTemplate kSettingsTemplate;  // IDD_SETTINGS
extern const ui::DialogTemplate kAboutTemplate;     // IDD_ABOUT

}  // namespace tavrel
