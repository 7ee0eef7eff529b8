#include "cli/Files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <istream>
#include <system_error>

#include "record/SettingsFile.h"

namespace tavrel::cli {

namespace {

std::optional<InputBytes> ReadStream(std::istream& stream, std::size_t keep) {
    InputBytes input;
    char buffer[64 * 1024];
    while (stream) {
        stream.read(buffer, sizeof buffer);
        const auto got = static_cast<std::size_t>(stream.gcount());
        const std::size_t kept = std::min(got, keep - input.head.size());
        input.head.insert(input.head.end(), buffer, buffer + kept);
        input.size += got;
    }
    if (stream.bad()) {
        return std::nullopt;
    }
    return input;
}

}  // namespace

std::filesystem::path PathFromUtf8(const std::string& name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

std::string PathToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::optional<InputBytes> ReadInput(const std::string& name, std::istream& in, std::size_t keep,
                                    std::string& error) {
    if (name == "-") {
        std::optional<InputBytes> input = ReadStream(in, keep);
        if (!input) {
            error = "cannot read standard input";
        }
        return input;
    }
    const std::filesystem::path path = PathFromUtf8(name);
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        error = "cannot read " + name + ": it is a folder";
        return std::nullopt;
    }
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        const int cause = errno;
        error = "cannot open " + name;
        if (cause != 0) {
            error += ": " + std::generic_category().message(cause);
        }
        return std::nullopt;
    }
    std::optional<InputBytes> input = ReadStream(file, keep);
    if (!input) {
        error = "cannot read " + name;
    }
    return input;
}

std::optional<std::filesystem::path> ResolveDestination(const std::string& dest,
                                                        std::string& error) {
    if (dest.empty()) {
        error = "the destination is empty";
        return std::nullopt;
    }
    // A folder that cannot be looked at since its path is too long is not missing.
    const auto notThere = [](const std::string& folder, const std::error_code& ec) {
        return ec == std::errc::filename_too_long ? "the path " + folder + " is too long"
                                                  : "the folder " + folder + " does not exist";
    };
    const std::filesystem::path path = PathFromUtf8(dest);
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        return path / kSettingsFileName;
    }
    if (!path.has_filename() || ec == std::errc::filename_too_long) {
        error = notThere(dest, ec);
        return std::nullopt;
    }
    const std::filesystem::path folder = path.parent_path();
    if (!std::filesystem::is_directory(folder.empty() ? "." : folder, ec)) {
        error = notThere(PathToUtf8(folder), ec);
        return std::nullopt;
    }
    return path;
}

std::string DescribeWriteFailure(const WriteResult& result) {
    std::string reason;
    switch (result.error) {
        case WriteError::None:
            return "no error";
        case WriteError::PathTooLong:
            reason = "the path is too long";
            break;
        case WriteError::FolderNotFound:
            reason = "the folder does not exist";
            break;
        case WriteError::AccessDenied:
            reason = "access denied or read-only medium";
            break;
        case WriteError::TargetIsDirectory:
            reason = "a folder has that name";
            break;
        case WriteError::TargetNotRegularFile:
            reason = "something other than a regular file has that name";
            break;
        case WriteError::DiskFull:
            reason = "no space left on the medium";
            break;
        case WriteError::VerifyFailed:
            reason = "the file read back differs";
            break;
        case WriteError::ReplacedButNotFlushed:
            reason =
                "the file was replaced, but the medium reported an error, so it may not be "
                "stored completely";
            break;
        case WriteError::ReplacedByAnotherWriter:
            reason = "the file was written, but another writer's file replaced it right after";
            break;
        case WriteError::Other:
            reason = "the system refused it";
            break;
    }
    if (result.systemError != 0) {
        reason += " (" + std::system_category().message(result.systemError) + ")";
    }
    return reason;
}

}  // namespace tavrel::cli
