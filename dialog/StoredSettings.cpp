// Loading the stored copy of device_config.dat into the form when the dialog opens.
#include "dialog/ConfigDlg.h"
#include "platform/Shell.h"
#include "record/SettingsFile.h"

namespace tavrel {

std::u16string StoredSettingsPath() {
    return ui::GetProgramDirectory() + ui::PathSeparator() + kSettingsFileName;
}

void CConfigDlg::LoadStoredSettings() {
    const std::optional<DeviceSettingsRecord> record =
        ReadSettingsFile(ToNativePath(StoredSettingsPath()));
    if (!record) {
        return;  // no stored file: the form keeps its initial state
    }
    ShowValues(ValuesFromRecord(*record));
}

}  // namespace tavrel
