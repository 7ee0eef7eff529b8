// Shell services on Qt: the per-user configuration directory and the folder chooser.
#include "platform/Shell.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/qt/FolderChooser.h"
#include "platform/qt/QtText.h"

namespace tavrel::ui {

namespace {

qt::FolderChooser& ChooserOverride() {
    static qt::FolderChooser chooser;
    return chooser;
}

std::optional<QString> ChooseWithDialog(const QString& title, const QString& initialFolder) {
    QString start = initialFolder;
    if (start.isEmpty()) {
        start = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        if (!QFileInfo(start).isDir()) {
            start = QDir::homePath();
        }
    }
    QWidget* owner = QApplication::activeModalWidget();
    if (owner == nullptr) {
        owner = QApplication::activeWindow();
    }
    const QString folder = QFileDialog::getExistingDirectory(
        owner, title, start, QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    return folder;
}

}  // namespace

char16_t PathSeparator() {
    return u'/';
}

std::u16string GetProgramDirectory() {
#ifdef Q_OS_MACOS
    const QString base = QDir::homePath() + QStringLiteral("/Library/Application Support");
#else
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.config");
    }
#endif
    return qt::ToU16(QDir::cleanPath(base + QStringLiteral("/tavrel")));
}

std::optional<std::u16string> BrowseForFolder(std::u16string_view title,
                                              std::u16string_view initialFolder) {
    const QString qTitle = qt::ToQString(title);
    const QString qInitial = qt::ToQString(initialFolder);
    const qt::FolderChooser& chooser = ChooserOverride();
    const std::optional<QString> folder =
        chooser ? chooser(qTitle, qInitial) : ChooseWithDialog(qTitle, qInitial);
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
