#pragma once
// The owner of a POSIX file descriptor (open and its kin), closed with close.

#include <unistd.h>

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

}  // namespace tavrel
