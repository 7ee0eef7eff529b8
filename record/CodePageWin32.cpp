// Code pages through WideCharToMultiByte and MultiByteToWideChar; the system ANSI code
// page is the real one (CP_ACP).

#include "record/Win32.h"

#include <string>

#include "record/CodePageConverter.h"

namespace tavrel::detail {

namespace {

// Code pages that take no conversion flags at all (UTF-7, the ISO-2022 family, ISCII,
// the symbol code page).
bool TakesNoFlags(UINT cp) {
    return cp == 42 || cp == 65000 || (cp >= 50220 && cp <= 50229) || (cp >= 57002 && cp <= 57011);
}

}  // namespace

struct CodePageConverter::State {
    UINT cp = CP_ACP;
    bool available = false;
};

CodePageConverter::CodePageConverter(CodePage cp) : state_(std::make_unique<State>()) {
    // The number the system really uses, so that the flag rules below see it.
    state_->cp = cp == kSystemAnsiCodePage ? GetACP() : cp;
    state_->available = IsValidCodePage(state_->cp) != 0;
}

CodePageConverter::~CodePageConverter() = default;

bool CodePageConverter::Available() const {
    return state_->available;
}

std::optional<std::string> CodePageConverter::Encode(std::u16string_view character) {
    const UINT cp = state_->cp;
    const auto* units = reinterpret_cast<const wchar_t*>(character.data());
    const int count = static_cast<int>(character.size());
    char out[16];
    int written = 0;
    if (cp == CP_UTF8 || TakesNoFlags(cp)) {
        written = WideCharToMultiByte(cp, 0, units, count, out, sizeof out, nullptr, nullptr);
    } else {
        // No best-fit substitutes ("é" as "e"): a character the code page lacks is
        // reported, and becomes '?' as on every other platform.
        BOOL usedDefault = FALSE;
        written = WideCharToMultiByte(cp, WC_NO_BEST_FIT_CHARS, units, count, out, sizeof out, "?",
                                      &usedDefault);
        if (usedDefault) {
            return std::nullopt;
        }
    }
    if (written <= 0) {
        return std::nullopt;
    }
    return std::string(out, static_cast<std::size_t>(written));
}

std::optional<std::u16string> CodePageConverter::Decode(std::string_view bytes) {
    const UINT cp = state_->cp;
    const DWORD flags = TakesNoFlags(cp) ? 0 : MB_ERR_INVALID_CHARS;
    wchar_t out[8];
    const int written = MultiByteToWideChar(cp, flags, bytes.data(), static_cast<int>(bytes.size()),
                                            out, sizeof out / sizeof out[0]);
    if (written <= 0) {
        return std::nullopt;
    }
    std::u16string units(reinterpret_cast<const char16_t*>(out), static_cast<std::size_t>(written));
    return units;
}

}  // namespace tavrel::detail
