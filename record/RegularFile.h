#pragma once
// What stands at a path, and reading a regular file without ever waiting on it: a FIFO
// without a writer, a device or a socket is told by its kind and never read, so that
// neither the stored copy nor a file named on the command line can hang a reader.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "record/NativePath.h"

namespace tavrel {

enum class FileKind { Missing, Regular, Folder, SymbolicLink, Device, Pipe, Socket, Other };

struct FileStatus {
    FileKind kind = FileKind::Other;
    int systemError = 0;  // errno or GetLastError() when the kind cannot be told
};

// What is at `path` itself; a symbolic link there is not followed.
FileStatus LinkStatus(const NativePath& path);

struct RegularFileRead {
    // Regular once the file is open, with a systemError only when a read then failed
    // (`bytes` holds what came before); otherwise what stands there, or why that is
    // not known.
    FileStatus status;
    std::vector<std::uint8_t> bytes;  // the file's first bytes, at most the limit
    bool more = false;                // the file goes on past the limit
    std::uintmax_t size = 0;          // the file's size as the system reports it
};

// Reads at most `limit` bytes and one more through `fill`, which fills the buffer it is
// given as far as the input goes and returns the count; `bytes` keeps at most `limit` of
// them. Returns whether the input went on past `limit`.
template <typename Fill>
bool ReadAtMost(std::size_t limit, std::vector<std::uint8_t>& bytes, Fill fill) {
    bytes.resize(limit + 1);
    const std::size_t done = fill(std::span<std::uint8_t>(bytes));
    bytes.resize(done > limit ? limit : done);
    return done > limit;
}

// Reads at most `limit` bytes of `path` when it is a regular file (a link to one is
// followed), and one more to tell whether there is more. Nothing else is opened for
// reading, and no open or read waits for a writer.
RegularFileRead ReadRegularFile(const NativePath& path, std::size_t limit);

}  // namespace tavrel
