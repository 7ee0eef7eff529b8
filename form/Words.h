#pragma once
// Every word of the form as the dialogs show it, in Traditional Chinese: the labels, the
// choices, the guard's entries, the ring-count sentence, the buttons, captions and
// messages, the About box, and what the browser page alone shows. The dialogs' templates and
// strings, tavrel-cli's listing and help, and the browser page all take their words from here.

#include <array>
#include <string_view>

namespace tavrel::form::words {

// A label without the colon the form puts after it, as a listing or a screen reader names
// the field.
constexpr std::u16string_view WithoutColon(std::u16string_view label) {
    return label.ends_with(u':') ? label.substr(0, label.size() - 1) : label;
}

// The settings window.
inline constexpr std::u16string_view kSettingsTitle = u"Tavrel(Build 20220103)";
inline constexpr std::u16string_view kOk = u"確定";
inline constexpr std::u16string_view kExit = u"退出";

// The address mode: two choices, and the name a listing gives the pair.
inline constexpr std::u16string_view kAutomaticAddress = u"自動取得IP位址";
inline constexpr std::u16string_view kFixedAddress = u"使用下列的IP位址:";
inline constexpr std::u16string_view kAddressMode = u"位址模式";

// The labels of the fields, as the form shows them.
inline constexpr std::u16string_view kIpAddress = u"IP位址:";
inline constexpr std::u16string_view kSubnetMask = u"子網路遮罩:";
inline constexpr std::u16string_view kDefaultGateway = u"預設閘道:";
inline constexpr std::u16string_view kOtherDnsServer = u"其他DNS 伺服器:";
inline constexpr std::u16string_view kPreferredDnsServer = u"慣用DNS伺服器:";
inline constexpr std::u16string_view kPushAddress = u"來電號碼推送位址:";
inline constexpr std::u16string_view kLineGuard = u"惡意佔用外線設定:";
inline constexpr std::u16string_view kCipKey = u"CIPKEY:";

// The ring count stands inside one sentence: before it, and after it.
inline constexpr std::u16string_view kRingsBefore = u"來電響鈴超過";
inline constexpr std::u16string_view kRingsAfter = u"聲，立即將電話接起後並掛斷來電";
// The sentence's unit alone ("rings"), its first character.
inline constexpr std::u16string_view kRingsUnit = kRingsAfter.substr(0, 1);

// The guard's list, by index (the stored lineGuardMode), and what a listing shows when
// no entry is selected.
inline constexpr std::array<std::u16string_view, 2> kGuardEntries{u"關閉", u"開啟"};
inline constexpr std::u16string_view kNoGuardEntry = u"未選擇";

// Confirming.
inline constexpr std::u16string_view kMessageCaption = u"參數設置";
inline constexpr std::u16string_view kChooseFolder = u"選擇要將產生的設定檔存放的位置";
inline constexpr std::u16string_view kFileCreated =
    u"設定參數檔案已產生，請將產生的檔案複製到USB隨身碟或設備上的SD卡再插入設備";
// Followed by the path and the reason, one per line.
inline constexpr std::u16string_view kWriteFailed = u"設定參數檔案無法寫入，未產生任何檔案：";

// The About box and its menu entry.
inline constexpr std::u16string_view kAboutMenu = u"&關於Tavrel";
inline constexpr std::u16string_view kAboutTitle = u"關於Tavrel";
inline constexpr std::u16string_view kAboutVersion = u"Tavrel Version 1.0";
inline constexpr std::u16string_view kAboutDescription = u"電話線路設備設定檔產生工具";

// The browser page: its two file buttons, its lists, and what it says when it cannot
// start or read a file.
inline constexpr std::u16string_view kOpenSettingsFile = u"開啟設定檔";
inline constexpr std::u16string_view kOpenSiteTable = u"開啟站點表格";
inline constexpr std::u16string_view kLoadWarnings = u"載入警告";
inline constexpr std::u16string_view kNetworkHints = u"網路提示";
inline constexpr std::u16string_view kSiteTableProblems = u"站點表格錯誤";
inline constexpr std::u16string_view kSiteTableHints = u"站點表格提示";
inline constexpr std::u16string_view kFileUnreadable = u"無法讀取這個檔案";
inline constexpr std::u16string_view kCannotStart = u"這個瀏覽器無法執行本頁面，請改用新版的瀏覽器";

}  // namespace tavrel::form::words
