// Folder operations of Shell.h on POSIX and the C++ library's file system, for the
// platforms whose backend does not bring its own (every one but Windows).
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/Shell.h"
#include "record/SettingsFile.h"

namespace tavrel::ui {

bool IsSameFolder(std::u16string_view a, std::u16string_view b) {
    std::error_code ec;
    return std::filesystem::equivalent(std::filesystem::path(std::u16string(a)),
                                       std::filesystem::path(std::u16string(b)), ec);
}

bool CreateFolders(std::u16string_view path) {
    const std::string folder = ToNativePath(path);
    // Each missing folder from the top down, private to the user: the stored copy in
    // them holds the key.
    for (std::size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
        const std::string part = folder.substr(0, end);
        if (!part.empty() && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
        if (end == std::string::npos) {
            break;
        }
    }
    struct stat info {};
    return stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace tavrel::ui
