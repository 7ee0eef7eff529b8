// libFuzzer target: any bytes as a site table (CSV).

#include <cstdio>
#include <cstdlib>

#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string failure = tavrel::fuzz::CheckCsv({data, size});
    if (!failure.empty()) {
        std::fprintf(stderr, "table: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
