// What the page's script calls in the record (and, next, the form): the settings values
// to and from the 1036 bytes, the address text, and the limits each control enforces as
// the user types, all worked out by the same code as the programs'. Bound with embind;
// texts cross as JavaScript strings (UTF-16, as the record holds them), bytes as
// Uint8Array.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdint>
#include <span>
#include <string>

#include "record/AddressText.h"
#include "record/CodePage.h"
#include "record/SettingsFile.h"
#include "record/SettingsValues.h"
#include "record/Utf16.h"

namespace tavrel::web {

namespace {

using emscripten::val;

// The most a settings file is read: the record and one byte more, which tells a file
// longer than a record.
constexpr std::size_t kSettingsReadLimit = kRecordSize + 1;

// A dotted address as the address control gives one: at most four fields of three digits.
constexpr std::size_t kAddressTextUnits = 15;

// The controls whose typing the page limits as the dialog's controls do.
enum class InputField { Address, PushAddress, RingLimit, CipKey };

// The form's values after loading a file: its first 1036 bytes, zeros past the end of a
// shorter one, as the dialog loads a file.
SettingsValues LoadValues(const std::string& bytes) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    return ValuesFromRecord(DeviceSettingsRecord::FromImage(std::span(data, bytes.size())));
}

// The 1036 bytes that confirming these values writes.
val SaveValues(const SettingsValues& values) {
    const DeviceSettingsRecord record = RecordFromValues(values);
    const auto& bytes = record.Bytes();
    return val(emscripten::typed_memory_view(bytes.size(), bytes.data())).call<val>("slice");
}

// The address that an address field's text stands for: blank is 0, as a blank address
// control reads; otherwise four plain decimal fields 0-255, or null.
val ParseAddress(const std::u16string& text) {
    if (text.empty()) {
        return val(AddressValue{0});
    }
    if (!IsCanonicalAddressText(text)) {
        return val::null();
    }
    std::string ascii(text.begin(), text.end());
    return val(*ParseInetAddress(ascii));
}

// The ring count a text stands for: blank is 0, as the dialog saves an empty field;
// otherwise a signed decimal that fits 32 bits, or null.
val ParseRingLimit(const std::u16string& text) {
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == u'-';
    i += negative;
    if (text.size() == i) {
        return text.empty() ? val(0) : val::null();
    }
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9' || magnitude > INT32_MAX) {
            return val::null();
        }
        magnitude = magnitude * 10 + (text[i] - u'0');
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX) {
        return val::null();
    }
    return val(static_cast<std::int32_t>(value));
}

// Code units a text takes in the control's own count: a line break (LF in the page)
// is CR LF, as the dialog's edit holds it.
std::size_t WindowsUnits(std::u16string_view text) {
    std::size_t units = 0;
    for (const char16_t c : text) {
        units += c == u'\n' ? 2 : 1;
    }
    return units;
}

bool AllOf(std::u16string_view text, bool (*allowed)(char16_t)) {
    for (const char16_t c : text) {
        if (!allowed(c)) {
            return false;
        }
    }
    return true;
}

// How many code units of `inserted` the field takes when the rest of its text is
// `rest`: none when it holds a character the field refuses, otherwise the longest part
// made of whole characters (a line break whole) that keeps the field within its limit.
std::size_t FitInsertion(InputField field, const std::u16string& rest,
                         const std::u16string& inserted) {
    switch (field) {
        case InputField::Address: {
            if (!AllOf(inserted,
                       [](char16_t c) { return c == u'.' || (c >= u'0' && c <= u'9'); })) {
                return 0;
            }
            const std::size_t room = kAddressTextUnits - std::min(rest.size(), kAddressTextUnits);
            return std::min(inserted.size(), room);
        }
        case InputField::RingLimit: {
            if (!AllOf(inserted, [](char16_t c) { return c >= u'0' && c <= u'9'; })) {
                return 0;
            }
            const std::size_t limit = kRingLimitMaxDigits;
            return std::min(inserted.size(), limit - std::min(rest.size(), limit));
        }
        case InputField::PushAddress: {
            const std::size_t limit = kPushAddressTypingLimit;
            std::size_t room = limit - std::min(WindowsUnits(rest), limit);
            std::size_t taken = 0;
            while (taken < inserted.size()) {
                const std::size_t units = utf16::CharacterUnits(inserted, taken);
                const std::size_t cost = inserted[taken] == u'\n' ? 2 : units;
                if (cost > room) {
                    break;
                }
                room -= cost;
                taken += units;
            }
            return taken;
        }
        case InputField::CipKey: {
            const std::size_t limit = kCipKeyMaxBytes;
            const std::size_t room = limit - std::min(CodePageLength(rest), limit);
            return FittingUnits(inserted, room);
        }
    }
    return 0;
}

// What the page needs to know of the file besides the rules above.
val Constants() {
    val constants = val::object();
    constants.set("settingsFileName", std::u16string(kSettingsFileName));
    constants.set("settingsReadLimit", kSettingsReadLimit);
    return constants;
}

}  // namespace

EMSCRIPTEN_BINDINGS(tavrel) {
    using emscripten::function;

    emscripten::value_object<SettingsValues>("SettingsValues")
        .field("automaticAddress", &SettingsValues::automaticAddress)
        .field("ipAddress", &SettingsValues::ipAddress)
        .field("subnetMask", &SettingsValues::subnetMask)
        .field("defaultGateway", &SettingsValues::defaultGateway)
        .field("otherDnsServer", &SettingsValues::otherDnsServer)
        .field("preferredDnsServer", &SettingsValues::preferredDnsServer)
        .field("pushAddress", &SettingsValues::pushAddress)
        .field("lineGuardMode", &SettingsValues::lineGuardMode)
        .field("ringLimit", &SettingsValues::ringLimit)
        .field("cipKey", &SettingsValues::cipKey);
    emscripten::enum_<InputField>("InputField")
        .value("Address", InputField::Address)
        .value("PushAddress", InputField::PushAddress)
        .value("RingLimit", InputField::RingLimit)
        .value("CipKey", InputField::CipKey);

    function(
        "freshValues", +[] { return SettingsValues{}; });
    function("loadValues", &LoadValues);
    function("saveValues", &SaveValues);
    function(
        "addressText", +[](AddressValue value) { return AddressToText(value); });
    function("parseAddress", &ParseAddress);
    function("parseRingLimit", &ParseRingLimit);
    function(
        "withCrLfLineBreaks", +[](const std::u16string& text) { return WithCrLfLineBreaks(text); });
    function("fitInsertion", &FitInsertion);
    function("constants", &Constants);
}

}  // namespace tavrel::web
