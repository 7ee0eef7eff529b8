// The table of the form's fields: each reads its text through the check the form's
// control applies, and writes it as `show --json` prints it.
#include "form/Fields.h"

#include "form/Utf8.h"
#include "form/ValueChecks.h"
#include "form/Words.h"
#include "record/AddressText.h"

namespace tavrel::form {

namespace {

using Setter = Result<Done> (*)(std::string_view, CodePage, SettingsValues&);

// Stores a value that passed its check.
template <typename T, typename U>
Result<Done> Store(Result<T> checked, U& target) {
    if (!checked) {
        return Result<Done>(checked.Reasons());
    }
    target = std::move(*checked);
    return Done{};
}

std::string Utf8(std::u16string_view text) {
    return Utf16ToUtf8(text);
}

// The help of an option: the form's words for the field, then what it does.
std::string Help(std::u16string_view words, std::string_view what) {
    return Utf8(words::WithoutColon(words)) + ": " + std::string(what);
}

template <AddressValue SettingsValues::*member>
Result<Done> ReadAddress(std::string_view text, CodePage, SettingsValues& v) {
    return Store(CheckAddress(text), v.*member);
}

template <AddressValue SettingsValues::*member>
std::string WriteAddress(const SettingsValues& v) {
    return AddressUtf8(v.*member);
}

template <AddressValue SettingsValues::*member>
Field AddressField(std::string_view key, std::u16string_view label, std::string_view english,
                   std::string_view option, std::string (*help)()) {
    return {key,
            words::WithoutColon(label),
            english,
            words::WithoutColon(label),
            false,
            ReadAddress<member>,
            WriteAddress<member>,
            option,
            "A",
            help,
            nullptr};
}

}  // namespace

const std::array<Field, 10> kFields{{
    {"addressMode", words::kAddressMode, "address mode", words::kAddressMode, true,
     [](std::string_view text, CodePage, SettingsValues& v) {
         return Store(CheckAddressModeNumber(text), v.automaticAddress);
     },
     [](const SettingsValues& v) { return std::string(v.automaticAddress ? "1" : "0"); }, "", "",
     nullptr, nullptr},
    AddressField<&SettingsValues::ipAddress>(
        "ipAddress", words::kIpAddress, "IP address", "--ip",
        [] { return Help(words::kIpAddress, "the device's own address"); }),
    AddressField<&SettingsValues::subnetMask>(
        "subnetMask", words::kSubnetMask, "subnet mask", "--mask",
        [] { return Help(words::kSubnetMask, "subnet mask"); }),
    AddressField<&SettingsValues::defaultGateway>(
        "defaultGateway", words::kDefaultGateway, "default gateway", "--gateway",
        [] { return Help(words::kDefaultGateway, "default gateway"); }),
    AddressField<&SettingsValues::otherDnsServer>(
        "otherDnsServer", words::kOtherDnsServer, "other DNS server", "--other-dns",
        [] { return Help(words::kOtherDnsServer, "other DNS server"); }),
    AddressField<&SettingsValues::preferredDnsServer>(
        "preferredDnsServer", words::kPreferredDnsServer, "preferred DNS server", "--preferred-dns",
        [] { return Help(words::kPreferredDnsServer, "preferred DNS server"); }),
    {"pushAddress", words::WithoutColon(words::kPushAddress), "push address",
     words::WithoutColon(words::kPushAddress), false,
     [](std::string_view text, CodePage, SettingsValues& v) {
         return Store(CheckPushAddress(text), v.pushAddress);
     },
     [](const SettingsValues& v) { return Utf8(v.pushAddress); }, "--push", "TEXT",
     [] {
         return Help(words::kPushAddress, "push address, at most " +
                                              std::to_string(kPushAddressTypingLimit) +
                                              " characters (line breaks stored as CR LF)");
     },
     nullptr},
    {"lineGuardMode", words::WithoutColon(words::kLineGuard), "line guard",
     words::WithoutColon(words::kLineGuard), true,
     [](std::string_view text, CodePage, SettingsValues& v) {
         return Store(CheckGuardIndex(text), v.lineGuardMode);
     },
     [](const SettingsValues& v) { return std::to_string(v.lineGuardMode); }, "--guard", "off|on",
     [] {
         return Help(words::kLineGuard, "off (" + Utf8(words::kGuardEntries[0]) + ") or on (" +
                                            Utf8(words::kGuardEntries[1]) + ")");
     },
     [](std::string_view text, CodePage, SettingsValues& v) {
         return Store(CheckGuardWord(text), v.lineGuardMode);
     }},
    {"ringLimit", words::kRingsBefore, "ring count", u"響鈴次數", true,
     [](std::string_view text, CodePage, SettingsValues& v) {
         return Store(CheckInteger32(text), v.ringLimit);
     },
     [](const SettingsValues& v) { return std::to_string(v.ringLimit); }, "--rings", "N",
     [] {
         return Utf8(words::kRingsBefore) + " N " + Utf8(words::kRingsUnit) +
                ": answer and hang up after N rings (signed 32-bit)";
     },
     nullptr},
    {"cipKey", words::WithoutColon(words::kCipKey), "key", words::WithoutColon(words::kCipKey),
     false,
     [](std::string_view text, CodePage cp, SettingsValues& v) {
         return Store(CheckKey(text, cp), v.cipKey);
     },
     [](const SettingsValues& v) { return Utf8(v.cipKey); }, "--key", "TEXT",
     [] {
         return Help(words::kCipKey,
                     "key, at most " + std::to_string(kCipKeyMaxBytes) + " bytes in the code page");
     },
     nullptr},
}};

const Field* FindField(std::string_view key) {
    for (const Field& f : kFields) {
        if (f.key == key) {
            return &f;
        }
    }
    return nullptr;
}

const Field& FieldNamed(std::string_view key) {
    const Field* f = FindField(key);
    return f ? *f : kFields.front();
}

Arg FieldNameInSentences(std::string_view key) {
    const Field& f = FieldNamed(key);
    return {std::string(f.english), Utf16ToUtf8(f.chinese)};
}

std::string AutomaticOptionHelp() {
    return Help(words::kAutomaticAddress, "the address is obtained automatically");
}

std::string FixedOptionHelp() {
    return Help(words::kFixedAddress, "the fixed addresses below");
}

std::u16string_view GuardEntryText(std::int32_t lineGuardMode) {
    const bool listed = lineGuardMode >= 0 &&
                        lineGuardMode < static_cast<std::int32_t>(words::kGuardEntries.size());
    return listed ? words::kGuardEntries[static_cast<std::size_t>(lineGuardMode)]
                  : words::kNoGuardEntry;
}

}  // namespace tavrel::form
