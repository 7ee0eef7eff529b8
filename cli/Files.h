#pragma once
// The files the commands read and write, named on the command line in UTF-8.
//
// Only regular files are read or replaced: a FIFO, device or socket named as input is
// refused without being opened (a FIFO without a writer would block, a device may never
// end), and reads stop after the few bytes that can matter.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "form/Result.h"
#include "record/RegularFile.h"

namespace tavrel {
struct WriteResult;
}

namespace tavrel::cli {

// A name given in UTF-8 as a path, and a path as UTF-8 for a message; both exact for any
// name that is valid text (Windows paths are UTF-16 underneath).
std::filesystem::path PathFromUtf8(const std::string& name);
std::string PathToUtf8(const std::filesystem::path& path);

// "a folder", "a device", "a FIFO (named pipe)", ... for a message.
std::string KindPhrase(FileKind kind);

// What was read from a file: its first bytes and its whole size.
struct InputBytes {
    std::vector<std::uint8_t> head;      // at most the `keep` bytes asked for
    std::optional<std::uintmax_t> size;  // nothing when the input goes on past `keep`
                                         // bytes by an amount not known (a pipe)
};

// Reads the file `name` ("-" for `in`), keeping at most `keep` bytes and reading at
// most one byte more. Refused when it cannot be opened or read or is not a regular file.
form::Result<InputBytes> ReadInput(const std::string& name, std::istream& in, std::size_t keep);

// The settings file that `name` stands for when it is read: name/device_config.dat when
// it is a folder, else `name` itself ("-" included).
std::string SettingsFileIn(const std::string& name);

// The file that `write DEST` writes: DEST/device_config.dat when DEST is a folder, else
// DEST itself, whose folder must exist. The file must be absent or a regular file;
// refused otherwise.
form::Result<std::filesystem::path> ResolveDestination(const std::string& dest);

// The message of a failed write of `file`: "cannot write FILE: reason", or, when the new
// file stands in place of the old one, "FILE: reason".
std::string WriteFailureMessage(const std::filesystem::path& file, const WriteResult& result);

}  // namespace tavrel::cli
