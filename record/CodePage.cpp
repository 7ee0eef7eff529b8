// The code-page conversions, character by character over the platform's converter, so
// that fitting text into a byte limit never splits a character and every platform
// gives the same '?' for what a code page lacks.

#include "record/CodePage.h"

#include "record/CodePageConverter.h"
#include "record/Utf16.h"

namespace tavrel {

namespace {

using detail::CodePageConverter;

// The longest sequence of bytes that one character takes in any code page we meet
// (UTF-8 needs four).
constexpr std::size_t kMaxCharBytes = 4;

// One character to bytes; '?' for a character the code page lacks and for half a
// surrogate pair, as Windows gives its default character.
std::string EncodeCharacter(CodePageConverter& converter, std::u16string_view character) {
    const char16_t first = character.front();
    if (character.size() == 1 && utf16::IsSurrogate(first)) {
        return "?";
    }
    if (!converter.Available()) {
        return first < 0x80 ? std::string(1, static_cast<char>(first)) : std::string("?");
    }
    if (auto bytes = converter.Encode(character)) {
        return *std::move(bytes);
    }
    return "?";
}

struct Encoded {
    std::string bytes;
    std::size_t units = 0;  // code units of `text` converted
};

// Converts whole characters while they fit in maxBytes.
Encoded Encode(std::u16string_view text, std::size_t maxBytes, CodePage cp) {
    CodePageConverter converter(cp);
    Encoded out;
    while (out.units < text.size()) {
        const std::size_t units = utf16::CharacterUnits(text, out.units);
        const std::string bytes = EncodeCharacter(converter, text.substr(out.units, units));
        if (bytes.size() > maxBytes - out.bytes.size()) {
            break;
        }
        out.bytes += bytes;
        out.units += units;
    }
    return out;
}

}  // namespace

bool IsCodePageAvailable(CodePage cp) {
    return CodePageConverter(cp).Available();
}

std::string ToCodePage(std::u16string_view text, CodePage cp) {
    return Encode(text, std::string::npos, cp).bytes;
}

std::string ToCodePageFitting(std::u16string_view text, std::size_t maxBytes, CodePage cp) {
    return Encode(text, maxBytes, cp).bytes;
}

std::size_t FittingUnits(std::u16string_view text, std::size_t maxBytes, CodePage cp) {
    return Encode(text, maxBytes, cp).units;
}

std::size_t CodePageLength(std::u16string_view text, CodePage cp) {
    return ToCodePage(text, cp).size();
}

std::u16string FromCodePage(std::string_view bytes, CodePage cp) {
    CodePageConverter converter(cp);
    std::u16string out;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (!converter.Available()) {
            out += byte < 0x80 ? static_cast<char16_t>(byte) : u'?';
            ++i;
            continue;
        }
        // The shortest run of bytes that forms one character; a byte that starts none
        // becomes '?' and decoding goes on with the next byte.
        bool decoded = false;
        for (std::size_t n = 1; n <= kMaxCharBytes && i + n <= bytes.size(); ++n) {
            const auto character = converter.Decode(bytes.substr(i, n));
            if (character && utf16::IsOneCharacter(*character)) {
                out += *character;
                i += n;
                decoded = true;
                break;
            }
        }
        if (!decoded) {
            out += u'?';
            ++i;
        }
    }
    return out;
}

}  // namespace tavrel
