#include "cli/Json.h"

#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>

#include "cli/Checks.h"
#include "cli/Text.h"
#include "record/AddressText.h"

namespace tavrel::cli {

namespace {

using Json = nlohmann::ordered_json;

struct AddressKey {
    const char* key;
    AddressValue SettingsValues::*member;
};

// The form's order, top to bottom.
constexpr AddressKey kAddressKeys[] = {
    {"ipAddress", &SettingsValues::ipAddress},
    {"subnetMask", &SettingsValues::subnetMask},
    {"defaultGateway", &SettingsValues::defaultGateway},
    {"otherDnsServer", &SettingsValues::otherDnsServer},
    {"preferredDnsServer", &SettingsValues::preferredDnsServer},
};

std::string Describe(const Json& value) {
    std::string text = value.dump();
    return text.size() > 40 ? text.substr(0, 37) + "..." : text;
}

// An integer in [min, max] or nothing.
std::optional<std::int64_t> Integer(const Json& value, std::int64_t min, std::int64_t max) {
    if (value.is_number_integer()) {
        if (value.is_number_unsigned()) {
            const auto u = value.get<std::uint64_t>();
            if (u <= static_cast<std::uint64_t>(max)) {
                return static_cast<std::int64_t>(u);
            }
        } else {
            const auto i = value.get<std::int64_t>();
            if (i >= min && i <= max) {
                return i;
            }
        }
    }
    return std::nullopt;
}

}  // namespace

std::string SettingsToJson(const SettingsValues& v, const std::vector<std::string>& warnings) {
    Json object;
    object["addressMode"] = v.automaticAddress ? 1 : 0;
    for (const AddressKey& a : kAddressKeys) {
        object[a.key] = Utf16ToUtf8(AddressToText(v.*a.member));
    }
    object["pushAddress"] = Utf16ToUtf8(v.pushAddress);
    object["lineGuardMode"] = v.lineGuardMode;
    object["ringLimit"] = v.ringLimit;
    object["cipKey"] = Utf16ToUtf8(v.cipKey);
    object["warnings"] = warnings;
    return object.dump(2) + "\n";
}

std::vector<std::string> ApplyJson(std::string_view text, CodePage cp, SettingsValues& values) {
    Json object;
    try {
        object = Json::parse(text);
    } catch (const Json::parse_error& e) {
        return {std::string("not valid JSON: ") + e.what()};
    }
    if (!object.is_object()) {
        return {"not a JSON object"};
    }

    SettingsValues v = values;
    std::vector<std::string> refused;
    const auto refuse = [&](const std::string& key, const std::string& reason) {
        refused.push_back(key + ": " + reason);
    };
    const auto stringOf = [&](const std::string& key, const Json& value) -> const std::string* {
        if (!value.is_string()) {
            refuse(key, Describe(value) + " is not a string");
            return nullptr;
        }
        return value.get_ptr<const std::string*>();
    };

    for (const auto& [key, value] : object.items()) {
        std::string reason;
        if (key == "warnings") {
            continue;
        } else if (key == "addressMode") {
            if (const auto mode = Integer(value, 0, 1)) {
                v.automaticAddress = *mode == 1;
            } else {
                refuse(key, Describe(value) + " is neither 1 (automatic) nor 0 (fixed)");
            }
        } else if (key == "pushAddress" || key == "cipKey") {
            if (const std::string* s = stringOf(key, value)) {
                auto checked =
                    key == "pushAddress" ? CheckPushAddress(*s, reason) : CheckKey(*s, cp, reason);
                if (!checked) {
                    refuse(key, reason);
                } else {
                    (key == "pushAddress" ? v.pushAddress : v.cipKey) = std::move(*checked);
                }
            }
        } else if (key == "lineGuardMode") {
            if (const auto guard = Integer(value, -1, 1)) {
                v.lineGuardMode = static_cast<std::int32_t>(*guard);
            } else {
                refuse(key, Describe(value) + " is not 0 (off), 1 (on) or -1 (none)");
            }
        } else if (key == "ringLimit") {
            if (const auto rings = Integer(value, std::numeric_limits<std::int32_t>::min(),
                                           std::numeric_limits<std::int32_t>::max())) {
                v.ringLimit = static_cast<std::int32_t>(*rings);
            } else {
                refuse(key, Describe(value) + " is not a signed 32-bit integer");
            }
        } else {
            const AddressKey* address = nullptr;
            for (const AddressKey& a : kAddressKeys) {
                if (key == a.key) {
                    address = &a;
                }
            }
            if (!address) {
                refuse(key, "is not a known key");
            } else if (const std::string* s = stringOf(key, value)) {
                if (const auto checked = CheckAddress(*s, reason)) {
                    v.*address->member = *checked;
                } else {
                    refuse(key, reason);
                }
            }
        }
    }
    if (refused.empty()) {
        values = std::move(v);
    }
    return refused;
}

}  // namespace tavrel::cli
