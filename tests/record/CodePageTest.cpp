// UTF-16 to and from 8-bit code pages, one whole character at a time.

#include <gtest/gtest.h>

#include <string>

#include "record/CodePage.h"

namespace tavrel {
namespace {

constexpr CodePage kBig5 = kTraditionalChineseCodePage;

struct RoundTripCase {
    const char* name;
    CodePage cp;
    std::u16string text;
    std::string bytes;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) {
    *os << c.name;
}

class CodePageRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(CodePageRoundTrip, EncodesAndDecodes) {
    const auto& c = GetParam();
    EXPECT_EQ(ToCodePage(c.text, c.cp), c.bytes);
    EXPECT_EQ(CodePageLength(c.text, c.cp), c.bytes.size());
    EXPECT_EQ(FromCodePage(c.bytes, c.cp), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CodePageRoundTrip,
    testing::Values(RoundTripCase{"Ascii", kBig5, u"Key 123 ~!", "Key 123 ~!"},
                    RoundTripCase{"Chinese", kBig5, u"中文", "\xA4\xA4\xA4\xE5"},
                    RoundTripCase{"ChineseAndAscii", kBig5, u"臺灣a設定",
                                  "\xBB\x4F\xC6\x57"
                                  "a\xB3\x5D\xA9\x77"},
                    RoundTripCase{"Euro", kBig5, u"€", "\xA3\xE1"},
                    RoundTripCase{"Western", 1252, u"café €", "caf\xE9 \x80"},
                    RoundTripCase{"Utf8WithSurrogatePair", 65001, u"中\U0001F600",
                                  "\xE4\xB8\xAD\xF0\x9F\x98\x80"},
                    RoundTripCase{"Empty", kBig5, u"", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// Characters the code page lacks become one '?' each: no best-fit look-alike ("e" for
// "é"), and a surrogate pair is one character. Half a pair is no character at all.
TEST(CodePage, MissingCharactersBecomeOneQuestionMarkEach) {
    EXPECT_EQ(ToCodePage(u"aéb", kBig5), "a?b");
    EXPECT_EQ(ToCodePage(u"中\u0E01文", kBig5), "\xA4\xA4?\xA4\xE5");  // Thai
    EXPECT_EQ(ToCodePage(u"x\U0001F600y", kBig5), "x?y");
    EXPECT_EQ(ToCodePage(u"\u4E2D\u0100", 1252), "??");
    EXPECT_EQ(ToCodePage(std::u16string{u'a', char16_t(0xD800), u'b'}, 65001), "a?b");
    EXPECT_EQ(ToCodePage(std::u16string{char16_t(0xDC00), u'中'}, kBig5), "?\xA4\xA4");
}

TEST(CodePage, UndecodableBytesBecomeQuestionMarks) {
    EXPECT_EQ(FromCodePage("\xA4\xA4\xA4", kBig5), u"中?");  // a lead byte without its trail
    EXPECT_EQ(FromCodePage("a\xFF\xFE"
                           "b",
                           65001),
              u"a??b");
}

// The key slot takes whole characters only: a double-byte character that does not fit
// whole is left out, never split.
TEST(CodePage, FittingNeverSplitsACharacter) {
    const std::u16string edge = std::u16string(62, u'a') + u"中";
    EXPECT_EQ(ToCodePageFitting(edge, 63, kBig5), std::string(62, 'a'));
    EXPECT_EQ(ToCodePageFitting(edge, 64, kBig5), std::string(62, 'a') + "\xA4\xA4");
    EXPECT_EQ(ToCodePageFitting(u"a" + edge, 63, kBig5), std::string(63, 'a'));
    EXPECT_EQ(ToCodePageFitting(u"中文", 3, kBig5), "\xA4\xA4");
    EXPECT_EQ(ToCodePageFitting(u"\U0001F600", 3, 65001), "");
    EXPECT_EQ(ToCodePageFitting(u"\U0001F600", 4, 65001), "\xF0\x9F\x98\x80");
    EXPECT_EQ(ToCodePageFitting(u"abc", 0, kBig5), "");

    // The same cut counted in code units, as an edit inserts a paste that fits.
    EXPECT_EQ(FittingUnits(edge, 63, kBig5), 62u);
    EXPECT_EQ(FittingUnits(edge, 64, kBig5), 63u);
    EXPECT_EQ(FittingUnits(u"a\U0001F600b", 4, 65001), 1u);
    EXPECT_EQ(FittingUnits(u"a\U0001F600b", 5, 65001), 3u);
}

TEST(CodePage, UnknownCodePageFallsBackToAscii) {
    EXPECT_TRUE(IsCodePageAvailable(kBig5));
    EXPECT_TRUE(IsCodePageAvailable(65001));
    EXPECT_TRUE(IsCodePageAvailable(kSystemAnsiCodePage));
    EXPECT_FALSE(IsCodePageAvailable(12345));
    EXPECT_EQ(ToCodePage(u"ab中", 12345), "ab?");
    EXPECT_EQ(FromCodePage("ab\xA4", 12345), u"ab?");
}

// The system code page is the user's real one on Windows; elsewhere it is 950.
TEST(CodePage, SystemCodePageKeepsAscii) {
    EXPECT_EQ(ToCodePage(u"plain key"), "plain key");
    EXPECT_EQ(FromCodePage("plain key"), u"plain key");
#ifndef _WIN32
    EXPECT_EQ(ToCodePage(u"中文"), "\xA4\xA4\xA4\xE5");
#endif
}

}  // namespace
}  // namespace tavrel
