// The system's description of an error number: there for a known error, and ready to
// follow a sentence of ours, without the line break the system ends it with.

#include <gtest/gtest.h>

#include "record/SystemErrorText.h"

namespace tavrel {
namespace {

TEST(SystemErrorText, DescribesAKnownErrorOnOneLine) {
    // 2 and 5 are "file not found" and an access or I/O error, as errno and on Windows.
    for (const int error : {2, 5}) {
        const std::u16string text = SystemErrorText(error);
        ASSERT_FALSE(text.empty()) << error;
        EXPECT_EQ(text.find_first_of(u"\r\n"), std::u16string::npos) << error;
        EXPECT_NE(text.back(), u' ') << error;
    }
}

}  // namespace
}  // namespace tavrel
