// Confirm: the form becomes a fresh record, written to a folder the user chooses and
// kept as the stored copy, so that the next start shows the same values.
#include "dialog/ConfigDlg.h"
#include "dialog/Strings.h"
#include "dialog/resource.h"
#include "form/Utf8.h"
#include "form/WriteFailure.h"
#include "platform/Shell.h"
#include "record/SettingsFile.h"

namespace tavrel {

std::optional<std::u16string> ChooseDestinationFolder(const ui::CWnd& owner,
                                                      std::u16string_view initialFolder) {
    const char16_t sep = ui::PathSeparator();
    if (!initialFolder.empty() && initialFolder.back() == sep) {
        initialFolder.remove_suffix(1);
    }
    std::optional<std::u16string> folder =
        ui::BrowseForFolder(owner, LoadResourceString(IDS_CHOOSE_FOLDER), initialFolder);
    // An item without a file-system path counts as not chosen: the file is never written
    // relative to the current directory.
    if (!folder || folder->empty()) {
        return std::nullopt;
    }
    if (folder->back() != sep) {
        folder->push_back(sep);  // a drive root such as E:\ already ends with one
    }
    return folder;
}

void CConfigDlg::OnConfirm() {
    const DeviceSettingsRecord record = RecordFromValues(ReadValues());

    const std::optional<std::u16string> folder = ChooseDestinationFolder(*this, u"");
    if (!folder) {
        return;
    }
    const std::u16string destination = *folder + kSettingsFileName;
    const WriteResult written = WriteSettingsFile(ToNativePath(destination), record);
    if (!written) {
        ShowWriteError(destination, written);
        return;
    }

    // The stored copy: quiet when it fails, and not needed when the chosen folder is
    // the stored copy's folder itself.
    const std::u16string storedFolder = StoredSettingsFolder();
    if (!ui::IsSameFolder(*folder, storedFolder) && ui::CreateFolders(storedFolder)) {
        WriteSettingsFile(ToNativePath(StoredSettingsPath()), record, NewFileAccess::OwnerOnly);
    }

    MessageBox(LoadResourceString(IDS_FILE_CREATED), LoadResourceString(IDS_SETTINGS_CAPTION),
               ui::mb::Ok | ui::mb::IconInformation);
}

void CConfigDlg::ShowWriteError(std::u16string_view path, const WriteResult& result) {
    // A file that took the old one's place is no failure to produce one: the path and
    // what went wrong after the replace say it all.
    std::u16string text;
    if (!result.Replaced()) {
        text = LoadResourceString(IDS_WRITE_FAILED);
        text += u"\n";
    }
    text += path;
    text += u"\n\n";
    text += form::Utf8ToUtf16(form::WriteFailureReason(result).zh).value_or(u"");
    MessageBox(text, LoadResourceString(IDS_SETTINGS_CAPTION), ui::mb::Ok | ui::mb::IconError);
}

}  // namespace tavrel
