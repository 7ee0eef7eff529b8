#pragma once
// The form's fields, one entry each: its key (the `show --json` key and the site table's
// column), its label, its command-line option, how its value is read from text and written
// as text, and the rule its control enforces. Every front end's listing, options, JSON,
// table columns and cells come from this one table; a new setting is one entry here and
// its record field.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "form/Result.h"
#include "form/Sentences.h"
#include "record/CodePage.h"
#include "record/SettingsValues.h"

namespace tavrel::form {

struct Field {
    std::string_view key;         // the value's name in JSON and in a site table's header
    std::u16string_view label;    // the form's words for it, without a colon
    std::string_view english;     // its English name, as sentences about it use it
    std::u16string_view chinese;  // its Chinese name, as sentences about it use it
    bool number;                  // a number in JSON; the other values are strings

    // Sets the value from its text form (the JSON value's text, a table's cell); refused
    // when the form would not take it, and `values` then stays as it was.
    Result<Done> (*read)(std::string_view text, CodePage cp, SettingsValues& values);
    // The value's text form.
    std::string (*write)(const SettingsValues& values);

    // The command-line option that sets it, the name of its value and its help (the form's
    // words, then what it does); an empty option for the address mode, whose two choices
    // are flags of their own.
    std::string_view option;
    std::string_view optionValue;
    std::string (*optionHelp)();
    // Sets the value from the option's text; nullptr where it is the text form.
    Result<Done> (*readOption)(std::string_view text, CodePage cp, SettingsValues& values);
};

// In the form's order, top to bottom: the address mode, the five addresses, the push
// address, the guard, the ring count, the key.
extern const std::array<Field, 10> kFields;

// The field whose key is `key`, or nullptr.
const Field* FindField(std::string_view key);

// The field with this key; the key must be one of kFields'.
const Field& FieldNamed(std::string_view key);

// The field with this key as sentences name it: its English and its Chinese name.
Arg FieldNameInSentences(std::string_view key);

// The two address choices as command-line flags.
inline constexpr std::string_view kAutomaticOption = "--auto";
inline constexpr std::string_view kFixedOption = "--fixed";

// The help of the two flags.
std::string AutomaticOptionHelp();
std::string FixedOptionHelp();

// What a listing shows for the guard's value: the list's entry, or the word for none.
std::u16string_view GuardEntryText(std::int32_t lineGuardMode);

}  // namespace tavrel::form
