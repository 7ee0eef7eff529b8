#pragma once
// The folder chooser behind BrowseForFolder, and the one seam tests use to stand in for
// the user choosing a folder.

#include <QString>
#include <functional>
#include <optional>

namespace tavrel::ui::qt {

// Returns the chosen folder, or nothing when the user cancelled.
using FolderChooser =
    std::function<std::optional<QString>(const QString& title, const QString& initialFolder)>;

// Replaces the chooser (an empty function restores the real one). For tests.
void SetFolderChooser(FolderChooser chooser);

}  // namespace tavrel::ui::qt
