#pragma once
// `table`: settings files back to one row each, in the columns that `batch` reads, so
// that a site's files can be edited in a spreadsheet and written again.

#include <string>
#include <vector>

#include "cli/Commands.h"

namespace tavrel::cli {

// One row per FILE (a settings file, or a folder holding device_config.dat), named after
// the folder that holds the file, with the values the form shows after loading it: as
// aligned columns, or as CSV (UTF-8 with a byte order mark, rows ending in CR LF) that
// `batch` reads back. A file that is not what the dialog writes is named on the error
// stream; 1 when a file cannot be read (the others are still listed).
int Table(const std::vector<std::string>& files, bool csv, CodePage cp, Streams io);

}  // namespace tavrel::cli
