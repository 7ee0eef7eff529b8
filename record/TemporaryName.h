#pragma once
// The names of the temporary files that a write creates beside device_config.dat: "~tav",
// eight lower-case hexadecimal digits, ".tmp". Short, so that they fit wherever
// device_config.dat fits; recognisable, so that a later write can sweep stale ones. One
// shape for every platform, in its native characters. Not part of the library's
// interface.

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "record/SettingsFile.h"

namespace tavrel::detail {

using NativeChar = NativePath::value_type;

inline constexpr std::string_view kTemporaryPrefix = "~tav";
inline constexpr std::string_view kTemporarySuffix = ".tmp";
inline constexpr std::size_t kTemporaryDigits = 8;
inline constexpr std::string_view kHexDigits = "0123456789abcdef";

// A name for the next temporary file of the process whose id is `processId`, at the
// moment `ticks` (of any clock that moves on). The digits mix both with a count of the
// names this process made, so that writers in one folder at one moment pick different
// names; creating the file exclusively settles any clash that is left.
inline NativePath NewTemporaryFileName(std::uint64_t processId, std::uint64_t ticks) {
    static std::atomic<unsigned> counter{0};
    const std::uint64_t bits =
        (ticks * 0x9E3779B97F4A7C15ull) ^ (processId << 20) ^ counter.fetch_add(1);
    NativePath name(kTemporaryPrefix.begin(), kTemporaryPrefix.end());
    for (int shift = 4 * (kTemporaryDigits - 1); shift >= 0; shift -= 4) {
        name += static_cast<NativeChar>(kHexDigits[(bits >> shift) & 0xF]);
    }
    name.append(kTemporarySuffix.begin(), kTemporarySuffix.end());
    return name;
}

// Whether `name` (a name within its folder) is one of those names.
inline bool IsTemporaryFileName(std::basic_string_view<NativeChar> name) {
    const auto matches = [&](std::size_t at, std::string_view part) {
        return std::equal(part.begin(), part.end(), name.begin() + at,
                          [](char a, NativeChar b) { return static_cast<NativeChar>(a) == b; });
    };
    const auto isHexDigit = [](NativeChar c) {
        return std::find(kHexDigits.begin(), kHexDigits.end(), c) != kHexDigits.end();
    };
    return name.size() == kTemporaryPrefix.size() + kTemporaryDigits + kTemporarySuffix.size() &&
           matches(0, kTemporaryPrefix) &&
           matches(kTemporaryPrefix.size() + kTemporaryDigits, kTemporarySuffix) &&
           std::all_of(name.begin() + kTemporaryPrefix.size(),
                       name.begin() + kTemporaryPrefix.size() + kTemporaryDigits, isHexDigit);
}

// "~tav*.tmp": a folder-search pattern that every one of those names matches (and more,
// which IsTemporaryFileName then tells apart).
inline NativePath TemporaryFileNamePattern() {
    NativePath pattern(kTemporaryPrefix.begin(), kTemporaryPrefix.end());
    pattern += static_cast<NativeChar>('*');
    pattern.append(kTemporarySuffix.begin(), kTemporarySuffix.end());
    return pattern;
}

}  // namespace tavrel::detail
