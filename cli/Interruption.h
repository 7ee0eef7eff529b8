#pragma once
// Ctrl-C, Ctrl-Break, SIGINT, SIGTERM and SIGHUP end tavrel-cli at once, leaving nothing it
// made half-done: the temporary file of the write in progress, and the folder that `batch`
// created for the device being written, go with it; a line on standard error says what
// the run had written. The previous file at the destination stays as it was.

#include <filesystem>
#include <string_view>

namespace tavrel::cli {

// Makes Ctrl-C and the ending signals end the process as described, with the status the
// shell reports for them (128 + the signal's number; 130 for Ctrl-C on Windows). A signal
// the caller chose to ignore stays ignored.
void EndOnInterruption();

// The folder about to be created for the write that follows; it is removed, if empty,
// when the run is interrupted before KeepFolder.
void RemoveFolderIfInterrupted(const std::filesystem::path& folder);
void KeepFolder();

// The line printed on standard error when the run is interrupted (a line break follows).
void SetInterruptionSummary(std::string_view text);

#ifdef _WIN32
// The console control handler EndOnInterruption installs (a PHANDLER_ROUTINE): Ctrl-C and
// Ctrl-Break end the process; any other event is left to the next handler.
int __stdcall OnConsoleControl(unsigned long event);
#endif

}  // namespace tavrel::cli
