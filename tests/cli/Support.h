#pragma once
// Helpers of the tavrel-cli tests: a private folder, the shared fixtures, and running the
// commands either in-process or as the real program.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tavrel::cli::test {

using Bytes = std::vector<std::uint8_t>;

// A new empty folder, removed with everything in it at the end of the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const;

private:
    std::filesystem::path path_;
};

// One of the files in tests/data.
Bytes Fixture(const std::string& name);
Bytes ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const Bytes& bytes);
Bytes ToBytes(const std::string& text);
std::string Utf8(const std::filesystem::path& path);

// The status of a program that was killed because it did not end in time.
inline constexpr int kTimedOut = -2;

struct Outcome {
    int status = -1;  // the exit status; 128 + N when signal N ended it; kTimedOut
    std::string out;
    std::string err;
};

// tavrel::cli::Run with `input` as standard input.
Outcome RunCli(const std::vector<std::string>& args, const std::string& input = "");

// Where the program's standard output goes: a file that Outcome::out holds, or a
// pseudo-terminal (POSIX only).
enum class Output { File, Terminal };

// The tavrel-cli program (or another beside it) as a process, standard input read from
// `inputFile` when given; killed when it has not ended in time (20 seconds, a minute under
// Wine).
Outcome RunProgram(const std::vector<std::string>& args,
                   const std::filesystem::path& inputFile = {}, Output output = Output::File,
                   const std::string& program = TAVREL_CLI_NAME);

}  // namespace tavrel::cli::test
