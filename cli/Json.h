#pragma once
// The settings as one JSON object: what `show --json` prints and `write --json-in` reads.
//
//   {"addressMode": 1, "ipAddress": "0.0.0.0", "subnetMask": "255.255.255.0",
//    "defaultGateway": "0.0.0.0", "otherDnsServer": "0.0.0.0",
//    "preferredDnsServer": "0.0.0.0", "pushAddress": "", "lineGuardMode": 0,
//    "ringLimit": 0, "cipKey": "", "warnings": [], "hints": []}

#include <string>
#include <string_view>
#include <vector>

#include "form/Result.h"
#include "record/SettingsValues.h"

namespace tavrel::cli {

// UTF-8, indented, ending with a line break.
// The warnings and hints are listed in English.
std::string SettingsToJson(const SettingsValues& values, const std::vector<form::Message>& warnings,
                           const std::vector<form::Message>& hints);

// Sets each value the object holds; a key it lacks keeps its value, "warnings" and
// "hints" are ignored. The values are checked as the command-line options are. Returns the reasons
// for refusing it, each naming its key; empty when accepted (and only then is `values`
// changed).
std::vector<form::Message> ApplyJson(std::string_view text, CodePage cp, SettingsValues& values);

}  // namespace tavrel::cli
