#pragma once
// The names of the temporary files that a write creates beside device_config.dat: "~tav",
// eight lower-case hexadecimal digits, ".tmp". Short, so that they fit wherever
// device_config.dat fits; recognisable, so that a later write can sweep stale ones. Not
// part of the library's interface.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tavrel::detail {

inline constexpr std::string_view kTemporaryPrefix = "~tav";
inline constexpr std::string_view kTemporarySuffix = ".tmp";
inline constexpr std::size_t kTemporaryDigits = 8;
inline constexpr char kHexDigits[] = "0123456789abcdef";

// The name whose digits are the low 32 bits of `bits`.
template <typename Char>
std::basic_string<Char> TemporaryFileName(std::uint64_t bits) {
    std::basic_string<Char> name(kTemporaryPrefix.begin(), kTemporaryPrefix.end());
    for (int shift = 4 * (kTemporaryDigits - 1); shift >= 0; shift -= 4) {
        name += static_cast<Char>(kHexDigits[(bits >> shift) & 0xF]);
    }
    name.append(kTemporarySuffix.begin(), kTemporarySuffix.end());
    return name;
}

// Whether `name` is one of those names.
template <typename Char>
bool IsTemporaryFileName(std::basic_string_view<Char> name) {
    const auto matches = [&](std::size_t at, std::string_view part) {
        return std::equal(part.begin(), part.end(), name.begin() + at,
                          [](char a, Char b) { return static_cast<Char>(a) == b; });
    };
    const std::string_view hex(kHexDigits, 16);
    return name.size() == kTemporaryPrefix.size() + kTemporaryDigits + kTemporarySuffix.size() &&
           matches(0, kTemporaryPrefix) &&
           matches(kTemporaryPrefix.size() + kTemporaryDigits, kTemporarySuffix) &&
           std::all_of(name.begin() + kTemporaryPrefix.size(),
                       name.begin() + kTemporaryPrefix.size() + kTemporaryDigits, [&](Char c) {
                           return c < 0x80 && hex.find(static_cast<char>(c)) != hex.npos;
                       });
}

}  // namespace tavrel::detail
