// Ctrl-C and Ctrl-Break end tavrel-cli.exe as SIGINT ends tavrel-cli elsewhere: status 130,
// the folder made for the write in progress removed, a line saying what was written. The
// handler is called by a probe (InterruptProbe.cpp), since Wine delivers no such events.
#include <gtest/gtest.h>

#include "Support.h"

namespace tavrel::cli::test {
namespace {

namespace fs = std::filesystem;

TEST(InterruptedOnWindows, CtrlCAndCtrlBreakEndTheRunLeavingNothingItMade) {
    for (const char* event : {"0", "1"}) {
        const TempFolder dir;
        const Outcome o = RunProgram({Utf8(dir / "device"), event}, {}, Output::File,
                                     "tavrel_interrupt_probe.exe");
        EXPECT_EQ(o.status, 130) << event;
        EXPECT_FALSE(fs::exists(dir / "device")) << event;
        EXPECT_EQ(o.err, "tavrel-cli: interrupted: 0 of 1 files written\n") << event;
    }
    // Closing the console is left to the system's own handler.
    const TempFolder dir;
    const Outcome closed =
        RunProgram({Utf8(dir / "device"), "2"}, {}, Output::File, "tavrel_interrupt_probe.exe");
    EXPECT_EQ(closed.status, 4);
    EXPECT_TRUE(fs::exists(dir / "device"));
}

}  // namespace
}  // namespace tavrel::cli::test
