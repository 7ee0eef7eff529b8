// Inputs read through the record's regular-file read (standard input as a stream), the
// destination of `write` resolved before anything is written, and the words for what
// stands at a path and for a failed write.
#include "cli/Files.h"

#include <algorithm>
#include <istream>
#include <system_error>

#include "cli/Command.h"
#include "form/Utf8.h"
#include "form/WriteFailure.h"
#include "record/SettingsFile.h"
#include "record/SystemErrorText.h"

namespace tavrel::cli {

using form::Utf16ToUtf8;

namespace {

// At most `limit` bytes of the stream and one more; nothing when a read fails.
std::optional<std::vector<std::uint8_t>> ReadStream(std::istream& stream, std::size_t limit,
                                                    bool& more) {
    std::vector<std::uint8_t> bytes;
    more = ReadAtMost(limit, bytes, [&](std::span<std::uint8_t> buffer) {
        std::size_t done = 0;
        while (done < buffer.size() && stream) {
            stream.read(reinterpret_cast<char*>(buffer.data() + done),
                        static_cast<std::streamsize>(buffer.size() - done));
            done += static_cast<std::size_t>(stream.gcount());
        }
        return done;
    });
    if (stream.bad()) {
        return std::nullopt;
    }
    return bytes;
}

// The first `keep` bytes and the size: the count read when nothing `more` follows them,
// else the size the system reports if that is larger than `keep`, else unknown.
InputBytes Kept(std::vector<std::uint8_t> head, bool more, std::optional<std::uintmax_t> reported,
                std::size_t keep) {
    InputBytes input;
    if (!more) {
        input.size = head.size();
    } else if (reported && *reported > keep) {
        input.size = reported;
    }
    input.head = std::move(head);
    return input;
}

// The system's own description, as UTF-8 (on Windows the C++ library's is in the ANSI code
// page, which a UTF-8 console shows garbled).
std::string SystemMessage(int error) {
    return Utf16ToUtf8(SystemErrorText(error));
}

}  // namespace

std::filesystem::path PathFromUtf8(const std::string& name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

std::string PathToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string KindPhrase(FileKind kind) {
    switch (kind) {
        case FileKind::Missing:
            return "nothing";
        case FileKind::Regular:
            return "a file";
        case FileKind::Folder:
            return "a folder";
        case FileKind::SymbolicLink:
            return "a symbolic link";
        case FileKind::Device:
            return "a device";
        case FileKind::Pipe:
            return "a FIFO (named pipe)";
        case FileKind::Socket:
            return "a socket";
        case FileKind::Other:
            break;
    }
    return "something other than a file";
}

form::Result<InputBytes> ReadInput(const std::string& name, std::istream& in, std::size_t keep) {
    if (name == "-") {
        bool more = false;
        std::optional<std::vector<std::uint8_t>> bytes = ReadStream(in, keep, more);
        if (!bytes) {
            return English("cannot read standard input");
        }
        return Kept(std::move(*bytes), more, std::nullopt, keep);
    }
    RegularFileRead read = ReadRegularFile(PathFromUtf8(name).native(), keep);
    const FileStatus& status = read.status;
    if (status.kind == FileKind::Regular && status.systemError == 0) {
        return Kept(std::move(read.bytes), read.more, read.size, keep);
    }
    std::string error = "cannot read " + name + ": ";
    if (status.systemError != 0) {
        error += SystemMessage(status.systemError);
    } else if (status.kind == FileKind::Missing) {
        error += "there is no such file";
    } else if (status.kind == FileKind::Folder) {
        error += "it is a folder";
    } else {
        error += "it is " + KindPhrase(status.kind) + ", not a regular file";
    }
    return English(error);
}

std::string SettingsFileIn(const std::string& name) {
    std::error_code ec;
    if (name == "-" || !std::filesystem::is_directory(PathFromUtf8(name), ec)) {
        return name;
    }
    return PathToUtf8(PathFromUtf8(name) / kSettingsFileName);
}

form::Result<std::filesystem::path> ResolveDestination(const std::string& dest) {
    if (dest.empty()) {
        return English("the destination is empty");
    }
    const std::filesystem::path path = PathFromUtf8(dest);
    std::filesystem::path target = path;
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        target = path / kSettingsFileName;
    } else if (ec == std::errc::filename_too_long) {
        return English("cannot write " + dest + ": the path is too long");
    } else {
        const std::filesystem::path folder = path.has_filename() ? path.parent_path() : path;
        const std::filesystem::file_status found =
            std::filesystem::status(folder.empty() ? "." : folder, ec);
        if (!path.has_filename() || found.type() != std::filesystem::file_type::directory) {
            if (ec == std::errc::filename_too_long) {
                return English("cannot write " + dest + ": the path is too long");
            }
            if (std::filesystem::exists(found)) {
                return English("cannot write " + dest + ": " + PathToUtf8(folder) +
                               " is not a folder");
            }
            return English("the folder " + PathToUtf8(folder) + " does not exist");
        }
    }
    const FileStatus status = LinkStatus(target.native());
    if (status.kind == FileKind::Missing || status.kind == FileKind::Regular) {
        return target;
    }
    std::string error = "cannot write " + PathToUtf8(target) + ": ";
    if (status.systemError != 0) {
        error += SystemMessage(status.systemError);
    } else {
        error += "it is " + KindPhrase(status.kind) + ", not a regular file; nothing was written";
    }
    return English(error);
}

std::string WriteFailureMessage(const std::filesystem::path& file, const WriteResult& result) {
    return (result.Replaced() ? "" : "cannot write ") + PathToUtf8(file) + ": " +
           form::WriteFailureReason(result).en;
}

}  // namespace tavrel::cli
