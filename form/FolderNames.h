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
// are repeats. Letters are compared without their case, as Windows compares them.
std::string FolderNameKey(std::string_view name);

}  // namespace tavrel::form
