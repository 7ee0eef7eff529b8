#pragma once
// The rules for a device's folder name in a site table: one folder that Windows and Linux
// both accept, and when two names are the same folder.

#include <optional>
#include <string>
#include <string_view>

#include "form/Result.h"

namespace tavrel::form {

// Why `name` (UTF-8) cannot be the name of one folder on both Windows and Linux: empty,
// not text, longer than 255 bytes, "." or "..", a path separator, a control character,
// one of <>:"|?*, a trailing dot or space, a device name Windows reserves (CON, NUL,
// COM1, ...; also with an extension). Nothing when it can.
std::optional<Message> FolderNameProblem(std::string_view name);

// What two names that stand for the same folder have in common: names with the same key
// are repeats. The key is the name's canonical caseless form, NFD(casefold(NFD(name))) with
// Unicode's full case folding, so names are repeats when their letters differ only in case
// (é and É; σ, ς and Σ; ß and SS), as Windows and the FAT32 and exFAT of USB sticks fold them,
// or only in how accented letters are composed (é as one code point or as e and U+0301), as
// macOS's file systems normalise them; and when they differ in both. A file system that folds
// less (NTFS keeps ß and SS apart) would hold some repeats as two folders: the key errs
// towards refusing. A name that is not UTF-8 is its own key.
std::string FolderNameKey(std::string_view name);

}  // namespace tavrel::form
