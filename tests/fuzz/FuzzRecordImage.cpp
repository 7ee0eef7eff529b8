// libFuzzer target: any bytes as device_config.dat.

#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "FuzzChecks.h"

namespace {

const std::filesystem::path& ScratchFile() {
    static const std::filesystem::path path = [] {
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove(ScratchFile(), ignored);
        });
        return tavrel::fuzz::ProcessScratchFile();
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string failure = tavrel::fuzz::CheckRecordImage({data, size}, ScratchFile());
    if (!failure.empty()) {
        std::fprintf(stderr, "record image: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
