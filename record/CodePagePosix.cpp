// Code pages through iconv. The system ANSI code page is 950 here, the code page of the
// tool's own locale, so that a key gives the device the same bytes as on Windows.

#include <iconv.h>

#include <cerrno>
#include <string>

#include "record/CodePageConverter.h"
#include "record/UniqueHandle.h"

namespace tavrel::detail {

namespace {

struct IconvPolicy {
    using Value = iconv_t;
    static Value Invalid() noexcept { return reinterpret_cast<iconv_t>(-1); }
    static void Close(Value cd) noexcept { iconv_close(cd); }
};
// What iconv_open returns: (iconv_t)-1 owns nothing.
using UniqueIconv = UniqueHandle<IconvPolicy>;

std::string IconvName(CodePage cp) {
    if (cp == kSystemAnsiCodePage) {
        cp = kTraditionalChineseCodePage;
    }
    if (cp == kUtf8CodePage) {
        return "UTF-8";
    }
    return "CP" + std::to_string(cp);
}

// Runs one whole conversion from a fresh state; nothing unless every input byte was
// taken and the output ended in the initial shift state.
std::optional<std::string> Convert(iconv_t cd, std::string_view input) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string in(input);
    char out[32];
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    char* outPtr = out;
    std::size_t outLeft = sizeof out;
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
        inLeft != 0) {
        return std::nullopt;
    }
    if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
        return std::nullopt;
    }
    return std::string(out, outPtr);
}

}  // namespace

struct CodePageConverter::State {
    std::string name;
    UniqueIconv toCodePage;
    UniqueIconv fromCodePage;  // opened on the first Decode
};

CodePageConverter::CodePageConverter(CodePage cp) : state_(std::make_unique<State>()) {
    state_->name = IconvName(cp);
    state_->toCodePage.Reset(iconv_open(state_->name.c_str(), "UTF-16LE"));
}

CodePageConverter::~CodePageConverter() = default;

bool CodePageConverter::Available() const {
    return static_cast<bool>(state_->toCodePage);
}

std::optional<std::string> CodePageConverter::Encode(std::u16string_view character) {
    std::string utf16le;
    for (const char16_t unit : character) {
        utf16le += static_cast<char>(unit & 0xFF);
        utf16le += static_cast<char>(unit >> 8);
    }
    auto bytes = Convert(state_->toCodePage.Get(), utf16le);
    if (!bytes || bytes->empty()) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::u16string> CodePageConverter::Decode(std::string_view bytes) {
    if (!state_->fromCodePage) {
        state_->fromCodePage.Reset(iconv_open("UTF-16LE", state_->name.c_str()));
        if (!state_->fromCodePage) {
            return std::nullopt;
        }
    }
    const auto utf16le = Convert(state_->fromCodePage.Get(), bytes);
    if (!utf16le || utf16le->empty() || utf16le->size() % 2 != 0) {
        return std::nullopt;
    }
    std::u16string units;
    for (std::size_t i = 0; i < utf16le->size(); i += 2) {
        units += static_cast<char16_t>(static_cast<unsigned char>((*utf16le)[i]) |
                                       static_cast<unsigned char>((*utf16le)[i + 1]) << 8);
    }
    return units;
}

}  // namespace tavrel::detail
