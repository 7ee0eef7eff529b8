// A strict UTF-8 codec of our own (no overlong forms, no surrogates), so that the same
// bytes are refused on every platform, and East Asian widths for aligning columns.
#include "form/Utf8.h"

#include <cstdint>
#include <cstdio>

#include "record/Utf16.h"

namespace tavrel::form {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

using utf16::IsSurrogate;

// Decodes one code point starting at text[i]; nothing when the sequence is malformed
// (overlong forms, surrogates and values past U+10FFFF included).
std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[k]); };
    const std::uint8_t lead = byte(i);
    std::size_t length;
    char32_t cp;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (text.size() - i < length) {
        return std::nullopt;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            return std::nullopt;
        }
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[length] || cp > 0x10FFFF || IsSurrogate(cp)) {
        return std::nullopt;
    }
    i += length;
    return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Walks UTF-16 text by code point; an unpaired surrogate is passed on as itself.
template <typename F>
void ForEachCodePoint(std::u16string_view text, F f) {
    for (std::size_t i = 0; i < text.size(); i += utf16::CharacterUnits(text, i)) {
        f(utf16::CodePointAt(text, i));
    }
}

bool IsWide(char32_t cp) {
    return (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0x303E) ||
           (cp >= 0x3041 && cp <= 0xA4CF) || (cp >= 0xAC00 && cp <= 0xD7A3) ||
           (cp >= 0xF900 && cp <= 0xFAFF) || (cp >= 0xFE30 && cp <= 0xFE4F) ||
           (cp >= 0xFF00 && cp <= 0xFF60) || (cp >= 0xFFE0 && cp <= 0xFFE6) ||
           (cp >= 0x20000 && cp <= 0x3FFFD);
}

}  // namespace

std::optional<std::u16string> Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::optional<char32_t> cp = DecodeUtf8(text, i);
        if (!cp) {
            return std::nullopt;
        }
        utf16::AppendCodePoint(out, *cp);
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    ForEachCodePoint(text,
                     [&](char32_t cp) { AppendUtf8(out, IsSurrogate(cp) ? kReplacement : cp); });
    return out;
}

std::size_t DisplayWidth(std::string_view utf8) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::optional<char32_t> cp = DecodeUtf8(utf8, i);
        if (!cp) {
            ++i;
            ++width;
            continue;
        }
        width += IsWide(*cp) ? 2 : 1;
    }
    return width;
}

std::string Quoted(std::u16string_view text, std::size_t limit) {
    std::string out = "\"";
    std::size_t characters = 0;
    ForEachCodePoint(text, [&](char32_t cp) {
        if (++characters > limit) {
            if (characters == limit + 1) {
                out += "…";
            }
        } else if (cp < 0x20 || cp == 0x7F || IsSurrogate(cp)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(cp));
            out += escape;
        } else if (cp == '"' || cp == '\\') {
            out += '\\';
            out += static_cast<char>(cp);
        } else {
            AppendUtf8(out, cp);
        }
    });
    out += '"';
    return out;
}

std::string AddressUtf8(AddressValue address) {
    return Utf16ToUtf8(AddressToText(address));
}

}  // namespace tavrel::form
