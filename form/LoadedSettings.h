#pragma once
// Loading a settings file as the dialog loads it, and noting what the dialog would not
// have written: the load warnings.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "form/Result.h"
#include "record/CodePage.h"
#include "record/SettingsValues.h"

namespace tavrel::form {

struct LoadedSettings {
    SettingsValues values;          // what the form shows after loading
    std::vector<Message> warnings;  // empty when saving writes back the same file
};

// `head` is the file's first bytes (only the first 1036 count) and `size` its whole size,
// nothing when it is only known to go on past `head`. The warnings name, in record order,
// the file's size when it is not 1036 bytes and each field that loading and saving without
// edits would change, with the reason: a mode other than 0/1, an address text that is not
// plain dotted decimal, a guard index that is not an entry of the list, non-zero reserved
// bytes, bytes after a terminator, a text without terminator, a text longer than saving
// keeps.
LoadedSettings LoadSettings(std::span<const std::uint8_t> head, std::optional<std::uintmax_t> size,
                            CodePage cp);

}  // namespace tavrel::form
