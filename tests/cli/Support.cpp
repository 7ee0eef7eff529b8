#include "Support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <thread>

#include "cli/Cli.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace tavrel::cli::test {

namespace fs = std::filesystem;

namespace {

// Long enough for a start under Wine; a program that takes longer hangs.
#ifdef _WIN32
constexpr int kProgramTimeoutSeconds = 60;
#else
constexpr int kProgramTimeoutSeconds = 20;
#endif

std::string ReadText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

#ifdef _WIN32

// A program beside the tests.
fs::path ProgramPath(const std::string& name) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return fs::path(self).parent_path() / name;
}

// One argument as the C runtime's command-line parsing reads it back.
std::wstring QuoteArgument(const std::wstring& arg) {
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

HANDLE OpenInherited(const fs::path& path, bool write) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ,
                       &inherit, write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

int Spawn(const std::string& program, const std::vector<std::string>& args, const fs::path& in,
          const fs::path& out, const fs::path& err, Output) {
    std::wstring commandLine = QuoteArgument(ProgramPath(program).wstring());
    for (const std::string& arg : args) {
        commandLine +=
            L" " + QuoteArgument(fs::path(std::u8string(arg.begin(), arg.end())).wstring());
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = OpenInherited(in, false);
    startup.hStdOutput = OpenInherited(out, true);
    startup.hStdError = OpenInherited(err, true);
    PROCESS_INFORMATION process{};
    DWORD status = static_cast<DWORD>(-1);
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                       nullptr, nullptr, &startup, &process)) {
        if (WaitForSingleObject(process.hProcess, kProgramTimeoutSeconds * 1000) == WAIT_TIMEOUT) {
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, INFINITE);
            status = static_cast<DWORD>(kTimedOut);
        } else {
            GetExitCodeProcess(process.hProcess, &status);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    for (HANDLE h : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) {
        CloseHandle(h);
    }
    return static_cast<int>(status);
}

#else

// A pseudo-terminal for the program's standard output; what is written to it is not kept.
class Terminal {
public:
    Terminal() : master_(posix_openpt(O_RDWR | O_NOCTTY)) {
        if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0) {
            if (const char* name = ptsname(master_)) {
                path_ = name;
            }
        }
        EXPECT_FALSE(path_.empty()) << "no pseudo-terminal";
    }
    ~Terminal() {
        if (master_ >= 0) {
            close(master_);
        }
    }
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;
    const std::string& path() const { return path_; }

private:
    int master_;
    std::string path_;
};

int Spawn(const std::string& program, const std::vector<std::string>& args, const fs::path& in,
          const fs::path& out, const fs::path& err, Output output) {
    std::vector<std::string> all{(fs::path(TAVREL_CLI_PATH).parent_path() / program).string()};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    std::optional<Terminal> terminal;
    if (output == Output::Terminal) {
        terminal.emplace();
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    if (terminal) {
        posix_spawn_file_actions_addopen(&actions, 1, terminal->path().c_str(), O_WRONLY | O_NOCTTY,
                                         0);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
    }
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid;
    int status = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::seconds(kProgramTimeoutSeconds);
        int wait = 0;
        while ((wait = waitpid(pid, &status, WNOHANG)) == 0 &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        if (wait == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            status = kTimedOut;
        } else if (WIFSIGNALED(status)) {
            status = 128 + WTERMSIG(status);
        } else {
            status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    return status;
}

#endif

}  // namespace

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = fs::temp_directory_path() /
            ("tavrel-cli-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    fs::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

fs::path TempFolder::operator/(const std::string& name) const {
    return path_ / fs::path(std::u8string(name.begin(), name.end()));
}

Bytes Fixture(const std::string& name) {
    const Bytes bytes = ReadBytes(fs::path(TAVREL_TEST_DATA) / name);
    EXPECT_FALSE(bytes.empty()) << "fixture " << name;
    return bytes;
}

Bytes ReadBytes(const fs::path& path) {
    return ToBytes(ReadText(path));
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

Bytes ToBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

Outcome RunCli(const std::vector<std::string>& args, const std::string& input) {
    std::istringstream in(input);
    std::ostringstream out, err;
    Outcome outcome;
    outcome.status = Run(args, in, out, err);
    outcome.out = out.str();
    outcome.err = err.str();
    return outcome;
}

Outcome RunProgram(const std::vector<std::string>& args, const fs::path& inputFile, Output output,
                   const std::string& program) {
    const TempFolder streams;
    const fs::path in = inputFile.empty() ? streams / "in" : inputFile;
    if (inputFile.empty()) {
        WriteBytes(in, {});
    }
    Outcome outcome;
    outcome.status = Spawn(program, args, in, streams / "out", streams / "err", output);
    outcome.out = ReadText(streams / "out");
    outcome.err = ReadText(streams / "err");
    return outcome;
}

}  // namespace tavrel::cli::test
