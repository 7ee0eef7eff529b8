#pragma once
// Shell and file-system services that the dialog uses.

#include <optional>
#include <string>
#include <string_view>

namespace tavrel::ui {

class CWnd;

// '\\' on Windows, '/' elsewhere.
char16_t PathSeparator();

// The directory a program keeps its own files in, without a trailing separator: the
// directory that holds the running executable on Windows; elsewhere `programName`'s
// folder in the per-user configuration directory (XDG_CONFIG_HOME/<programName>,
// ~/Library/Application Support/<programName>). The directory may not exist yet.
std::u16string GetProgramDirectory(std::u16string_view programName);

// Whether both paths name the same existing folder (the same file-system object, however
// it is spelled).
bool IsSameFolder(std::u16string_view a, std::u16string_view b);

// Creates the folder and any missing parents, each one the user's alone (0700 on POSIX;
// on Windows the parent's permissions apply); true when it exists afterwards.
bool CreateFolders(std::u16string_view path);

// Shows the platform's folder chooser with `title`, `initialFolder` preselected when it
// is not empty; only real directories can be accepted. The chooser is modal and owned by
// `owner`, which takes no input until it closes. Returns the chosen folder's path as the
// platform gives it, or nothing when the user cancelled or the chosen item has no
// file-system path.
std::optional<std::u16string> BrowseForFolder(const CWnd& owner, std::u16string_view title,
                                              std::u16string_view initialFolder);

}  // namespace tavrel::ui
