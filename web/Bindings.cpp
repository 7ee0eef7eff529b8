// What the page's script calls in the record and the form: the form's words, the settings
// values to and from the 1036 bytes, each field read from its text with the check
// tavrel-cli applies, the load warnings, the network hints, a site table read as `batch`
// reads it, and the limits each control enforces as the user types, all worked out by the
// same code as the programs'. Bound with embind; texts cross as JavaScript strings
// (UTF-16 or UTF-8, as the C++ side holds them), bytes as Uint8Array. The key's code page
// is 950, as on Linux.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "form/Fields.h"
#include "form/LoadedSettings.h"
#include "form/NetworkHints.h"
#include "form/Result.h"
#include "form/Sentences.h"
#include "form/SiteTable.h"
#include "form/Words.h"
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

// The key's code page, as on Linux.
constexpr CodePage kKeyCodePage = kTraditionalChineseCodePage;

val Bytes(std::span<const std::uint8_t> bytes) {
    return val(emscripten::typed_memory_view(bytes.size(), bytes.data())).call<val>("slice");
}

std::string ByteString(const val& bytes) {
    return bytes.as<std::string>();
}

// The Chinese sentences of messages, as an array of strings.
val ChineseList(const std::vector<form::Message>& messages) {
    val list = val::array();
    for (const form::Message& m : messages) {
        list.call<void>("push", m.zh);
    }
    return list;
}

// The form's words, by the names the page's elements give them (data-word): the dialog's
// words, the field labels as a screen reader names them (no colon), and the page's own.
val Words() {
    namespace w = form::words;
    val words = val::object();
    const auto set = [&words](const char* name, std::u16string_view text) {
        words.set(name, std::u16string(text));
    };
    set("title", w::kSettingsTitle);
    set("subtitle", w::kAboutDescription);
    set("addressMode", w::kAddressMode);
    set("automaticAddress", w::kAutomaticAddress);
    set("fixedAddress", w::WithoutColon(w::kFixedAddress));
    for (const form::Field& field : form::kFields) {
        words.set(std::string(field.key), std::u16string(field.label));
    }
    set("guardOff", w::kGuardEntries[0]);
    set("guardOn", w::kGuardEntries[1]);
    set("ringsUnit", w::kRingsAfter);
    set("confirm", w::kOk);
    set("fileCreated", w::kFileCreated);
    set("openSettingsFile", w::kOpenSettingsFile);
    set("openSiteTable", w::kOpenSiteTable);
    set("loadWarnings", w::kLoadWarnings);
    set("networkHints", w::kNetworkHints);
    set("siteTableProblems", w::kSiteTableProblems);
    set("siteTableHints", w::kSiteTableHints);
    set("fileUnreadable", w::kFileUnreadable);
    set("cannotStart", w::kCannotStart);
    return words;
}

// The form's values after loading a file as the dialog loads it (its first 1036 bytes,
// zeros past the end of a shorter one), and the load warnings in Chinese. `size` is the
// file's whole size, or negative where only `head` is known.
val LoadSettings(const val& head, double size) {
    const std::string bytes = ByteString(head);
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    std::optional<std::uintmax_t> whole;
    if (size >= 0) {
        whole = static_cast<std::uintmax_t>(size);
    }
    const form::LoadedSettings loaded =
        form::LoadSettings(std::span(data, bytes.size()), whole, kKeyCodePage);
    val result = val::object();
    result.set("values", loaded.values);
    result.set("warnings", ChineseList(loaded.warnings));
    return result;
}

// `base` with each field named in `texts` (by its key) read from its text through the
// fields' table, as `tavrel-cli write` reads its JSON and CSV text: the values, and for
// each field that refuses its text the reasons in Chinese, by key.
val ReadFields(const SettingsValues& base, const val& texts) {
    SettingsValues values = base;
    val refusals = val::object();
    bool refused = false;
    for (const form::Field& field : form::kFields) {
        const std::string key(field.key);
        if (!texts.hasOwnProperty(key.c_str())) {
            continue;
        }
        const std::string text = texts[key].as<std::string>();
        form::Result<form::Done> read = field.read(text, kKeyCodePage, values);
        if (!read) {
            std::string reasons;
            for (const form::Message& m : read.Reasons()) {
                reasons += (reasons.empty() ? "" : "\n") + m.zh;
            }
            refusals.set(key, reasons);
            refused = true;
        }
    }
    val result = val::object();
    result.set("values", values);
    result.set("refused", refused);
    result.set("refusals", refusals);
    return result;
}

// The network hints for these values, in Chinese.
val Hints(const SettingsValues& values) {
    return ChineseList(form::NetworkHints(values));
}

// A site table as `batch` reads it, each row starting from the fresh values: its problems
// (nothing may be saved while there is any), its hints, and each device's folder name and
// the 1036 bytes `batch` writes for it.
val ReadTable(const val& bytes, double size) {
    val result = val::object();
    val devices = val::array();
    result.set("devices", devices);
    result.set("hints", val::array());
    if (size > static_cast<double>(form::kSiteTableSizeLimit)) {
        result.set("problems",
                   ChineseList({form::Say(form::Sentence::TableTooLarge,
                                          {std::to_string(form::kSiteTableSizeLimit >> 20)})}));
        return result;
    }
    const std::string text = ByteString(bytes);
    const form::Result<form::SiteTable> table =
        form::ReadSiteTable(text, kKeyCodePage, SettingsValues{});
    if (!table) {
        result.set("problems", ChineseList(table.Reasons()));
        return result;
    }
    result.set("hints", ChineseList(table->hints));
    if (!table->problems.empty()) {
        result.set("problems", ChineseList(table->problems));
        return result;
    }
    if (table->rows == 0) {
        result.set("problems", ChineseList({form::Say(form::Sentence::NoRows)}));
        return result;
    }
    result.set("problems", val::array());
    for (const form::SiteDevice& device : table->devices) {
        val entry = val::object();
        entry.set("name", device.name);
        entry.set("bytes", Bytes(RecordFromValues(device.values).Bytes()));
        devices.call<void>("push", entry);
    }
    return result;
}

// The status after a table's zip is saved, in Chinese.
std::string TableFilesMade(unsigned files, const std::string& zipName) {
    return form::Say(form::Sentence::TableFilesMade, {std::to_string(files), zipName}).zh;
}

// The 1036 bytes that confirming these values writes.
val SaveValues(const SettingsValues& values) {
    return Bytes(RecordFromValues(values).Bytes());
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
    constants.set("tableReadLimit", form::kSiteTableSizeLimit);
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
    function("words", &Words);
    function("loadSettings", &LoadSettings);
    function("saveValues", &SaveValues);
    function("readFields", &ReadFields);
    function("networkHints", &Hints);
    function("readTable", &ReadTable);
    function("tableFilesMade", &TableFilesMade);
    function(
        "addressText", +[](AddressValue value) { return AddressToText(value); });
    function(
        "withCrLfLineBreaks", +[](const std::u16string& text) { return WithCrLfLineBreaks(text); });
    function("fitInsertion", &FitInsertion);
    function("constants", &Constants);
}

}  // namespace tavrel::web
