#pragma once
// Loading a settings file as the dialog loads it, and noting what the dialog would not
// have written.

#include <string>
#include <vector>

#include "cli/Files.h"
#include "record/SettingsValues.h"

namespace tavrel::cli {

struct LoadedSettings {
    SettingsValues values;              // what the form shows after loading
    std::vector<std::string> warnings;  // empty when saving writes back the same file
};

// The warnings name, in record order, the file's size when it is not 1036 bytes and each
// field that loading and saving without edits would change, with the reason: a mode
// other than 0/1, an address text that is not plain dotted decimal, a guard index that
// is not an entry of the list, non-zero reserved bytes, bytes after a terminator, a text
// without terminator, a text longer than saving keeps.
LoadedSettings LoadSettings(const InputBytes& file, CodePage cp);

}  // namespace tavrel::cli
