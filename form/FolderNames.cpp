// The folder-name rules, each refusal worded by the form's sentences.
#include "form/FolderNames.h"

#include <algorithm>
#include <iterator>

#include "form/Sentences.h"
#include "form/Utf8.h"
#include "form/ValueChecks.h"

namespace tavrel::form {

namespace {

constexpr std::size_t kFolderNameLimit = 255;  // bytes on Linux, code units on Windows

// ASCII letters in upper case.
std::string UpperAscii(std::string_view text) {
    std::string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    return folded;
}

}  // namespace

std::optional<Message> FolderNameProblem(std::string_view name) {
    if (name.empty()) {
        return Say(Sentence::NameEmpty);
    }
    const std::optional<std::u16string> units = Utf8ToUtf16(name);
    if (!units) {
        return Say(Sentence::NotUtf8);
    }
    const std::string quoted = Quoted(*units, kQuotedValueLimit);
    if (name.size() > kFolderNameLimit) {
        return Say(Sentence::NameTooLong, {quoted, std::to_string(kFolderNameLimit)});
    }
    if (name == "." || name == "..") {
        return Say(Sentence::NameNotOwnFolder, {quoted});
    }
    for (const char c : name) {
        if (c == '/' || c == '\\') {
            return Say(Sentence::NameHoldsSeparator, {quoted});
        }
        if (static_cast<unsigned char>(c) < 0x20) {
            return Say(Sentence::NameHoldsControl, {quoted});
        }
        if (std::string_view("<>:\"|?*").find(c) != std::string_view::npos) {
            return Say(Sentence::NameHoldsForbidden, {quoted, std::string(1, c)});
        }
    }
    if (name.back() == '.' || name.back() == ' ') {
        return Say(Sentence::NameTrailingDotOrSpace, {quoted});
    }
    // A reserved device name stays reserved with an extension or spaces after it.
    std::string stem = UpperAscii(name.substr(0, name.find('.')));
    stem.erase(stem.find_last_not_of(' ') + 1);
    static constexpr std::string_view kReserved[] = {
        "CON",       "PRN",       "AUX",       "NUL",       "CONIN$",    "CONOUT$",  "COM1", "COM2",
        "COM3",      "COM4",      "COM5",      "COM6",      "COM7",      "COM8",     "COM9", "LPT1",
        "LPT2",      "LPT3",      "LPT4",      "LPT5",      "LPT6",      "LPT7",     "LPT8", "LPT9",
        "COM\u00B9", "COM\u00B2", "COM\u00B3", "LPT\u00B9", "LPT\u00B2", "LPT\u00B3"};
    if (std::find(std::begin(kReserved), std::end(kReserved), stem) != std::end(kReserved)) {
        return Say(Sentence::NameReserved, {quoted});
    }
    return std::nullopt;
}

std::string FolderNameKey(std::string_view name) {
    return UpperAscii(name);
}

}  // namespace tavrel::form
