#pragma once
// `batch`: one device_config.dat for each row of a table, every row checked before any
// file is written.

#include <optional>
#include <string>

#include "cli/Commands.h"

namespace tavrel::cli {

struct BatchOptions {
    std::string table;                // the CSV table, or - for standard input
    std::string out;                  // the folder that gets one folder per device
    std::optional<std::string> base;  // each row starts from this file, loaded as the dialog
                                      // loads it, instead of from a fresh form
    bool dryRun = false;              // check and print the plan, write nothing
};

// Writes OUT/<name>/device_config.dat for each row, its non-empty cells replacing the
// starting values. Refuses, writing nothing, when any row is refused: each bad cell,
// name or row is listed with its row number. A write that fails stops the run; what was
// written and what was not is listed. Network hints go to the error stream.
int Batch(const BatchOptions& options, CodePage cp, Streams io);

}  // namespace tavrel::cli
