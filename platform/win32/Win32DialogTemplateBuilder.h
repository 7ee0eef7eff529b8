#pragma once
// The in-memory dialog template that DialogBoxIndirectParamW reads, built from the
// toolkit-free template data.

#include <cstdint>
#include <vector>

#include "platform/DialogTemplate.h"

namespace tavrel::ui::win32 {

// The window class the dialog manager creates for a control kind.
const wchar_t* ControlClassName(ControlClass kind);

// A DLGTEMPLATEEX followed by one DLGITEMTEMPLATEEX per control, each DWORD-aligned.
// Every control gets WS_CHILD | WS_VISIBLE; an SS_ICON static names its icon resource.
std::vector<std::uint8_t> BuildDialogTemplate(const DialogTemplate& dialog);

}  // namespace tavrel::ui::win32
