// Lookups in the generated code-page-950 table: decoding walks the runs of codes, and
// encoding uses an index from each character to its code, built on first use.

#include "record/CodePage950.h"

#include <array>

#include "record/CodePage950Table.h"

namespace tavrel::detail::cp950 {

namespace {

// A code's place among the characters of kCharacters; nothing when no run holds it.
std::optional<std::size_t> CharacterIndex(std::uint16_t code) {
    std::size_t index = 0;
    for (const CodeRun& run : kRuns) {
        if (code < run.first) {
            break;
        }
        if (code - run.first < run.count) {
            return index + (code - run.first);
        }
        index += run.count;
    }
    return std::nullopt;
}

// Each BMP character's code, 0 for none (no character but U+0000 is written as 0):
// filled on first use, in static storage.
using EncodeIndex = std::array<std::uint16_t, 0x10000>;

const EncodeIndex& TheEncodeIndex() {
    static EncodeIndex index{};
    static const bool built = [] {
        std::size_t i = 0;
        for (const CodeRun& run : kRuns) {
            for (unsigned k = 0; k < run.count; ++k, ++i) {
                std::uint16_t& code = index[kCharacters[i]];
                if (code == 0) {
                    code = static_cast<std::uint16_t>(run.first + k);
                }
            }
        }
        for (const EncodeOverride& entry : kEncodeOverrides) {
            index[entry.character] = entry.code;
        }
        return true;
    }();
    (void)built;
    return index;
}

}  // namespace

std::optional<char16_t> Decode(std::uint16_t code) {
    if (code < kSingleByteEnd) {
        return static_cast<char16_t>(code);
    }
    if (const auto index = CharacterIndex(code)) {
        return kCharacters[*index];
    }
    return std::nullopt;
}

bool IsLeadByte(std::uint8_t byte) {
    return byte >= kSingleByteEnd;
}

std::optional<std::uint16_t> Encode(char16_t character) {
    if (character < kSingleByteEnd) {
        return character;
    }
    const std::uint16_t code = TheEncodeIndex()[character];
    if (code == 0) {
        return std::nullopt;
    }
    return code;
}

}  // namespace tavrel::detail::cp950
