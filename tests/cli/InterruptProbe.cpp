// tavrel-cli at the moment Ctrl-C or Ctrl-Break reaches it, for Wine, which delivers no
// console control events: the handlers installed, a folder made for a write, the summary
// set, and then the console control handler called as Windows calls it.
//
//   tavrel_interrupt_probe FOLDER EVENT   (EVENT: 0 Ctrl-C, 1 Ctrl-Break, 2 close)
#include <windows.h>

#include <filesystem>
#include <string>

#include "cli/Interruption.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        return 2;
    }
    tavrel::cli::EndOnInterruption();
    const std::filesystem::path folder = argv[1];
    tavrel::cli::RemoveFolderIfInterrupted(folder);
    std::filesystem::create_directory(folder);
    tavrel::cli::SetInterruptionSummary("interrupted: 0 of 1 files written");
    // An event the handler leaves to others returns here.
    return tavrel::cli::OnConsoleControl(std::stoul(argv[2])) ? 3 : 4;
}
