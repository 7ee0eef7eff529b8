#pragma once
// Address values and the dotted text the record stores for them.

#include <optional>
#include <string>
#include <string_view>

#include "record/CodePage.h"
#include "record/DeviceSettingsRecord.h"

namespace tavrel {

// "a.b.c.d" in plain decimal, first field from the most significant byte; 0 -> "0.0.0.0".
std::u16string AddressToText(AddressValue value);

// The BSD inet_addr rules: one to four parts separated by '.', each decimal, octal
// (leading 0) or hexadecimal (leading 0x/0X); the last part fills the remaining bytes;
// parsing stops at the first NUL or whitespace, and anything after whitespace is
// ignored. Returns the address as an AddressValue, or nothing when the text is not an
// address (the empty text included). Reads only text.size() bytes.
std::optional<AddressValue> ParseInetAddress(std::string_view text);

// An address text slot (its 32 raw code units, as DeviceSettingsRecord::GetUnits16
// gives them) to an address value: converted to 8-bit in the code page, parsed with
// ParseInetAddress; text that is not an address gives 0xFFFFFFFF.
AddressValue TextToAddress(std::u16string_view slotUnits, CodePage cp = kSystemAnsiCodePage);

// Four decimal fields 0-255 of one to three digits, separated by dots and nothing else:
// what the address control takes when it is typed into. Leading zeros are decimal
// ("010" is 10), unlike the inet_addr rules above.
std::optional<AddressValue> ParseDottedDecimal(std::u16string_view text);

// Whether text is what AddressToText writes: four plain decimal fields 0-255.
bool IsCanonicalAddressText(std::u16string_view text);

}  // namespace tavrel
