// The write-failure sentences, side by side by reason.
#include "form/WriteFailure.h"

#include <string>

#include "form/Utf8.h"
#include "record/SystemErrorText.h"

namespace tavrel::form {

namespace {

Message Sentences(WriteError error) {
    switch (error) {
        case WriteError::None:
            return {"no error", ""};
        case WriteError::PathTooLong:
            return {"the path is too long", "路徑太長"};
        case WriteError::FolderNotFound:
            return {"the folder does not exist", "資料夾不存在"};
        case WriteError::AccessDenied:
            return {"access denied or read-only medium", "沒有寫入權限，或媒體為唯讀"};
        case WriteError::TargetIsDirectory:
            return {"a folder has that name", "已有同名的資料夾"};
        case WriteError::TargetNotRegularFile:
            return {"something other than a regular file has that name",
                    "已有同名的項目，但不是一般檔案（例如裝置、管道、通訊端或符號連結）"};
        case WriteError::DiskFull:
            return {"no space left on the medium", "磁碟空間不足"};
        case WriteError::VerifyFailed:
            return {"the file read back differs", "寫入後讀回的內容不符"};
        case WriteError::ReplacedButNotFlushed:
            return {
                "the file was replaced, but the medium reported an error, so it may not be "
                "stored completely",
                "檔案已取代原有的檔案，但儲存媒體回報錯誤，檔案可能沒有完整儲存"};
        case WriteError::ReplacedByAnotherWriter:
            return {"the file was written, but another writer's file replaced it right after",
                    "檔案已寫入，但隨即被另一個程式寫入的檔案取代"};
        case WriteError::Other:
            break;
    }
    return {"the system refused it", "系統錯誤"};
}

}  // namespace

Message WriteFailureReason(const WriteResult& result) {
    Message reason = Sentences(result.error);
    if (result.error == WriteError::None || result.systemError == 0) {
        return reason;
    }
    const std::string detail = Utf16ToUtf8(SystemErrorText(result.systemError));
    reason.en += " (" + detail + ")";
    if (result.error == WriteError::Other) {
        reason.zh += ' ';
        reason.zh += std::to_string(result.systemError);
        if (!detail.empty()) {
            reason.zh += "：" + detail;
        }
    }
    return reason;
}

}  // namespace tavrel::form
