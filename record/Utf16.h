#pragma once
// UTF-16 code units and the characters they form: surrogate tests, stepping over whole
// characters, and cutting text without parting a surrogate pair. Every place that has to
// treat a pair as one character uses these.

#include <cstddef>
#include <string>
#include <string_view>

namespace tavrel::utf16 {

// The first and second halves of a surrogate pair. Take char32_t so that code points
// are tested by the same rule as code units.
constexpr bool IsHighSurrogate(char32_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char32_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}
constexpr bool IsSurrogate(char32_t u) {
    return u >= 0xD800 && u <= 0xDFFF;
}

// How many code units the character that starts at text[i] takes: 2 for a surrogate
// pair, 1 otherwise (half a pair on its own included). Requires i < text.size().
constexpr std::size_t CharacterUnits(std::u16string_view text, std::size_t i) {
    return IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]) ? 2 : 1;
}

// Whether the units are exactly one character: one unit that is no surrogate, or a pair.
constexpr bool IsOneCharacter(std::u16string_view units) {
    if (units.size() == 1) {
        return !IsSurrogate(units[0]);
    }
    return units.size() == 2 && IsHighSurrogate(units[0]) && IsLowSurrogate(units[1]);
}

// The code point of the character that starts at text[i] (see CharacterUnits); half a
// pair on its own is returned as itself. Requires i < text.size().
constexpr char32_t CodePointAt(std::u16string_view text, std::size_t i) {
    if (CharacterUnits(text, i) == 2) {
        return 0x10000 + ((char32_t{text[i]} - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00);
    }
    return text[i];
}

// Appends a code point as one unit, or as a pair above U+FFFF. Requires cp <= U+10FFFF.
inline void AppendCodePoint(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
    } else {
        out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
        out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
}

// At most `units` code units of text, one fewer when the cut would part a surrogate pair.
constexpr std::u16string_view WholeCharacterPrefix(std::u16string_view text, std::size_t units) {
    if (text.size() <= units) {
        return text;
    }
    const bool partsPair =
        units > 0 && IsHighSurrogate(text[units - 1]) && IsLowSurrogate(text[units]);
    return text.substr(0, partsPair ? units - 1 : units);
}

}  // namespace tavrel::utf16
