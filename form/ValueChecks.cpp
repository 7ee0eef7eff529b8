// The checks of one value, each refusal worded by the form's sentences.
#include "form/ValueChecks.h"

#include <charconv>
#include <limits>

#include "form/Fields.h"
#include "form/Sentences.h"
#include "form/Utf8.h"
#include "record/AddressText.h"
#include "record/SettingsValues.h"

namespace tavrel::form {

namespace {

bool IsDigits(std::string_view s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

Result<std::u16string> CheckText(std::string_view utf8) {
    std::optional<std::u16string> text = Utf8ToUtf16(utf8);
    if (!text) {
        return Say(Sentence::NotUtf8);
    }
    if (text->find(u'\0') != std::u16string::npos) {
        return Say(Sentence::HoldsNul);
    }
    return std::move(*text);
}

}  // namespace

std::string QuotedUtf8(std::string_view utf8) {
    return Quoted(Utf8ToUtf16(utf8).value_or(u"?"), kQuotedValueLimit);
}

Result<AddressValue> CheckAddress(std::string_view text) {
    const std::optional<std::u16string> units = Utf8ToUtf16(text);
    if (const auto value = units ? ParseDottedDecimal(*units) : std::nullopt) {
        return *value;
    }
    return Say(Sentence::NotAnAddress, {QuotedUtf8(text)});
}

Result<std::int32_t> CheckInteger32(std::string_view text) {
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
    return Say(Sentence::NotAnInteger32, {QuotedUtf8(text)});
}

Result<std::int32_t> CheckGuardWord(std::string_view text) {
    if (text == "off") {
        return 0;
    }
    if (text == "on") {
        return 1;
    }
    return Say(Sentence::NotAGuardWord, {QuotedUtf8(text)});
}

Result<bool> CheckAddressModeNumber(std::string_view text) {
    const Result<std::int32_t> mode = CheckInteger32(text);
    if (mode && (*mode == 0 || *mode == 1)) {
        return *mode == 1;
    }
    return Say(Sentence::NotAnAddressMode, {QuotedUtf8(text)});
}

Result<std::int32_t> CheckGuardIndex(std::string_view text) {
    const Result<std::int32_t> index = CheckInteger32(text);
    if (index && *index >= -1 && *index <= 1) {
        return *index;
    }
    const auto word = [](std::int32_t index) {
        return Arg("", Utf16ToUtf8(GuardEntryText(index)));
    };
    return Say(Sentence::NotAGuardIndex, {QuotedUtf8(text), word(0), word(1), word(-1)});
}

Result<std::u16string> CheckPushAddress(std::string_view utf8) {
    Result<std::u16string> text = CheckText(utf8);
    if (!text) {
        return text;
    }
    std::u16string stored = WithCrLfLineBreaks(*text);
    if (stored.size() > static_cast<std::size_t>(kPushAddressTypingLimit)) {
        return Say(Sentence::PushTooLong,
                   {std::to_string(stored.size()), std::to_string(kPushAddressTypingLimit)});
    }
    return stored;
}

Result<std::u16string> CheckKey(std::string_view utf8, CodePage cp) {
    Result<std::u16string> text = CheckText(utf8);
    if (!text) {
        return text;
    }
    const std::string bytes = ToCodePage(*text, cp);
    if (FromCodePage(bytes, cp) != *text) {
        return Say(Sentence::KeyNotInCodePage, {CodePageName(cp)});
    }
    if (bytes.size() > static_cast<std::size_t>(kCipKeyMaxBytes)) {
        return Say(Sentence::KeyTooLong, {std::to_string(bytes.size()), CodePageName(cp),
                                          std::to_string(kCipKeyMaxBytes)});
    }
    return text;
}

}  // namespace tavrel::form
