// libFuzzer target: any bytes as the JSON object of tavrel-cli write --json-in.

#include <cstdio>
#include <cstdlib>

#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string failure = tavrel::fuzz::CheckCliJson({data, size});
    if (!failure.empty()) {
        std::fprintf(stderr, "JSON input: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
