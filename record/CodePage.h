#pragma once
// Conversions between UTF-16 and 8-bit text in a named code page.
//
// The key is stored as 8-bit text in the "system ANSI code page": on Windows that is
// the real one (CP_ACP); elsewhere it is 950 (Traditional Chinese), so that a key typed
// on any platform gives the device the same bytes as on a Taiwanese Windows PC.

#include <cstddef>
#include <string>
#include <string_view>

namespace tavrel {

using CodePage = unsigned;

// CP_ACP: the system ANSI code page (950 where the platform has none).
inline constexpr CodePage kSystemAnsiCodePage = 0;
inline constexpr CodePage kTraditionalChineseCodePage = 950;
inline constexpr CodePage kUtf8CodePage = 65001;

// Whether text can be converted in this code page on this platform.
bool IsCodePageAvailable(CodePage cp);

// UTF-16 to 8-bit. A character the code page lacks becomes '?', as Windows does.
std::string ToCodePage(std::u16string_view text, CodePage cp = kSystemAnsiCodePage);

// The longest prefix of whole characters whose 8-bit form takes at most maxBytes
// bytes; a multi-byte character (or a surrogate pair) is never split.
std::string ToCodePageFitting(std::u16string_view text, std::size_t maxBytes,
                              CodePage cp = kSystemAnsiCodePage);

// How many code units of `text` ToCodePageFitting converts: the length of the longest
// prefix of whole characters that fits in maxBytes.
std::size_t FittingUnits(std::u16string_view text, std::size_t maxBytes,
                         CodePage cp = kSystemAnsiCodePage);

// The number of bytes ToCodePage would give.
std::size_t CodePageLength(std::u16string_view text, CodePage cp = kSystemAnsiCodePage);

// 8-bit to UTF-16. A byte the code page cannot decode becomes '?'.
std::u16string FromCodePage(std::string_view bytes, CodePage cp = kSystemAnsiCodePage);

}  // namespace tavrel
