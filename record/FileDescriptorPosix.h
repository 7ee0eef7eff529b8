#pragma once
// The owner of a POSIX file descriptor (open and its kin), closed with close.

#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <span>

#include "record/UniqueHandle.h"

namespace tavrel {

struct DescriptorPolicy {
    using Value = int;
    static Value Invalid() noexcept { return -1; }
    static bool IsValid(Value fd) noexcept { return fd >= 0; }
    static void Close(Value fd) noexcept { close(fd); }
};

// What open returns: any negative value owns nothing.
using Descriptor = UniqueHandle<DescriptorPolicy>;

// Reads until `buffer` is full, the file ends or a read fails; returns the count read, and
// the errno of a failed read in `error` (0 when none).
inline std::size_t ReadFully(int fd, std::span<std::uint8_t> buffer, int& error) {
    error = 0;
    std::size_t done = 0;
    while (done < buffer.size()) {
        const ssize_t n = read(fd, buffer.data() + done, buffer.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            error = errno;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

}  // namespace tavrel
