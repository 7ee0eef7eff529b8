// The folder-name rules, each refusal worded by the form's sentences, and a name's key:
// its canonical caseless form, made with the Unicode tables in form/UnicodeTables.inc.
#include "form/FolderNames.h"

#include <algorithm>
#include <cstdint>
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

// The tables' entries; form/UnicodeTables.inc holds the tables and
// tools/make-unicode-tables says how they are laid out.
struct FoldRun {
    char32_t first;
    char32_t last;
    std::int32_t step : 8;
    std::int32_t offset : 24;
};
struct FoldFull {
    char32_t from;
    char32_t to[3];
};
struct Decomposition {
    std::uint64_t from : 21;
    std::uint64_t first : 21;
    std::uint64_t second : 21;
};
struct CombiningRun {
    char32_t first;
    std::uint16_t length;
    std::uint8_t combiningClass;
};

#include "form/UnicodeTables.inc"

// Hangul syllables: each is a leading consonant, a vowel and maybe a trailing consonant.
constexpr char32_t kSyllableFirst = 0xAC00;
constexpr char32_t kLeadFirst = 0x1100;
constexpr char32_t kVowelFirst = 0x1161;
constexpr char32_t kTrailFirst = 0x11A7;
constexpr char32_t kVowels = 21;
constexpr char32_t kTrails = 28;
constexpr char32_t kSyllables = 19 * kVowels * kTrails;

int CombiningClass(char32_t c) {
    const auto after =
        std::upper_bound(std::begin(kCombiningRuns), std::end(kCombiningRuns), c,
                         [](char32_t value, const CombiningRun& run) { return value < run.first; });
    if (after == std::begin(kCombiningRuns)) {
        return 0;
    }
    const CombiningRun& run = *std::prev(after);
    return c - run.first <= run.length ? run.combiningClass : 0;
}

// Appends the full canonical decomposition of `c`.
void Decompose(char32_t c, std::u32string& out) {
    if (c >= kSyllableFirst && c < kSyllableFirst + kSyllables) {
        const char32_t index = c - kSyllableFirst;
        out += kLeadFirst + index / (kVowels * kTrails);
        out += kVowelFirst + index % (kVowels * kTrails) / kTrails;
        if (index % kTrails != 0) {
            out += kTrailFirst + index % kTrails;
        }
        return;
    }
    const auto found =
        std::lower_bound(std::begin(kDecompositions), std::end(kDecompositions), c,
                         [](const Decomposition& d, char32_t value) { return d.from < value; });
    if (found == std::end(kDecompositions) || found->from != c) {
        out += c;
        return;
    }
    Decompose(static_cast<char32_t>(found->first), out);
    if (found->second != 0) {
        Decompose(static_cast<char32_t>(found->second), out);
    }
}

// NFD: every code point decomposed, then each run of combining marks put in the order of
// their classes (a stable sort: marks of one class keep their order).
std::u32string Nfd(std::u32string_view text) {
    std::u32string out;
    for (const char32_t c : text) {
        Decompose(c, out);
    }
    for (std::size_t start = 0; start < out.size();) {
        if (CombiningClass(out[start]) == 0) {
            ++start;
            continue;
        }
        std::size_t end = start;
        while (end < out.size() && CombiningClass(out[end]) != 0) {
            ++end;
        }
        std::stable_sort(
            out.begin() + static_cast<std::ptrdiff_t>(start),
            out.begin() + static_cast<std::ptrdiff_t>(end),
            [](char32_t a, char32_t b) { return CombiningClass(a) < CombiningClass(b); });
        start = end;
    }
    return out;
}

// Full case folding (ß becomes ss).
std::u32string CaseFold(std::u32string_view text) {
    std::u32string out;
    for (const char32_t c : text) {
        const auto full =
            std::lower_bound(std::begin(kFoldFull), std::end(kFoldFull), c,
                             [](const FoldFull& f, char32_t value) { return f.from < value; });
        if (full != std::end(kFoldFull) && full->from == c) {
            for (const char32_t to : full->to) {
                if (to != 0) {
                    out += to;
                }
            }
            continue;
        }
        const auto after =
            std::upper_bound(std::begin(kFoldRuns), std::end(kFoldRuns), c,
                             [](char32_t value, const FoldRun& run) { return value < run.first; });
        if (after != std::begin(kFoldRuns)) {
            const FoldRun& run = *std::prev(after);
            if (c <= run.last && (c - run.first) % static_cast<char32_t>(run.step) == 0) {
                out += static_cast<char32_t>(static_cast<std::int32_t>(c) + run.offset);
                continue;
            }
        }
        out += c;
    }
    return out;
}

std::u32string CodePoints(std::u16string_view units) {
    std::u32string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char32_t unit = units[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units.size()) {
            out += 0x10000 + ((unit - 0xD800) << 10) + (units[++i] - 0xDC00);
        } else {
            out += unit;
        }
    }
    return out;
}

std::string Utf8(std::u32string_view text) {
    std::string out;
    for (const char32_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
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
    const std::optional<std::u16string> units = Utf8ToUtf16(name);
    if (!units) {
        // Refused for itself; its bytes, never well-formed UTF-8, meet no other key.
        return std::string(name);
    }
    return Utf8(Nfd(CaseFold(Nfd(CodePoints(*units)))));
}

}  // namespace tavrel::form
