#pragma once
// The settings dialog: the form that shows device_config.dat's settings, loads the
// stored copy when it opens and generates the file on confirm.

#include <optional>
#include <string>
#include <string_view>

#include "platform/Window.h"
#include "record/SettingsValues.h"

namespace tavrel {

struct WriteResult;

class CConfigDlg : public ui::CDialog {
public:
    CConfigDlg();

    bool OnInitDialog() override;
    const ui::MessageMap* GetMessageMap() const override;

    // Form (ConfigDlg.cpp)
    void OnAutoAddress();
    void OnFixedAddress();

    // Stored settings (StoredSettings.cpp)
    void LoadStoredSettings();

    // Generating the file (GenerateFile.cpp)
    void OnConfirm();

    // Window chrome and About box (WindowChrome.cpp)
    void OnSystemCommand(unsigned command, std::intptr_t position);
    void OnPaintWindow();
    ui::Icon OnDragIconQuery();

private:
    void InitChrome();
    void InitForm();
    void EnableAddressFields(bool enable);
    void ShowValues(const SettingsValues& values);
    SettingsValues ReadValues() const;
    void ShowWriteError(std::u16string_view path, const WriteResult& result);

    ui::Icon appIcon_;
};

// The folder chooser of the confirm step, modal over `owner`: `initialFolder`
// preselected (without its trailing separator); the chosen folder comes back with a
// trailing separator. Nothing when the user cancelled or chose an item that is not a
// file-system folder.
std::optional<std::u16string> ChooseDestinationFolder(const ui::CWnd& owner,
                                                      std::u16string_view initialFolder);

// The folder of the stored copy of device_config.dat, and the stored copy itself.
std::u16string StoredSettingsFolder();
std::u16string StoredSettingsPath();

// Where an icon of `iconExtent` pixels starts so that it sits centred in `clientExtent`
// pixels: (client - icon + 1) / 2, truncated toward zero.
constexpr int CenteredIconOffset(int clientExtent, int iconExtent) {
    return (clientExtent - iconExtent + 1) / 2;
}

}  // namespace tavrel
