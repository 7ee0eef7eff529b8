// Loading the stored copy of device_config.dat into the form when the dialog opens.
#include "dialog/ConfigDlg.h"
#include "platform/Shell.h"
#include "record/SettingsFile.h"

namespace tavrel {

namespace {
// The folder named after the tool in the per-user configuration directory, on the
// platforms that keep the stored copy there.
constexpr std::u16string_view kProgramFolderName = u"tavrel";
}  // namespace

std::u16string StoredSettingsFolder() {
    return ui::GetProgramDirectory(kProgramFolderName);
}

std::u16string StoredSettingsPath() {
    return StoredSettingsFolder() + ui::PathSeparator() + kSettingsFileName;
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
