// The fuzz targets' saved corpus, replayed through the same checks in every build.

#include <gtest/gtest.h>

#include <system_error>

#include "EmbeddedCorpus.h"
#include "FuzzChecks.h"

namespace tavrel::fuzz {
namespace {

class CorpusReplay : public testing::Test {
protected:
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove(scratch_, ignored);
    }

    // Runs `check` on every saved input of `target`; the target must have some.
    template <typename Check>
    void Replay(std::string_view target, Check check) {
        bool any = false;
        for (const CorpusInput& input : EmbeddedCorpus()) {
            if (input.target != target) {
                continue;
            }
            any = true;
            EXPECT_EQ(check(std::span(input.data, input.size)), "") << target << "/" << input.name;
        }
        EXPECT_TRUE(any) << "no saved inputs for " << target;
    }

    std::filesystem::path scratch_ = ProcessScratchFile();
};

TEST_F(CorpusReplay, RecordImage) {
    Replay("record_image", [&](auto bytes) { return CheckRecordImage(bytes, scratch_); });
}

TEST_F(CorpusReplay, InetAddress) {
    Replay("inet_address", [](auto bytes) { return CheckInetAddress(bytes); });
}

TEST_F(CorpusReplay, CliJson) {
    Replay("cli_json", [](auto bytes) { return CheckCliJson(bytes); });
}

TEST_F(CorpusReplay, CliShow) {
    Replay("cli_show", [](auto bytes) { return CheckCliShow(bytes); });
}

TEST_F(CorpusReplay, Csv) {
    Replay("csv", [](auto bytes) { return CheckCsv(bytes); });
}

}  // namespace
}  // namespace tavrel::fuzz
