#pragma once
// UTF-8, the text of every front end's input and output, and UTF-16, what the record and
// the dialogs hold: one strict codec for all of them.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "record/AddressText.h"

namespace tavrel::form {

// Nothing when `text` is not well-formed UTF-8.
std::optional<std::u16string> Utf8ToUtf16(std::string_view text);

// An unpaired surrogate becomes U+FFFD, so the result is always well-formed UTF-8.
std::string Utf16ToUtf8(std::u16string_view text);

// An address as dotted text, as the form shows it.
std::string AddressUtf8(AddressValue address);

// Columns a terminal gives the text: East Asian wide characters take two.
std::size_t DisplayWidth(std::string_view utf8);

// The text in double quotes for a message, control characters and unpaired surrogates
// written as \uXXXX escapes; after `limit` characters the rest is left out and "…" stands
// for it.
std::string Quoted(std::u16string_view text, std::size_t limit = static_cast<std::size_t>(-1));

}  // namespace tavrel::form
