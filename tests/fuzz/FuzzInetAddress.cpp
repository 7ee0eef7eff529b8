// libFuzzer target: any bytes as address text, against the C library's inet_aton.

#include <cstdio>
#include <cstdlib>

#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string failure = tavrel::fuzz::CheckInetAddress({data, size});
    if (!failure.empty()) {
        std::fprintf(stderr, "address text: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
