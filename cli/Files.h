#pragma once
// The files the commands read and write, named on the command line in UTF-8.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace tavrel {
struct WriteResult;
}

namespace tavrel::cli {

std::filesystem::path PathFromUtf8(const std::string& name);
std::string PathToUtf8(const std::filesystem::path& path);

// What was read from a file: its first bytes and its whole size.
struct InputBytes {
    std::vector<std::uint8_t> head;  // at most the `keep` bytes asked for
    std::uintmax_t size = 0;
};

// Reads the file `name` ("-" for `in`), keeping at most `keep` bytes and counting the
// rest. Nothing, with `error` set, when it cannot be opened or read.
std::optional<InputBytes> ReadInput(const std::string& name, std::istream& in, std::size_t keep,
                                    std::string& error);

// The file that `write DEST` writes: DEST/device_config.dat when DEST is a folder, else
// DEST itself, whose folder must exist. Nothing, with `error` set, otherwise.
std::optional<std::filesystem::path> ResolveDestination(const std::string& dest,
                                                        std::string& error);

// Why WriteSettingsFile failed, in a few words.
std::string DescribeWriteFailure(const WriteResult& result);

}  // namespace tavrel::cli
