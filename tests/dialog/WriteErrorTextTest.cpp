// The sentences the settings dialog shows for a failed write.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialog/WriteErrorText.h"
#include "record/SystemErrorText.h"

namespace tavrel {
namespace {

TEST(DescribeWriteError, GivesEachReasonItsOwnSentence) {
    std::vector<std::u16string> texts;
    for (const WriteError error :
         {WriteError::PathTooLong, WriteError::FolderNotFound, WriteError::AccessDenied,
          WriteError::TargetIsDirectory, WriteError::TargetNotRegularFile, WriteError::DiskFull,
          WriteError::VerifyFailed, WriteError::ReplacedButNotFlushed,
          WriteError::ReplacedByAnotherWriter, WriteError::Other}) {
        const auto text = DescribeWriteError({error, 0});
        EXPECT_FALSE(text.empty()) << static_cast<int>(error);
        EXPECT_EQ(std::count(texts.begin(), texts.end(), text), 0) << static_cast<int>(error);
        texts.push_back(text);
    }
    EXPECT_EQ(DescribeWriteError({WriteError::FolderNotFound, 2}), u"資料夾不存在");
    EXPECT_NE(DescribeWriteError({WriteError::Other, 5}).find(u"5"), std::u16string::npos);
}

TEST(DescribeWriteError, NamesAnyOtherSystemErrorByNumberAndTheSystemsWords) {
    // 2 is "file not found" on every system the tool runs on.
    const std::u16string words = SystemErrorText(2);
    ASSERT_FALSE(words.empty());
    EXPECT_EQ(DescribeWriteError({WriteError::Other, 2}), u"系統錯誤 2：" + words);
    EXPECT_EQ(DescribeWriteError({WriteError::Other, 0}), u"系統錯誤");
    EXPECT_EQ(DescribeWriteError({WriteError::None, 0}), u"");
}

}  // namespace
}  // namespace tavrel
