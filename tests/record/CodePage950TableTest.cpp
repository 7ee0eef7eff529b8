// The browser page's code page 950 (record/CodePageWeb.cpp over the generated table)
// against the Linux conversion it stands in for: glibc's iconv, called here directly.
// Every character in both directions, through the record's own conversion functions, so
// that a key gives the same bytes in the page as in the Linux programs.

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <string>
#include <string_view>

#include "record/CodePage.h"
#include "record/Utf16.h"

namespace tavrel {
namespace {

// One direction of iconv, each conversion whole and from a fresh state.
class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (Open()) {
            iconv_close(cd_);
        }
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool Open() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Nothing unless every byte converts.
    std::optional<std::string> Convert(std::string input) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char out[16];
        char* in = input.data();
        std::size_t inLeft = input.size();
        char* outPtr = out;
        std::size_t outLeft = sizeof out;
        if (iconv(cd_, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
            inLeft != 0 ||
            iconv(cd_, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            return std::nullopt;
        }
        return std::string(out, outPtr);
    }

private:
    iconv_t cd_;
};

std::string Utf16Le(std::u16string_view text) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::u16string FromUtf16Le(std::string_view bytes) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                      static_cast<unsigned char>(bytes[i + 1]) << 8);
    }
    return text;
}

std::string Hex(std::string_view bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const char c : bytes) {
        text += kDigits[static_cast<unsigned char>(c) >> 4];
        text += kDigits[static_cast<unsigned char>(c) & 0xF];
    }
    return text;
}

class CodePage950Table : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(encoder_.Open() && decoder_.Open()) << "iconv has no CP950";
    }

    // What the Linux programs write for one character: its bytes, or '?' where the
    // code page lacks it.
    std::string Encoded(std::u16string_view character) {
        const auto bytes = encoder_.Convert(Utf16Le(character));
        return bytes && !bytes->empty() ? *bytes : "?";
    }

    // The one character that exactly these bytes decode to, if they decode to one.
    std::optional<std::u16string> OneCharacter(std::string_view bytes) {
        const auto text = decoder_.Convert(std::string(bytes));
        if (!text) {
            return std::nullopt;
        }
        std::u16string units = FromUtf16Le(*text);
        if (!utf16::IsOneCharacter(units)) {
            return std::nullopt;
        }
        return units;
    }

    Iconv encoder_{"CP950", "UTF-16LE"};
    Iconv decoder_{"UTF-16LE", "CP950"};
};

// Every code point, supplementary ones included: the same bytes, or the same '?'.
TEST_F(CodePage950Table, EveryCharacterEncodesAsTheLinuxConversion) {
    int mismatches = 0;
    int encodable = 0;
    for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
        if (utf16::IsSurrogate(cp)) {
            continue;
        }
        std::u16string character;
        utf16::AppendCodePoint(character, cp);
        const std::string expected = Encoded(character);
        encodable += expected != "?" || cp == u'?';
        const std::string actual = ToCodePage(character);
        if (actual != expected && ++mismatches <= 10) {
            ADD_FAILURE() << "U+" << Hex(Utf16Le(character)) << " (UTF-16LE): " << Hex(actual)
                          << " where Linux writes " << Hex(expected);
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(encodable, 13000);  // the oracle itself converts
}

// Every single byte and every pair of bytes decodes to what the Linux programs show:
// the shortest run that forms one character, '?' for a byte that starts none.
TEST_F(CodePage950Table, EveryCodeDecodesAsTheLinuxConversion) {
    const auto single = [this](char byte) {
        return OneCharacter(std::string(1, byte)).value_or(u"?");
    };
    int mismatches = 0;
    int pairs = 0;
    for (int first = 0; first < 0x100; ++first) {
        const char lead = static_cast<char>(first);
        if (FromCodePage(std::string(1, lead)) != single(lead) && ++mismatches <= 10) {
            ADD_FAILURE() << "byte " << Hex(std::string(1, lead));
        }
        const bool leads = !OneCharacter(std::string(1, lead));
        for (int second = 0; second < 0x100; ++second) {
            const char trail = static_cast<char>(second);
            const std::string bytes{lead, trail};
            std::u16string expected = single(lead) + single(trail);
            if (leads) {
                const auto pair = OneCharacter(bytes);
                pairs += pair.has_value();
                expected = pair ? *pair : u"?" + single(trail);
            }
            if (FromCodePage(bytes) != expected && ++mismatches <= 10) {
                ADD_FAILURE() << "bytes " << Hex(bytes);
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(pairs, 13000);
}

}  // namespace
}  // namespace tavrel
