#pragma once
// Checks of the values a user gives on the command line or in JSON, before anything is
// written. Each returns the value the form would hold, or nothing with `reason` set to
// a short phrase saying why the value is refused.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "record/CodePage.h"
#include "record/DeviceSettingsRecord.h"

namespace tavrel::cli {

// Four decimal fields 0-255 separated by dots, as the address control takes them.
std::optional<AddressValue> CheckAddress(std::string_view text, std::string& reason);

// A signed 32-bit decimal integer, optionally with a sign.
std::optional<std::int32_t> CheckRingCount(std::string_view text, std::string& reason);

// "off" (list index 0) or "on" (1).
std::optional<std::int32_t> CheckGuardWord(std::string_view text, std::string& reason);

// UTF-8 text with its line breaks as CR LF, at most the 250 characters the form takes.
std::optional<std::u16string> CheckPushAddress(std::string_view utf8, std::string& reason);

// UTF-8 text that the code page can hold, at most 63 bytes in it.
std::optional<std::u16string> CheckKey(std::string_view utf8, CodePage cp, std::string& reason);

// "code page 950"; kSystemAnsiCodePage as what it is here: "the system's ANSI code page"
// on Windows, code page 950 elsewhere.
std::string CodePageName(CodePage cp);

}  // namespace tavrel::cli
