#include "cli/Json.h"

#include <nlohmann/json.hpp>

#include "cli/SettingsKeys.h"

namespace tavrel::cli {

namespace {

using Json = nlohmann::ordered_json;

std::string Describe(const Json& value) {
    std::string text = value.dump();
    return text.size() > 40 ? text.substr(0, 37) + "..." : text;
}

}  // namespace

std::string SettingsToJson(const SettingsValues& v, const std::vector<std::string>& warnings,
                           const std::vector<std::string>& hints) {
    Json object;
    for (const SettingsKey& key : kSettingsKeys) {
        const std::string text = key.format(v);
        object[key.name] = key.number ? Json::parse(text) : Json(text);
    }
    object["warnings"] = warnings;
    object["hints"] = hints;
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
    for (const auto& [name, value] : object.items()) {
        if (name == "warnings" || name == "hints") {
            continue;
        }
        const SettingsKey* key = FindSettingsKey(name);
        std::string reason;
        if (!key) {
            refuse(name, "is not a known key");
        } else if (key->number ? !value.is_number_integer() : !value.is_string()) {
            refuse(name,
                   Describe(value) + (key->number ? " is not an integer" : " is not a string"));
        } else if (!key->apply(key->number ? value.dump() : value.get_ref<const std::string&>(), cp,
                               v, reason)) {
            refuse(name, reason);
        }
    }
    if (refused.empty()) {
        values = std::move(v);
    }
    return refused;
}

}  // namespace tavrel::cli
