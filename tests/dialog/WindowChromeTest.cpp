#include <gtest/gtest.h>

#include "dialog/ConfigDlg.h"

namespace {

TEST(WindowChrome, MinimisedIconIsCentredWithTruncationTowardZero) {
    struct Case {
        int client, icon, offset;
    };
    for (const Case c :
         {Case{36, 32, 2}, Case{35, 32, 2}, Case{32, 32, 0}, Case{20, 32, -5}, Case{0, 32, -15}}) {
        EXPECT_EQ(tavrel::CenteredIconOffset(c.client, c.icon), c.offset)
            << "client " << c.client << ", icon " << c.icon;
    }
}

}  // namespace
