// The table of settings keys: each key's text is read by the check that `write`'s option
// for it uses, and formatted as `show --json` prints it.
#include "cli/SettingsKeys.h"

#include <stdexcept>

#include "cli/Checks.h"
#include "form/Utf8.h"
#include "record/AddressText.h"

namespace tavrel::cli {

using namespace form;  // the text codec

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
    return AddressUtf8(v.*member);
}

template <AddressValue SettingsValues::*member>
constexpr SettingsKey AddressKey(const char* name, const char* label) {
    return {name, label, false, ApplyAddress<member>, FormatAddress<member>};
}

}  // namespace

const std::array<SettingsKey, 10> kSettingsKeys{{
    {"addressMode", "位址模式", true,
     [](std::string_view text, CodePage, SettingsValues& v, std::string& reason) {
         return Store(CheckAddressModeNumber(text, reason), v.automaticAddress);
     },
     [](const SettingsValues& v) { return std::string(v.automaticAddress ? "1" : "0"); }},
    AddressKey<&SettingsValues::ipAddress>("ipAddress", "IP位址"),
    AddressKey<&SettingsValues::subnetMask>("subnetMask", "子網路遮罩"),
    AddressKey<&SettingsValues::defaultGateway>("defaultGateway", "預設閘道"),
    AddressKey<&SettingsValues::otherDnsServer>("otherDnsServer", "其他DNS 伺服器"),
    AddressKey<&SettingsValues::preferredDnsServer>("preferredDnsServer", "慣用DNS伺服器"),
    {"pushAddress", "來電號碼推送位址", false,
     [](std::string_view text, CodePage, SettingsValues& v, std::string& reason) {
         return Store(CheckPushAddress(text, reason), v.pushAddress);
     },
     [](const SettingsValues& v) { return Utf16ToUtf8(v.pushAddress); }},
    {"lineGuardMode", "惡意佔用外線設定", true,
     [](std::string_view text, CodePage, SettingsValues& v, std::string& reason) {
         return Store(CheckGuardIndex(text, reason), v.lineGuardMode);
     },
     [](const SettingsValues& v) { return std::to_string(v.lineGuardMode); }},
    {"ringLimit", "來電響鈴超過", true,
     [](std::string_view text, CodePage, SettingsValues& v, std::string& reason) {
         return Store(CheckRingCount(text, reason), v.ringLimit);
     },
     [](const SettingsValues& v) { return std::to_string(v.ringLimit); }},
    {"cipKey", "CIPKEY", false,
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

const SettingsKey& SettingsKeyNamed(std::string_view name) {
    const SettingsKey* key = FindSettingsKey(name);
    if (key == nullptr) {
        throw std::invalid_argument("no settings key is named " + std::string(name));
    }
    return *key;
}

}  // namespace tavrel::cli
