// UTF-16 characters: a surrogate pair is one character, half a pair on its own is one
// unit, and cutting text never parts a pair.

#include <gtest/gtest.h>

#include <string>

#include "record/Utf16.h"

namespace tavrel::utf16 {
namespace {

const std::u16string kPair = u"\U0001F600";  // D83D DE00
const char16_t kHigh = 0xD83D;
const char16_t kLow = 0xDE00;

TEST(Utf16, SurrogateRanges) {
    struct Case {
        char32_t unit;
        bool high, low;
    };
    for (const Case c :
         {Case{0xD7FF, false, false}, Case{0xD800, true, false}, Case{0xDBFF, true, false},
          Case{0xDC00, false, true}, Case{0xDFFF, false, true}, Case{0xE000, false, false},
          Case{0x1D800, false, false}}) {
        EXPECT_EQ(IsHighSurrogate(c.unit), c.high) << std::hex << static_cast<unsigned>(c.unit);
        EXPECT_EQ(IsLowSurrogate(c.unit), c.low) << std::hex << static_cast<unsigned>(c.unit);
        EXPECT_EQ(IsSurrogate(c.unit), c.high || c.low)
            << std::hex << static_cast<unsigned>(c.unit);
    }
}

TEST(Utf16, StepsByWholeCharacters) {
    struct Case {
        std::u16string text;
        std::size_t at;
        std::size_t units;
        char32_t codePoint;
    };
    const Case cases[] = {
        {u"a" + kPair, 0, 1, u'a'},
        {u"a" + kPair, 1, 2, 0x1F600},
        {u"a" + kPair, 2, 1, kLow},                  // inside the pair: the half alone
        {std::u16string{kHigh}, 0, 1, kHigh},        // high half at the end
        {std::u16string{kHigh, u'b'}, 0, 1, kHigh},  // high half before a non-low
        {std::u16string{kLow, kHigh}, 0, 1, kLow},   // halves in the wrong order
        {u"\U0010FFFF", 0, 2, 0x10FFFF},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CharacterUnits(c.text, c.at), c.units) << "at " << c.at;
        EXPECT_EQ(CodePointAt(c.text, c.at), c.codePoint) << "at " << c.at;
    }
    EXPECT_TRUE(IsOneCharacter(u"中"));
    EXPECT_TRUE(IsOneCharacter(kPair));
    EXPECT_FALSE(IsOneCharacter(std::u16string{kHigh}));
    EXPECT_FALSE(IsOneCharacter(std::u16string{kLow, kHigh}));
    EXPECT_FALSE(IsOneCharacter(u"ab"));
    EXPECT_FALSE(IsOneCharacter(u""));
}

TEST(Utf16, AppendsCodePointsAsUnitsOrPairs) {
    std::u16string out;
    for (const char32_t cp : {char32_t{u'a'}, char32_t{0xFFFF}, char32_t{0x10000},
                              char32_t{0x1F600}, char32_t{0x10FFFF}}) {
        const std::size_t at = out.size();
        AppendCodePoint(out, cp);
        EXPECT_EQ(CodePointAt(out, at), cp);
        EXPECT_EQ(out.size() - at, cp < 0x10000 ? 1u : 2u);
    }
    EXPECT_EQ(out.substr(2, 2), std::u16string(u"\U00010000"));
}

TEST(Utf16, WholeCharacterPrefixNeverPartsAPair) {
    const std::u16string text = u"ab" + kPair + u"c";  // a b D83D DE00 c
    struct Case {
        std::size_t units;
        std::u16string expected;
    };
    const Case cases[] = {
        {0, u""},           {2, u"ab"}, {3, u"ab"},  // would end between the halves
        {4, u"ab" + kPair}, {5, text},  {99, text},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WholeCharacterPrefix(text, c.units), c.expected) << c.units << " units";
    }
    // Half a pair on its own is a character of its own and may be the last one kept.
    EXPECT_EQ(WholeCharacterPrefix(std::u16string{u'a', kHigh, u'b'}, 2),
              (std::u16string{u'a', kHigh}));
}

}  // namespace
}  // namespace tavrel::utf16
