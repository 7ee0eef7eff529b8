// Code pages in the browser page, whose C library has no code page 950: the system ANSI
// code page is 950 there too, converted through the record's own table
// (record/CodePage950.h), so that a key gives the same bytes as on Linux. Other code pages
// are not available, and the caller falls back to plain ASCII.

#include "record/CodePage950.h"
#include "record/CodePageConverter.h"

namespace tavrel::detail {

struct CodePageConverter::State {
    bool available = false;
};

CodePageConverter::CodePageConverter(CodePage cp) : state_(std::make_unique<State>()) {
    state_->available = cp == kSystemAnsiCodePage || cp == kTraditionalChineseCodePage;
}

CodePageConverter::~CodePageConverter() = default;

bool CodePageConverter::Available() const {
    return state_->available;
}

std::optional<std::string> CodePageConverter::Encode(std::u16string_view character) {
    if (character.size() != 1) {
        return std::nullopt;  // the code page has no character beyond the BMP
    }
    const auto code = cp950::Encode(character.front());
    if (!code) {
        return std::nullopt;
    }
    std::string bytes;
    if (*code >= 0x100) {
        bytes += static_cast<char>(*code >> 8);
    }
    bytes += static_cast<char>(*code & 0xFF);
    return bytes;
}

std::optional<std::u16string> CodePageConverter::Decode(std::string_view bytes) {
    std::u16string units;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<std::uint8_t>(bytes[i]);
        std::uint16_t code = lead;
        std::size_t length = 1;
        if (cp950::IsLeadByte(lead)) {
            if (i + 1 == bytes.size()) {
                return std::nullopt;  // an incomplete character
            }
            code = static_cast<std::uint16_t>(lead << 8 | static_cast<std::uint8_t>(bytes[i + 1]));
            length = 2;
        }
        const auto character = cp950::Decode(code);
        if (!character) {
            return std::nullopt;
        }
        units += *character;
        i += length;
    }
    if (units.empty()) {
        return std::nullopt;
    }
    return units;
}

}  // namespace tavrel::detail
