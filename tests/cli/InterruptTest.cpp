// tavrel-cli stopped in the middle of a write, as real processes: Ctrl-C and SIGTERM
// leave no temporary file, and one left by a hard kill goes with the next write into the
// folder while a running writer's stays. The writes are slowed down by a flush that takes
// two seconds (SlowFileFlush.cpp), so that the signal reaches them mid-write.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <thread>

#include "Support.h"

extern char** environ;

namespace tavrel::cli::test {
namespace {

namespace fs = std::filesystem;

// The temporary files in `folder`.
std::vector<std::string> Temporaries(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;  // a folder not made yet holds none
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("~tav")) {
            names.push_back(name);
        }
    }
    return names;
}

// `tavrel-cli write DEST --rings 9` (or the command line given) with the slow flush,
// standard input and output discarded, standard error into `err` when it is given.
class SlowWriter {
public:
    explicit SlowWriter(const fs::path& dest)
        : SlowWriter({"write", dest.string(), "--rings", "9"}) {}
    explicit SlowWriter(std::vector<std::string> command, const fs::path& err = {}) {
        std::vector<std::string> env{std::string("LD_PRELOAD=") + TAVREL_SLOW_FLUSH_PATH,
                                     "ASAN_OPTIONS=verify_asan_link_order=0"};
        for (char** e = environ; *e != nullptr; ++e) {
            if (!std::string_view(*e).starts_with("LD_PRELOAD=")) {
                env.emplace_back(*e);
            }
        }
        std::vector<std::string> args{TAVREL_CLI_PATH};
        args.insert(args.end(), command.begin(), command.end());
        std::vector<char*> argv, envp;
        for (std::string& a : args) {
            argv.push_back(a.data());
        }
        for (std::string& e : env) {
            envp.push_back(e.data());
        }
        argv.push_back(nullptr);
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        for (const int fd : {0, 1, 2}) {
            const bool toErr = fd == 2 && !err.empty();
            posix_spawn_file_actions_addopen(&actions, fd, toErr ? err.c_str() : "/dev/null",
                                             fd == 0 ? O_RDONLY : O_WRONLY | O_CREAT, 0600);
        }
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
    }
    ~SlowWriter() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            Wait();
        }
    }

    // The name of its temporary file, once it appears in `folder` beside those in `known`.
    std::optional<std::string> AwaitTemporary(const fs::path& folder,
                                              const std::vector<std::string>& known = {}) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (pid_ > 0 && std::chrono::steady_clock::now() < end) {
            for (const std::string& name : Temporaries(folder)) {
                if (std::find(known.begin(), known.end(), name) == known.end()) {
                    return name;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return std::nullopt;
    }
    void Signal(int signal) { kill(pid_, signal); }
    // The raw wait status.
    int Wait() {
        int status = -1;
        if (pid_ > 0) {
            waitpid(pid_, &status, 0);
            pid_ = -1;
        }
        return status;
    }

private:
    pid_t pid_ = -1;
};

struct SignalCase {
    const char* name;
    int signal;
    int status;  // the exit status: 128 + the signal's number
};

class InterruptedWrite : public testing::TestWithParam<SignalCase> {};

TEST_P(InterruptedWrite, LeavesNoTemporaryFileAndThePreviousFile) {
    const SignalCase& c = GetParam();
    const TempFolder dir;
    const Bytes previous = Fixture("full-form.dat");
    WriteBytes(dir / "device_config.dat", previous);

    SlowWriter writer(dir.path());
    ASSERT_TRUE(writer.AwaitTemporary(dir.path())) << "the write never started";
    writer.Signal(c.signal);
    const int status = writer.Wait();

    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), c.status);
    EXPECT_TRUE(Temporaries(dir.path()).empty());
    EXPECT_EQ(ReadBytes(dir / "device_config.dat"), previous);
}

INSTANTIATE_TEST_SUITE_P(Signals, InterruptedWrite,
                         testing::Values(SignalCase{"Interrupt", SIGINT, 130},
                                         SignalCase{"Terminate", SIGTERM, 143},
                                         SignalCase{"HangUp", SIGHUP, 129}),
                         [](const auto& info) { return std::string(info.param.name); });

// A batch interrupted while it writes a device's file leaves neither the file's temporary
// nor the folder it had just created for it, and says what it had written.
TEST(InterruptedBatch, LeavesNothingItMadeForTheDeviceBeingWritten) {
    const TempFolder dir;
    WriteBytes(dir / "site.csv", ToBytes("name,ringLimit\nfirst,1\nsecond,2\n"));
    fs::create_directories(dir / "out");
    SlowWriter batch({"batch", (dir / "site.csv").string(), "--out", (dir / "out").string()},
                     dir / "err.txt");
    ASSERT_TRUE(batch.AwaitTemporary(dir / "out" / "first")) << "the write never started";
    batch.Signal(SIGINT);
    const int status = batch.Wait();
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_TRUE(fs::is_empty(dir / "out"));
    const Bytes err = ReadBytes(dir / "err.txt");
    EXPECT_NE(std::string(err.begin(), err.end())
                  .find("tavrel-cli: interrupted: 0 of 2 files written into "),
              std::string::npos)
        << std::string(err.begin(), err.end());
}

TEST(KilledWrite, ItsTemporaryFileGoesWithTheNextWriteWhileARunningWritersStays) {
    const TempFolder dir;
    SlowWriter killed(dir.path());
    const std::optional<std::string> stale = killed.AwaitTemporary(dir.path());
    ASSERT_TRUE(stale);
    killed.Signal(SIGKILL);
    killed.Wait();
    ASSERT_EQ(Temporaries(dir.path()), std::vector<std::string>{*stale});

    SlowWriter running(dir.path());
    const std::optional<std::string> live = running.AwaitTemporary(dir.path(), {*stale});
    ASSERT_TRUE(live);

    const Outcome next = RunProgram({"write", Utf8(dir.path()), "--rings", "4"});
    EXPECT_EQ(next.status, 0) << next.err;
    EXPECT_EQ(Temporaries(dir.path()), std::vector<std::string>{*live});

    const int status = running.Wait();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(Temporaries(dir.path()).empty());
    const Outcome shown = RunProgram({"show", Utf8(dir / "device_config.dat"), "--json"});
    EXPECT_NE(shown.out.find("\"ringLimit\": 9"), std::string::npos) << shown.out;
}

}  // namespace
}  // namespace tavrel::cli::test
