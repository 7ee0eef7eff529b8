// libFuzzer target: any bytes as the file that tavrel-cli show and check read.

#include <cstdio>
#include <cstdlib>

#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string failure = tavrel::fuzz::CheckCliShow({data, size});
    if (!failure.empty()) {
        std::fprintf(stderr, "show/check input: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
