// Prints what ReadCsv reads from each file named on the command line, for the test that
// compares it with another reader (csv_oracle.py). For each file a line "file", then one
// line per record: its number, "ok" or which fault it has (stray-quote, after-quote,
// unclosed), and each cell as "=" followed by its bytes in hex.

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "form/Csv.h"

namespace {

std::string Kind(const std::optional<tavrel::form::Message>& problem) {
    if (!problem) {
        return "ok";
    }
    if (problem->en.find("does not start with one") != std::string::npos) {
        return "stray-quote";
    }
    if (problem->en.find("after the closing quote") != std::string::npos) {
        return "after-quote";
    }
    if (problem->en.find("never closed") != std::string::npos) {
        return "unclosed";
    }
    return "other";
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", argv[i]);
            return 1;
        }
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        std::printf("file\n");
        for (const tavrel::form::CsvRow& row : tavrel::form::ReadCsv(text)) {
            std::printf("%u %s", row.number, Kind(row.problem).c_str());
            for (const std::string& cell : row.cells) {
                std::printf(" =");
                for (const char c : cell) {
                    std::printf("%02x", static_cast<unsigned char>(c));
                }
            }
            std::printf("\n");
        }
    }
    return 0;
}
