// Address values to and from text: the dotted form we write, and the inet_addr rules we
// read with, checked against glibc's inet_aton where it is at hand.

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "record/AddressText.h"

#ifndef _WIN32
#include <arpa/inet.h>
#endif

namespace tavrel {
namespace {

TEST(AddressToText, PrintsMostSignificantByteFirst) {
    EXPECT_EQ(AddressToText(0xC0A8010A), u"192.168.1.10");
    EXPECT_EQ(AddressToText(0x0A00008A), u"10.0.0.138");
    EXPECT_EQ(AddressToText(0), u"0.0.0.0");
    EXPECT_EQ(AddressToText(0xFFFFFFFF), u"255.255.255.255");
}

TEST(IsCanonicalAddressText, AcceptsOnlyWhatAddressToTextWrites) {
    for (const std::u16string_view text : {u"0.0.0.0", u"255.255.255.255", u"10.0.0.138"}) {
        EXPECT_TRUE(IsCanonicalAddressText(text)) << std::string(text.begin(), text.end());
    }
    for (const std::u16string_view text :
         {u"", u"1.2.3", u"1.2.3.4.", u".1.2.3", u"1.2.3.4.5", u"01.2.3.4", u"1.2.3.00",
          u"256.0.0.0", u"1000.1.1.1", u"1..3.4", u"1.2.3.4 ", u" 1.2.3.4", u"-1.2.3.4",
          u"0x1.2.3.4"}) {
        EXPECT_FALSE(IsCanonicalAddressText(text)) << std::string(text.begin(), text.end());
    }
}

// As the address control takes typed text: leading zeros are decimal, nothing else is
// an address.
TEST(ParseDottedDecimal, TakesFourDecimalFieldsOnly) {
    const std::pair<std::u16string_view, std::optional<AddressValue>> cases[] = {
        {u"192.168.1.10", 0xC0A8010A},
        {u"010.001.0.1", 0x0A010001},
        {u"0.0.0.0", 0},
        {u"255.255.255.255", 0xFFFFFFFF},
        {u"", std::nullopt},
        {u"1.2.3", std::nullopt},
        {u"1.2.3.4.", std::nullopt},
        {u"1.2.3.256", std::nullopt},
        {u"0001.2.3.4", std::nullopt},
        {u"1.2.3.4 ", std::nullopt},
        {u"0x1.2.3.4", std::nullopt},
        {u"1..3.4", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ParseDottedDecimal(text), expected) << std::string(text.begin(), text.end());
    }
}

#ifndef _WIN32
// glibc's answer: inet_aton gives the address in network byte order.
std::optional<AddressValue> GlibcInetAton(const std::string& text) {
    in_addr address{};
    if (inet_aton(text.c_str(), &address) == 0) {
        return std::nullopt;
    }
    return ntohl(address.s_addr);
}
#endif

struct InetCase {
    std::string text;
    std::optional<AddressValue> expected;
};

void PrintTo(const InetCase& c, std::ostream* os) {
    *os << testing::PrintToString(c.text);
}

class ParseInetAddressCases : public testing::TestWithParam<InetCase> {};

TEST_P(ParseInetAddressCases, MatchesInetAddrRules) {
    const auto& c = GetParam();
    EXPECT_EQ(ParseInetAddress(c.text), c.expected);
#ifndef _WIN32
    EXPECT_EQ(GlibcInetAton(c.text), c.expected) << "the expectation disagrees with glibc";
#endif
}

constexpr std::nullopt_t kReject = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Table, ParseInetAddressCases,
    testing::Values(
        // one to four parts; the last one fills the bytes the others leave
        InetCase{"1.2.3.4", 0x01020304}, InetCase{"10.1", 0x0A000001},
        InetCase{"1.2.65535", 0x0102FFFF}, InetCase{"1.16777215", 0x01FFFFFF},
        InetCase{"4294967295", 0xFFFFFFFF}, InetCase{"0", 0},
        InetCase{"255.255.255.255", 0xFFFFFFFF},
        // each part within its own range
        InetCase{"4294967296", kReject}, InetCase{"99999999999999999999999", kReject},
        InetCase{"1.16777216", kReject}, InetCase{"1.2.65536", kReject},
        InetCase{"1.2.3.256", kReject}, InetCase{"256.2.3.4", kReject},
        InetCase{"1.256.3", kReject}, InetCase{"1.2.3.4.5", kReject},
        // octal and hexadecimal parts
        InetCase{"010.0.0.1", 0x08000001}, InetCase{"0300.0250.01.012", 0xC0A8010A},
        InetCase{"0xC0.0Xa8.0x1.0xA", 0xC0A8010A}, InetCase{"0xffffffff", 0xFFFFFFFF},
        InetCase{"0x100000000", kReject}, InetCase{"00000000000000000000001.2.3.4", 0x01020304},
        InetCase{"0x00000000000000000000001", 1}, InetCase{"0377.0.0.0", 0xFF000000},
        InetCase{"0400.0.0.0", kReject}, InetCase{"08", kReject}, InetCase{"09.1", kReject},
        InetCase{"0x", kReject}, InetCase{"0xg", kReject}, InetCase{"0x.1", kReject},
        InetCase{"0x0x1", kReject}, InetCase{"1e3", kReject}, InetCase{"0b1", kReject},
        // the text ends at NUL or whitespace; anything after whitespace is ignored
        InetCase{"1.2.3.4 ", 0x01020304}, InetCase{"1.2.3.4\tjunk", 0x01020304},
        InetCase{"1.2.3.4\n5", 0x01020304}, InetCase{"1 2", 1},
        InetCase{std::string("1.2.3.4\0junk", 12), 0x01020304}, InetCase{"1.2.3.4junk", kReject},
        InetCase{"1.2.3.4,", kReject},
        // a part starts with a digit: no sign, no space, no empty part
        InetCase{"", kReject}, InetCase{" 1.2.3.4", kReject}, InetCase{"+1", kReject},
        InetCase{"-1", kReject}, InetCase{"1.-2.3.4", kReject}, InetCase{"1.2.3.", kReject},
        InetCase{"1..2", kReject}, InetCase{".", kReject}, InetCase{"1. 2", kReject},
        InetCase{"\xA4\xA4", kReject}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(ParseInetAddress, ReadsOnlyTheGivenLength) {
    const std::string text = "1.2.3.45";
    EXPECT_EQ(ParseInetAddress(std::string_view(text).substr(0, 7)), 0x01020304u);
}

#ifndef _WIN32
// Many generated strings from a small alphabet, half of them shaped like addresses so
// that the accepting paths are reached as often as the rejecting ones.
TEST(ParseInetAddress, AgreesWithGlibcOnGeneratedText) {
    static constexpr std::string_view kAlphabet = "0123456789.xXabcdef \t-+";
    std::mt19937 random(20220103);
    const auto pick = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(random);
    };
    const auto digits = [&](std::string_view set, int count) {
        std::string s;
        for (int i = 0; i < count; ++i) {
            s += set[pick(0, static_cast<int>(set.size()) - 1)];
        }
        return s;
    };
    int accepted = 0;
    for (int round = 0; round < 200000; ++round) {
        std::string text;
        if (round % 2 == 0) {
            text = digits(kAlphabet, pick(0, 16));
        } else {
            const int parts = pick(1, 5);
            for (int p = 0; p < parts; ++p) {
                if (p > 0) {
                    text += '.';
                }
                switch (pick(0, 2)) {
                    case 0:
                        text += digits("0123456789", pick(1, 11));
                        break;
                    case 1:
                        text += "0" + digits("01234567", pick(0, 12));
                        break;
                    default:
                        text += std::string(pick(0, 1) ? "0x" : "0X") +
                                digits("0123456789abcdefABCDEF", pick(0, 10));
                        break;
                }
            }
            if (pick(0, 3) == 0) {
                text += digits(kAlphabet, pick(1, 3));
            }
        }
        const auto ours = ParseInetAddress(text);
        ASSERT_EQ(ours, GlibcInetAton(text)) << "text: \"" << text << "\"";
        accepted += ours.has_value();
    }
    // Both outcomes must have been exercised for the comparison to mean anything.
    EXPECT_GT(accepted, 10000);
    EXPECT_LT(accepted, 190000);
}
#endif

}  // namespace
}  // namespace tavrel
