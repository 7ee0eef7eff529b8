// Address values to dotted text and back: the record's plain decimal form, and the BSD
// inet_addr rules for what a foreign file may hold, written here rather than taken from
// the platform so that every platform reads an address the same way.

#include "record/AddressText.h"

#include <array>
#include <cstdint>

namespace tavrel {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whitespace in the C locale.
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int DigitValue(char c, unsigned base) {
    int value = -1;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    return value >= 0 && static_cast<unsigned>(value) < base ? value : -1;
}

}  // namespace

std::u16string AddressToText(AddressValue value) {
    std::u16string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        if (!text.empty()) {
            text += u'.';
        }
        const unsigned field = (value >> shift) & 0xFF;
        for (const char c : std::to_string(field)) {
            text += static_cast<char16_t>(c);
        }
    }
    return text;
}

std::optional<AddressValue> ParseInetAddress(std::string_view text) {
    // The end of the view reads as a NUL, so the text ends at whichever comes first.
    std::size_t pos = 0;
    const auto peek = [&](std::size_t at) { return at < text.size() ? text[at] : '\0'; };

    // The dotted parts before the last one, each a byte; the last part fills the rest.
    std::array<std::uint32_t, 3> leading{};
    std::size_t leadingCount = 0;
    std::uint64_t last = 0;
    for (;;) {
        // A part is a C integer constant: 0x/0X and a hex digit start hexadecimal, a
        // leading 0 octal, anything else decimal. No sign and no space before it.
        if (!IsDigit(peek(pos))) {
            return std::nullopt;
        }
        unsigned base = 10;
        if (peek(pos) == '0') {
            const char next = peek(pos + 1);
            if ((next == 'x' || next == 'X') && DigitValue(peek(pos + 2), 16) >= 0) {
                base = 16;
                pos += 2;
            } else {
                base = 8;
            }
        }
        std::uint64_t value = 0;
        for (int digit; (digit = DigitValue(peek(pos), base)) >= 0; ++pos) {
            value = value * base + static_cast<unsigned>(digit);
            if (value > 0xFFFFFFFFu) {
                return std::nullopt;
            }
        }
        if (peek(pos) != '.') {
            last = value;
            break;
        }
        if (leadingCount == leading.size() || value > 0xFF) {
            return std::nullopt;
        }
        leading[leadingCount++] = static_cast<std::uint32_t>(value);
        ++pos;
    }

    // The text ends here, or at whitespace after which anything may follow.
    const char end = peek(pos);
    if (end != '\0' && !IsSpace(end)) {
        return std::nullopt;
    }
    static constexpr std::array<std::uint64_t, 4> kLastPartMax{0xFFFFFFFF, 0xFFFFFF, 0xFFFF, 0xFF};
    if (last > kLastPartMax[leadingCount]) {
        return std::nullopt;
    }
    AddressValue address = static_cast<AddressValue>(last);
    for (std::size_t i = 0; i < leadingCount; ++i) {
        address |= leading[i] << (24 - 8 * i);
    }
    return address;
}

AddressValue TextToAddress(std::u16string_view slotUnits, CodePage cp) {
    // The slot as 8-bit text, within the 32 bytes the slot's text may take; the parser
    // stops at the terminator.
    const std::string text = ToCodePageFitting(slotUnits, kAddressSlotUnits, cp);
    return ParseInetAddress(text).value_or(0xFFFFFFFF);
}

std::optional<AddressValue> ParseDottedDecimal(std::u16string_view text) {
    AddressValue value = 0;
    std::size_t pos = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (pos >= text.size() || text[pos] != u'.') {
                return std::nullopt;
            }
            ++pos;
        }
        const std::size_t start = pos;
        unsigned field = 0;
        while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9' && pos - start < 3) {
            field = field * 10 + (text[pos] - u'0');
            ++pos;
        }
        if (pos == start || field > 255) {
            return std::nullopt;
        }
        value = (value << 8) | field;
    }
    if (pos != text.size()) {
        return std::nullopt;
    }
    return value;
}

bool IsCanonicalAddressText(std::u16string_view text) {
    const std::optional<AddressValue> value = ParseDottedDecimal(text);
    return value && AddressToText(*value) == text;
}

}  // namespace tavrel
