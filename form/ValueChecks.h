#pragma once
// The form's own limits on one value given as text, as the address control, the ring
// count, the guard's list and the key's byte count apply them. Each returns the value the
// form would hold, or the reason it refuses the text.

#include <cstdint>
#include <string>
#include <string_view>

#include "form/Result.h"
#include "record/CodePage.h"
#include "record/DeviceSettingsRecord.h"

namespace tavrel::form {

// Four decimal fields 0-255 separated by dots, as the address control takes them.
Result<AddressValue> CheckAddress(std::string_view text);

// A signed 32-bit decimal integer, optionally with a sign.
Result<std::int32_t> CheckInteger32(std::string_view text);

// "off" (list index 0) or "on" (1).
Result<std::int32_t> CheckGuardWord(std::string_view text);

// The address mode as a number: "1" automatic (true) or "0" fixed (false).
Result<bool> CheckAddressModeNumber(std::string_view text);

// The guard as a list index: "0" (off), "1" (on) or "-1" (none).
Result<std::int32_t> CheckGuardIndex(std::string_view text);

// UTF-8 text with its line breaks as CR LF, at most the 250 characters the form takes.
Result<std::u16string> CheckPushAddress(std::string_view utf8);

// UTF-8 text that the code page can hold, at most 63 bytes in it.
Result<std::u16string> CheckKey(std::string_view utf8, CodePage cp);

// A value in double quotes for a sentence, control characters and unpaired surrogates
// written as \uXXXX escapes (UTF-8 that is not valid is shown as "?"), cut after 60
// characters so that a long value does not drown the message.
inline constexpr std::size_t kQuotedValueLimit = 60;
std::string QuotedUtf8(std::string_view utf8);

}  // namespace tavrel::form
