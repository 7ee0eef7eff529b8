#pragma once
// One character at a time between UTF-16 and a code page: the platform's half of
// CodePage.cpp (CodePagePosix.cpp with iconv, CodePageWin32.cpp with the Win32 calls).
// Not part of the library's interface.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "record/CodePage.h"

namespace tavrel::detail {

class CodePageConverter {
public:
    explicit CodePageConverter(CodePage cp);
    ~CodePageConverter();
    CodePageConverter(const CodePageConverter&) = delete;
    CodePageConverter& operator=(const CodePageConverter&) = delete;

    // Whether the platform knows the code page; when it does not, the caller falls back
    // to plain ASCII.
    bool Available() const;

    // The bytes of one whole character (one code unit, or a surrogate pair), or nothing
    // when the code page lacks it.
    std::optional<std::string> Encode(std::u16string_view character);

    // The code units that exactly these bytes decode to, or nothing when they are not
    // valid text in the code page (an incomplete character included).
    std::optional<std::u16string> Decode(std::string_view bytes);

private:
    struct State;  // the platform's conversion state
    std::unique_ptr<State> state_;
};

}  // namespace tavrel::detail
