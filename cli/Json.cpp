// JSON through nlohmann::json, keys in the order of the table of settings keys; input is
// parsed with a depth limit, and its errors are worded with their line and column.
#include "cli/Json.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "cli/Command.h"
#include "form/Fields.h"
#include "form/Utf8.h"

namespace tavrel::cli {

using form::Utf8ToUtf16;

namespace {

using Json = nlohmann::ordered_json;

// Settings objects nest two deep (the warnings and hints lists); anything far deeper is refused
// while it is parsed, before a value is built or described.
constexpr int kDepthLimit = 32;

std::string Describe(const Json& value) {
    std::string text = value.dump();
    return text.size() > 40 ? text.substr(0, 37) + "..." : text;
}

// The library's message without its "[json.exception.…] " tag and the position it puts
// before ": ", bytes that are not text shown as '?'.
std::string Detail(const Json::exception& e) {
    std::string_view text = e.what();
    if (const std::size_t tag = text.find("] "); text.starts_with("[json.") && tag != text.npos) {
        text.remove_prefix(tag + 2);
    }
    if (text.starts_with("parse error")) {
        if (const std::size_t colon = text.find(": "); colon != text.npos) {
            text.remove_prefix(colon + 2);
        }
    }
    std::string detail(text);
    if (!Utf8ToUtf16(detail)) {
        for (char& c : detail) {
            c = static_cast<unsigned char>(c) < 0x80 ? c : '?';
        }
    }
    return detail;
}

// "line 2, column 7" of the byte the parser stopped at (1 for the first).
std::string Position(std::string_view text, std::size_t byte) {
    const std::size_t at = std::min(byte == 0 ? 0 : byte - 1, text.size());
    const std::string_view before = text.substr(0, at);
    const std::size_t lineStart = before.rfind('\n') == before.npos ? 0 : before.rfind('\n') + 1;
    const auto line = 1 + std::count(before.begin(), before.end(), '\n');
    return "line " + std::to_string(line) + ", column " + std::to_string(at - lineStart + 1);
}

// The text as one JSON value, or nothing with `refused` holding why. Nesting deeper than
// kDepthLimit is cut off as it is read; a library error names the top-level key whose
// value it met.
std::optional<Json> Parse(std::string_view text, std::vector<std::string>& refused) {
    std::string key;
    bool tooDeep = false;
    const Json::parser_callback_t watch = [&](int depth, Json::parse_event_t event, Json& parsed) {
        using Event = Json::parse_event_t;
        if (event == Event::key && depth == 1) {
            key = parsed.get<std::string>();
        } else if ((event == Event::object_start || event == Event::array_start) &&
                   depth >= kDepthLimit) {
            tooDeep = true;
        }
        return !tooDeep;
    };
    const auto inKey = [&key] { return key.empty() ? std::string() : key + ": "; };
    const auto refuseDepth = [&] {
        refused.push_back(inKey() + "arrays and objects nest more than " +
                          std::to_string(kDepthLimit) + " deep; a settings object has 2");
    };
    try {
        Json value = Json::parse(text, watch);
        if (!tooDeep) {
            return value;
        }
        refuseDepth();
    } catch (const Json::parse_error& e) {
        if (tooDeep) {
            refuseDepth();
        } else if (text.find_first_not_of(" \t\r\n") == text.npos) {
            refused.push_back("the input is empty, not a JSON object");
        } else {
            refused.push_back("not valid JSON at " + Position(text, e.byte) + ": " + Detail(e));
        }
    } catch (const Json::out_of_range& e) {
        // "number overflow parsing '1e400'"
        const std::string detail = Detail(e);
        const std::size_t open = detail.find('\''), close = detail.rfind('\'');
        refused.push_back(inKey() + (open < close ? "the number " +
                                                        detail.substr(open + 1, close - open - 1) +
                                                        " is too large to read"
                                                  : detail));
    } catch (const Json::exception& e) {
        refused.push_back(inKey() + Detail(e));
    }
    return std::nullopt;
}

std::vector<std::string> InEnglish(const std::vector<form::Message>& messages) {
    std::vector<std::string> texts;
    for (const form::Message& m : messages) {
        texts.push_back(m.en);
    }
    return texts;
}

}  // namespace

std::string SettingsToJson(const SettingsValues& v, const std::vector<form::Message>& warnings,
                           const std::vector<form::Message>& hints) {
    Json object;
    for (const form::Field& field : form::kFields) {
        const std::string text = field.write(v);
        object[std::string(field.key)] = field.number ? Json::parse(text) : Json(text);
    }
    object["warnings"] = InEnglish(warnings);
    object["hints"] = InEnglish(hints);
    return object.dump(2) + "\n";
}

std::vector<form::Message> ApplyJson(std::string_view text, CodePage cp, SettingsValues& values) {
    std::vector<std::string> refused;
    const auto asMessages = [&refused] {
        std::vector<form::Message> messages;
        for (std::string& r : refused) {
            messages.push_back(English(std::move(r)));
        }
        return messages;
    };
    const std::optional<Json> parsed = Parse(text, refused);
    if (!parsed) {
        return asMessages();
    }
    const Json& object = *parsed;
    if (!object.is_object()) {
        return {English("not a JSON object")};
    }

    SettingsValues v = values;
    const auto refuse = [&](const std::string& key, const std::string& reason) {
        refused.push_back(key + ": " + reason);
    };
    for (const auto& [name, value] : object.items()) {
        if (name == "warnings" || name == "hints") {
            continue;
        }
        const form::Field* field = form::FindField(name);
        if (!field) {
            refuse(name, "is not a known key");
        } else if (field->number ? !value.is_number_integer() : !value.is_string()) {
            refuse(name,
                   Describe(value) + (field->number ? " is not an integer" : " is not a string"));
        } else {
            const form::Result<form::Done> read = field->read(
                field->number ? value.dump() : value.get_ref<const std::string&>(), cp, v);
            for (const form::Message& reason : read.Reasons()) {
                refuse(name, reason.en);
            }
        }
    }
    if (refused.empty()) {
        values = std::move(v);
    }
    return asMessages();
}

}  // namespace tavrel::cli
