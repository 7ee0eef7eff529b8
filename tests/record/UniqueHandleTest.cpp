// The unique-handle template: each value it takes is closed exactly once, by whoever
// holds it last, and a value that owns nothing is never closed.

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "record/UniqueHandle.h"

namespace tavrel {
namespace {

// Handles are ints; -1 owns nothing. Every close is recorded.
std::vector<int> g_closed;

struct CountingPolicy {
    using Value = int;
    static Value Invalid() noexcept { return -1; }
    static void Close(Value value) noexcept { g_closed.push_back(value); }
};
using Handle = UniqueHandle<CountingPolicy>;

// Validity decided by the policy: every negative value owns nothing.
struct NonNegativePolicy : CountingPolicy {
    static bool IsValid(Value value) noexcept { return value >= 0; }
};

// A close that can fail, as a file's can: odd values fail to close.
struct CheckedPolicy : CountingPolicy {
    static bool Close(Value value) noexcept {
        g_closed.push_back(value);
        return value % 2 == 0;
    }
};

class UniqueHandleTest : public testing::Test {
protected:
    void SetUp() override { g_closed.clear(); }
};

TEST_F(UniqueHandleTest, ClosesAtScopeEndOnlyWhatItOwns) {
    {
        const Handle owned(7);
        const Handle empty;
        const Handle invalid(-1);
        EXPECT_TRUE(owned);
        EXPECT_FALSE(empty);
        EXPECT_FALSE(invalid);
        EXPECT_EQ(owned.Get(), 7);
        EXPECT_TRUE(g_closed.empty());
    }
    EXPECT_EQ(g_closed, std::vector<int>{7});

    g_closed.clear();
    { const UniqueHandle<NonNegativePolicy> negative(-5); }
    EXPECT_TRUE(g_closed.empty());
}

TEST_F(UniqueHandleTest, MovingHandsOwnershipOn) {
    {
        Handle first(1);
        Handle second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.Get(), 1);

        Handle third(3);
        third = std::move(second);  // 3 is closed now, 1 moves on
        EXPECT_EQ(g_closed, std::vector<int>{3});
        EXPECT_FALSE(second);
        EXPECT_EQ(third.Get(), 1);

        Handle& alias = third;
        third = std::move(alias);  // moving onto itself keeps the handle
        EXPECT_EQ(third.Get(), 1);
        EXPECT_EQ(g_closed, std::vector<int>{3});
    }
    EXPECT_EQ(g_closed, (std::vector<int>{3, 1}));
}

TEST_F(UniqueHandleTest, ResetClosesTheOldValueAndReleaseClosesNothing) {
    Handle handle(4);
    handle.Reset(5);
    EXPECT_EQ(g_closed, std::vector<int>{4});
    EXPECT_EQ(handle.Get(), 5);

    EXPECT_EQ(handle.Release(), 5);
    EXPECT_FALSE(handle);
    handle.Reset();
    EXPECT_EQ(g_closed, std::vector<int>{4});  // 5 was given up, and nothing else held
}

TEST_F(UniqueHandleTest, CloseReportsThePolicysVerdictAndClosesOnce) {
    for (const auto& [value, closedCleanly] : {std::pair{8, true}, std::pair{9, false}}) {
        g_closed.clear();
        {
            UniqueHandle<CheckedPolicy> handle(value);
            EXPECT_EQ(handle.Close(), closedCleanly) << value;
            EXPECT_FALSE(handle) << value;
        }
        EXPECT_EQ(g_closed, std::vector<int>{value});  // not again at the scope's end
    }
}

}  // namespace
}  // namespace tavrel
