// Shell services on Qt: the per-user configuration directory and the folder chooser.
#include "platform/Shell.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "platform/qt/QtDialogWindow.h"
#include "platform/qt/QtFolderChooser.h"
#include "platform/qt/QtText.h"

namespace tavrel::ui {

namespace {

qt::FolderChooser& ChooserOverride() {
    static qt::FolderChooser chooser;
    return chooser;
}

// Qt's file dialog keeps the folders it visited and its own layout in the user's
// configuration folder (QtProject.conf, which every Qt program shares). The tool keeps
// no state of its own: while the chooser is open, Qt's per-user settings live in a
// temporary folder that goes when the chooser does.
class ToolkitSettingsAside {
public:
    ToolkitSettingsAside() {
        if (folder_.isValid()) {
            QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_.path());
            QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder_.path());
        }
    }

private:
    QTemporaryDir folder_;
};

std::optional<QString> ChooseWithDialog(QWidget* owner, const QString& title,
                                        const QString& initialFolder) {
    QString start = initialFolder;
    if (start.isEmpty()) {
        start = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        if (!QFileInfo(start).isDir()) {
            start = QDir::homePath();
        }
    }
    const ToolkitSettingsAside aside;
    // Qt's own chooser: a desktop's native one keeps state of its own, out of reach.
    const QString folder = QFileDialog::getExistingDirectory(owner, title, start,
                                                             QFileDialog::ShowDirsOnly |
                                                                 QFileDialog::DontResolveSymlinks |
                                                                 QFileDialog::DontUseNativeDialog);
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    return folder;
}

}  // namespace

char16_t PathSeparator() {
    return u'/';
}

std::u16string GetProgramDirectory(std::u16string_view programName) {
#ifdef Q_OS_MACOS
    const QString base = QDir::homePath() + QStringLiteral("/Library/Application Support");
#else
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.config");
    }
#endif
    return qt::ToU16(QDir::cleanPath(base + QLatin1Char('/') + qt::ToQString(programName)));
}

std::optional<std::u16string> BrowseForFolder(const CWnd& owner, std::u16string_view title,
                                              std::u16string_view initialFolder) {
    const QString qTitle = qt::ToQString(title);
    const QString qInitial = qt::ToQString(initialFolder);
    const qt::FolderChooser& chooser = ChooserOverride();
    const std::optional<QString> folder =
        chooser ? chooser(qTitle, qInitial)
                : ChooseWithDialog(qt::WindowOf(owner), qTitle, qInitial);
    // Only a folder with a local file-system path counts as chosen.
    if (!folder || folder->isEmpty() || !QFileInfo(*folder).isDir()) {
        return std::nullopt;
    }
    return qt::ToU16(QDir::toNativeSeparators(*folder));
}

namespace qt {
void SetFolderChooser(FolderChooser chooser) {
    ChooserOverride() = std::move(chooser);
}
}  // namespace qt

}  // namespace tavrel::ui
