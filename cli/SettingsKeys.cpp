#include "cli/SettingsKeys.h"

#include "cli/Checks.h"
#include "cli/Text.h"
#include "record/AddressText.h"

namespace tavrel::cli {

namespace {

// Stores a value that passed its check.
template <typename T>
bool Store(std::optional<T> checked, T& target) {
    if (checked) {
        target = std::move(*checked);
    }
    return checked.has_value();
}

template <AddressValue SettingsValues::*member>
bool ApplyAddress(std::string_view text, CodePage, SettingsValues& v, std::string& reason) {
    return Store(CheckAddress(text, reason), v.*member);
}

template <AddressValue SettingsValues::*member>
std::string FormatAddress(const SettingsValues& v) {
    return Utf16ToUtf8(AddressToText(v.*member));
}

template <AddressValue SettingsValues::*member>
constexpr SettingsKey AddressKey(const char* name) {
    return {name, false, ApplyAddress<member>, FormatAddress<member>};
}

}  // namespace

const std::array<SettingsKey, 10> kSettingsKeys{{
    {"addressMode", true,
     [](std::string_view text, CodePage, SettingsValues& v, std::string& reason) {
         return Store(CheckAddressModeNumber(text, reason), v.automaticAddress);
     },
     [](const SettingsValues& v) { return std::string(v.automaticAddress ? "1" : "0"); }},
    AddressKey<&SettingsValues::ipAddress>("ipAddress"),
    AddressKey<&SettingsValues::subnetMask>("subnetMask"),
    AddressKey<&SettingsValues::defaultGateway>("defaultGateway"),
    AddressKey<&SettingsValues::otherDnsServer>("otherDnsServer"),
    AddressKey<&SettingsValues::preferredDnsServer>("preferredDnsServer"),
    {"pushAddress", false,
     [](std::string_view text, CodePage, SettingsValues& v, std::string& reason) {
         return Store(CheckPushAddress(text, reason), v.pushAddress);
     },
     [](const SettingsValues& v) { return Utf16ToUtf8(v.pushAddress); }},
    {"lineGuardMode", true,
     [](std::string_view text, CodePage, SettingsValues& v, std::string& reason) {
         return Store(CheckGuardIndex(text, reason), v.lineGuardMode);
     },
     [](const SettingsValues& v) { return std::to_string(v.lineGuardMode); }},
    {"ringLimit", true,
     [](std::string_view text, CodePage, SettingsValues& v, std::string& reason) {
         return Store(CheckRingCount(text, reason), v.ringLimit);
     },
     [](const SettingsValues& v) { return std::to_string(v.ringLimit); }},
    {"cipKey", false,
     [](std::string_view text, CodePage cp, SettingsValues& v, std::string& reason) {
         return Store(CheckKey(text, cp, reason), v.cipKey);
     },
     [](const SettingsValues& v) { return Utf16ToUtf8(v.cipKey); }},
}};

const SettingsKey* FindSettingsKey(std::string_view name) {
    for (const SettingsKey& key : kSettingsKeys) {
        if (name == key.name) {
            return &key;
        }
    }
    return nullptr;
}

}  // namespace tavrel::cli
