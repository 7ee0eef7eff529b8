#pragma once
// The flush of a folder's entries that ends a write (fsync on POSIX), replaceable so that
// tests can reproduce a medium that fails there, or another writer that moves its file
// in at that moment. Not part of the library's interface.

namespace tavrel::detail {

// Flushes the open folder `folderFd`; 0, or the errno of the failure.
using FolderFlush = int (*)(int folderFd);

// Makes `flush` the folder flush of every later write; returns the one it replaces.
FolderFlush ReplaceFolderFlush(FolderFlush flush);

}  // namespace tavrel::detail
