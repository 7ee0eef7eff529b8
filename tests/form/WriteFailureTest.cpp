// The sentences a failed write is told with, in both languages.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "form/Utf8.h"
#include "form/WriteFailure.h"
#include "record/SystemErrorText.h"

namespace tavrel::form {
namespace {

TEST(WriteFailureReason, GivesEachReasonItsOwnSentenceInBothLanguages) {
    std::vector<Message> texts;
    for (const WriteError error :
         {WriteError::PathTooLong, WriteError::FolderNotFound, WriteError::AccessDenied,
          WriteError::TargetIsDirectory, WriteError::TargetNotRegularFile, WriteError::DiskFull,
          WriteError::VerifyFailed, WriteError::ReplacedButNotFlushed,
          WriteError::ReplacedByAnotherWriter, WriteError::Other}) {
        const Message text = WriteFailureReason({error, 0});
        EXPECT_FALSE(text.en.empty() || text.zh.empty()) << static_cast<int>(error);
        for (const Message& earlier : texts) {
            EXPECT_NE(earlier.en, text.en) << static_cast<int>(error);
            EXPECT_NE(earlier.zh, text.zh) << static_cast<int>(error);
        }
        texts.push_back(text);
    }
    EXPECT_EQ(WriteFailureReason({WriteError::FolderNotFound, 2}).zh, "資料夾不存在");
}

TEST(WriteFailureReason, NamesTheSystemsErrorWhereThereIsOne) {
    // 2 is "file not found" on every system the tool runs on.
    const std::string words = Utf16ToUtf8(SystemErrorText(2));
    ASSERT_FALSE(words.empty());
    EXPECT_EQ(WriteFailureReason({WriteError::Other, 2}).zh, "系統錯誤 2：" + words);
    EXPECT_EQ(WriteFailureReason({WriteError::Other, 2}).en,
              "the system refused it (" + words + ")");
    EXPECT_EQ(WriteFailureReason({WriteError::DiskFull, 28}).zh, "磁碟空間不足");
    EXPECT_EQ(WriteFailureReason({WriteError::FolderNotFound, 2}).en,
              "the folder does not exist (" + words + ")");
    EXPECT_EQ(WriteFailureReason({WriteError::Other, 0}).zh, "系統錯誤");
    EXPECT_EQ(WriteFailureReason({WriteError::None, 0}).zh, "");
}

}  // namespace
}  // namespace tavrel::form
