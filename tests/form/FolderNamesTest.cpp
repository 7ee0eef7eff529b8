// When two folder names in a site table are one folder: their keys agree when the names
// differ only in case (full Unicode case folding) or in how their letters are composed.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "form/FolderNames.h"

namespace tavrel::form {
namespace {

TEST(FolderNameKey, NamesOneFileSystemHoldsAsOneFolderAreRepeats) {
    struct Case {
        const char* what;
        std::vector<std::string> names;  // all repeats of each other
    };
    const std::vector<Case> cases{
        {"ASCII letters", {"dev1", "DEV1", "Dev1"}},
        {"accented letters", {"\u00E9", "\u00C9"}},
        {"the Greek sigma, final sigma too", {"\u03A3", "\u03C3", "\u03C2"}},
        {"sharp s folds to ss", {"\u00DF", "ss", "SS", "\u1E9E"}},
        {"a word with sharp s", {"Stra\u00DFe", "STRASSE", "strasse"}},
        {"a ligature folds to its letters", {"\uFB01le", "file", "FILE"}},
        {"title-case digraph", {"\u01C4", "\u01C5", "\u01C6"}},
        {"precomposed and decomposed", {"caf\u00E9", "cafe\u0301", "CAFE\u0301", "CAF\u00C9"}},
        {"Angstrom sign", {"\u212B", "\u00C5", "\u00E5", "A\u030A"}},
        {"Kelvin sign", {"\u212A", "k", "K"}},
        {"marks in either order", {"a\u0301\u0323", "a\u0323\u0301", "\u1EA1\u0301"}},
        {"a mark that folds to a letter",
         {"\u1F80", "\u1F88", "\u1F00\u03B9", "\u03B1\u0313\u0345"}},
        {"Hangul syllable and its letters", {"\uD55C", "\u1112\u1161\u11AB"}},
        {"a compatibility ideograph is its unified ideograph", {"\uF900", "\u8C48"}},
        {"letters outside the BMP", {"\U00010400", "\U00010428"}},
    };
    for (const Case& c : cases) {
        for (const std::string& name : c.names) {
            EXPECT_EQ(FolderNameKey(name), FolderNameKey(c.names[0])) << c.what << ": " << name;
        }
    }
}

TEST(FolderNameKey, DifferentNamesStayDifferent) {
    const std::vector<std::vector<std::string>> groups{
        {"dev1", "dev2", "dev10"},
        {"e", "\u00E9", "\u00E8", "e\u0302"},
        {"s", "ss", "\u00DF\u00DF"},
        {"i", "\u0131", "\u0130"},            // dotless i and dotted capital I are their own
        {"A", "\uFF21", "\u00C5", "\u00C4"},  // full-width letters are not folded to ASCII
        {"\u53F0\u5317", "\u81FA\u5317", "\u53F0\u4E2D"},
        {"\uAC00", "\uAC01", "\u1100\u1162"},
    };
    for (const std::vector<std::string>& names : groups) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            for (std::size_t j = i + 1; j < names.size(); ++j) {
                EXPECT_NE(FolderNameKey(names[i]), FolderNameKey(names[j]))
                    << names[i] << " and " << names[j];
            }
        }
    }
}

TEST(FolderNameKey, LeavesNamesWithoutCaseOrMarksAsTheyAre) {
    for (const std::string name : {"\u6A5F\u623F\u4E00\u865F", "\u53F0\u5317-3\u6A13", "1-2_3"}) {
        EXPECT_EQ(FolderNameKey(name), name);
    }
}

TEST(FolderNameKey, TextThatIsNotUtf8IsItsOwnKey) {
    EXPECT_EQ(FolderNameKey("\xC3"), "\xC3");
    EXPECT_NE(FolderNameKey("\xC3\xA9"), FolderNameKey("\xC3"));
}

}  // namespace
}  // namespace tavrel::form
