// Every text the dialogs show that is not a template's caption, by string id.
#include "dialog/Strings.h"

#include "dialog/resource.h"

namespace tavrel {

std::u16string_view LoadResourceString(int id) {
    switch (id) {
        case IDS_ABOUT_MENU:
            return u"&關於Tavrel";
        case IDS_GUARD_OFF:
            return u"關閉";
        case IDS_GUARD_ON:
            return u"開啟";
        case IDS_SETTINGS_CAPTION:
            return u"參數設置";
        case IDS_FILE_CREATED:
            return u"設定參數檔案已產生，請將產生的檔案複製到USB隨身碟或設備上的SD卡再插入設備";
        case IDS_CHOOSE_FOLDER:
            return u"選擇要將產生的設定檔存放的位置";
        case IDS_WRITE_FAILED:  // followed by the path and the reason, one per line
            return u"設定參數檔案無法寫入，未產生任何檔案：";
        default:
            return {};
    }
}

}  // namespace tavrel
