#pragma once
// The settings by name: the keys of `show --json`, which are also the columns that
// `batch` reads and `table` prints. Each value has one text form (a number in decimal,
// an address in dotted decimal, a text as UTF-8 with line breaks as CR LF) and is checked
// as `write` checks the option that sets it.

#include <array>
#include <string>
#include <string_view>

#include "record/CodePage.h"
#include "record/SettingsValues.h"

namespace tavrel::cli {

struct SettingsKey {
    const char* name;
    const char* label;  // the form's label of the field, without its colon
    bool number;        // a JSON number; the other keys are JSON strings
    // Sets the value from its text form; false, with `reason` set, when the form would
    // not take it (then `values` is unchanged).
    bool (*apply)(std::string_view text, CodePage cp, SettingsValues& values, std::string& reason);
    // The value's text form.
    std::string (*format)(const SettingsValues& values);
};

// In the order of `show --json`: the form's order, top to bottom. The address mode's
// label is the listing's own; the form has its two choices instead.
extern const std::array<SettingsKey, 10> kSettingsKeys;

// Nothing (nullptr) when `name` is not a key.
const SettingsKey* FindSettingsKey(std::string_view name);

// The key `name` names; `name` must be one.
const SettingsKey& SettingsKeyNamed(std::string_view name);

// The form's other words, as `show` lists the values and the `write` options' help
// names them.
inline constexpr std::string_view kAutomaticAddressChoice = "自動取得IP位址";
inline constexpr std::string_view kFixedAddressChoice = "使用下列的IP位址";
inline constexpr std::array<std::string_view, 2> kLineGuardEntries{"關閉", "開啟"};  // by index
inline constexpr std::string_view kRingsUnit = "聲";  // after the ring count, then:
inline constexpr std::string_view kRingsAction = "，立即將電話接起後並掛斷來電";

}  // namespace tavrel::cli
