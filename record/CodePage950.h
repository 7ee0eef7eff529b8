#pragma once
// Code page 950 as data, for the platforms whose C library cannot convert it (the browser
// page): the same characters and codes as the Linux conversion, from the generated table
// record/CodePage950Table.h. A code here is one byte below 0x100, or a lead byte and a
// trail byte as lead * 0x100 + trail.

#include <cstdint>
#include <optional>

namespace tavrel::detail::cp950 {

// The character a single byte or a double-byte code decodes to; nothing when it decodes
// to none (a lead byte alone included).
std::optional<char16_t> Decode(std::uint16_t code);

// Whether a byte leads a double-byte code rather than being a character of its own.
bool IsLeadByte(std::uint8_t byte);

// The code that a character is written as; nothing when the code page lacks it.
std::optional<std::uint16_t> Encode(char16_t character);

}  // namespace tavrel::detail::cp950
