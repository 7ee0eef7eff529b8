// The write-failure sentences of the settings dialog, in Traditional Chinese.

#include "dialog/WriteErrorText.h"

#include "record/SystemErrorText.h"

namespace tavrel {

std::u16string DescribeWriteError(const WriteResult& result) {
    switch (result.error) {
        case WriteError::None:
            return u"";
        case WriteError::PathTooLong:
            return u"路徑太長";
        case WriteError::FolderNotFound:
            return u"資料夾不存在";
        case WriteError::AccessDenied:
            return u"沒有寫入權限，或媒體為唯讀";
        case WriteError::TargetIsDirectory:
            return u"已有同名的資料夾";
        case WriteError::TargetNotRegularFile:
            return u"已有同名的項目，但不是一般檔案（例如裝置、管道、通訊端或符號連結）";
        case WriteError::DiskFull:
            return u"磁碟空間不足";
        case WriteError::VerifyFailed:
            return u"寫入後讀回的內容不符";
        case WriteError::ReplacedButNotFlushed:
            return u"檔案已取代原有的檔案，但儲存媒體回報錯誤，檔案可能沒有完整儲存";
        case WriteError::ReplacedByAnotherWriter:
            return u"檔案已寫入，但隨即被另一個程式寫入的檔案取代";
        case WriteError::Other:
            break;
    }
    std::u16string text = u"系統錯誤";
    if (result.systemError != 0) {
        text += u' ';
        for (const char c : std::to_string(result.systemError)) {
            text += static_cast<char16_t>(c);
        }
        const std::u16string detail = SystemErrorText(result.systemError);
        if (!detail.empty()) {
            text += u"：" + detail;
        }
    }
    return text;
}

}  // namespace tavrel
