// The form's own limits, as the address control, the ring count and the key's byte count
// apply them, each refusal worded for the user of a script.
#include "cli/Checks.h"

#include <charconv>
#include <limits>

#include "form/Utf8.h"
#include "record/SettingsValues.h"

namespace tavrel::cli {

using namespace form;  // the text codec

namespace {

bool IsDigits(std::string_view s) {
    if (s.empty()) {
        return false;
    }
    for (const char c : s) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

std::optional<std::u16string> CheckText(std::string_view utf8, std::string& reason) {
    std::optional<std::u16string> text = Utf8ToUtf16(utf8);
    if (!text) {
        reason = "is not valid UTF-8 text";
    } else if (text->find(u'\0') != std::u16string::npos) {
        reason = "contains a NUL character";
        text.reset();
    }
    return text;
}

}  // namespace

std::optional<AddressValue> CheckAddress(std::string_view text, std::string& reason) {
    AddressValue value = 0;
    int fields = 0;
    bool valid = true;
    std::string_view rest = text;
    while (valid && fields < 4) {
        const std::size_t dot = rest.find('.');
        const std::string_view part = rest.substr(0, dot);
        unsigned field = 256;
        if (IsDigits(part) && part.size() <= 3) {
            std::from_chars(part.data(), part.data() + part.size(), field);
        }
        valid = field <= 255 && (++fields == 4) == (dot == std::string_view::npos);
        value = (value << 8) | field;
        rest.remove_prefix(dot == std::string_view::npos ? rest.size() : dot + 1);
    }
    if (valid) {
        return value;
    }
    reason = Quoted(Utf8ToUtf16(text).value_or(u"?")) +
             " is not an address (four decimal fields 0-255, such as 192.168.1.10)";
    return std::nullopt;
}

std::optional<std::int32_t> CheckRingCount(std::string_view text, std::string& reason) {
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    long long magnitude = 0;
    if (IsDigits(digits) && digits.size() <= 12) {
        std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
        const long long value = negative ? -magnitude : magnitude;
        if (value >= std::numeric_limits<std::int32_t>::min() &&
            value <= std::numeric_limits<std::int32_t>::max()) {
            return static_cast<std::int32_t>(value);
        }
    }
    reason = Quoted(Utf8ToUtf16(text).value_or(u"?")) + " is not a signed 32-bit integer";
    return std::nullopt;
}

std::optional<std::int32_t> CheckGuardWord(std::string_view text, std::string& reason) {
    if (text == "off") {
        return 0;
    }
    if (text == "on") {
        return 1;
    }
    reason = Quoted(Utf8ToUtf16(text).value_or(u"?")) + " is neither off nor on";
    return std::nullopt;
}

std::optional<bool> CheckAddressModeNumber(std::string_view text, std::string& reason) {
    std::string ignored;
    const std::optional<std::int32_t> mode = CheckRingCount(text, ignored);
    if (mode == 0 || mode == 1) {
        return *mode == 1;
    }
    reason = Quoted(Utf8ToUtf16(text).value_or(u"?")) + " is neither 1 (automatic) nor 0 (fixed)";
    return std::nullopt;
}

std::optional<std::int32_t> CheckGuardIndex(std::string_view text, std::string& reason) {
    std::string ignored;
    const std::optional<std::int32_t> index = CheckRingCount(text, ignored);
    if (index && *index >= -1 && *index <= 1) {
        return index;
    }
    reason = Quoted(Utf8ToUtf16(text).value_or(u"?")) + " is not 0 (off), 1 (on) or -1 (none)";
    return std::nullopt;
}

std::optional<std::u16string> CheckPushAddress(std::string_view utf8, std::string& reason) {
    std::optional<std::u16string> text = CheckText(utf8, reason);
    if (!text) {
        return text;
    }
    *text = WithCrLfLineBreaks(*text);
    if (text->size() > static_cast<std::size_t>(kPushAddressTypingLimit)) {
        reason = "is " + std::to_string(text->size()) +
                 " characters long (line breaks count two); the form takes at most " +
                 std::to_string(kPushAddressTypingLimit);
        text.reset();
    }
    return text;
}

std::optional<std::u16string> CheckKey(std::string_view utf8, CodePage cp, std::string& reason) {
    std::optional<std::u16string> text = CheckText(utf8, reason);
    if (!text) {
        return text;
    }
    const std::string bytes = ToCodePage(*text, cp);
    if (FromCodePage(bytes, cp) != *text) {
        reason = "has characters that " + CodePageName(cp) + " cannot hold";
        text.reset();
    } else if (bytes.size() > static_cast<std::size_t>(kCipKeyMaxBytes)) {
        reason = "takes " + std::to_string(bytes.size()) + " bytes in " + CodePageName(cp) +
                 "; at most " + std::to_string(kCipKeyMaxBytes) + " are stored";
        text.reset();
    }
    return text;
}

std::string CodePageName(CodePage cp) {
#ifdef _WIN32
    if (cp == kSystemAnsiCodePage) {
        return "the system's ANSI code page";
    }
#else
    if (cp == kSystemAnsiCodePage) {
        cp = kTraditionalChineseCodePage;  // the record's stand-in where there is no ANSI one
    }
#endif
    return "code page " + std::to_string(cp);
}

}  // namespace tavrel::cli
