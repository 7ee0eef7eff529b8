// Folder operations of Shell.h on the C++ library's file system, for the platforms whose
// backend does not bring its own (every one but Windows).
#include <filesystem>
#include <system_error>

#include "platform/Shell.h"

namespace tavrel::ui {

bool IsSameFolder(std::u16string_view a, std::u16string_view b) {
    std::error_code ec;
    return std::filesystem::equivalent(std::filesystem::path(std::u16string(a)),
                                       std::filesystem::path(std::u16string(b)), ec);
}

bool CreateFolders(std::u16string_view path) {
    const std::filesystem::path folder(std::u16string{path});
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return std::filesystem::is_directory(folder, ec);
}

}  // namespace tavrel::ui
