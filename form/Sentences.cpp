// The table of sentences, English and Traditional Chinese side by side.
#include "form/Sentences.h"

#include <array>
#include <vector>

#include "record/CodePage.h"

namespace tavrel::form {

namespace {

struct Entry {
    Sentence id;
    std::string_view en;
    std::string_view zh;
};

constexpr Entry kSentences[] = {
    {Sentence::NotAnAddress,
     "{1} is not an address (four decimal fields 0-255, such as 192.168.1.10)",
     "{1} 不是位址（四個 0-255 的十進位數字，例如 192.168.1.10）"},
    {Sentence::NotAnInteger32, "{1} is not a signed 32-bit integer", "{1} 不是 32 位元有號整數"},
    {Sentence::OutOfRange32,
     "{1} is out of range: a signed 32-bit integer is -2147483648 to 2147483647",
     "{1} 超出範圍：32 位元有號整數只能是 -2147483648 到 2147483647"},
    {Sentence::NotAGuardWord, "{1} is neither off nor on", "{1} 既不是 off 也不是 on"},
    {Sentence::NotAnAddressMode, "{1} is neither 1 (automatic) nor 0 (fixed)",
     "{1} 既不是 1（自動取得）也不是 0（固定位址）"},
    {Sentence::NotAGuardIndex, "{1} is not 0 (off), 1 (on) or -1 (none)",
     "{1} 不是 0（{2}）、1（{3}）或 -1（{4}）"},
    {Sentence::NotUtf8, "is not valid UTF-8 text", "不是有效的 UTF-8 文字"},
    {Sentence::HoldsNul, "holds a NUL character", "含有 NUL 字元"},
    {Sentence::PushTooLongStored, "is {1} characters long; a settings file holds at most {2}",
     "長度為 {1} 個字元；設定檔最多只能存 {2} 個"},
    {Sentence::PushTooLong,
     "is {1} characters long (line breaks count two); the form takes at most {2}",
     "長度為 {1} 個字元（換行算兩個）；最多只能輸入 {2} 個"},
    {Sentence::KeyNotInCodePage, "has characters that {1} cannot hold", "含有{1}無法表示的字元"},
    {Sentence::KeyTooLong, "takes {1} bytes in {2}; at most {3} are stored",
     "在{2}中佔 {1} 位元組；最多只能儲存 {3} 位元組"},

    {Sentence::FileLongerThan,
     "The file is longer than {1} bytes; the bytes after the first {1} are ignored.",
     "檔案長度超過 {1} 位元組；前 {1} 位元組之後的內容會被忽略。"},
    {Sentence::FileShorter,
     "The file is {1} bytes long, not {2}; the fields past its end read as zero.",
     "檔案長度為 {1} 位元組，不是 {2}；超出檔案結尾的欄位都讀為零。"},
    {Sentence::FileLonger,
     "The file is {1} bytes long, not {2}; the bytes after the first {2} are ignored.",
     "檔案長度為 {1} 位元組，不是 {2}；前 {2} 位元組之後的內容會被忽略。"},
    {Sentence::ModeNotZeroOrOne,
     "The {1} is stored as {2}; the form shows it as automatic, and saving stores 1.",
     "{1}儲存為 {2}；表單顯示為自動取得，儲存時會存為 1。"},
    {Sentence::TextNoTerminator, "The {1} has no terminator within its {2} characters.",
     "{1}在其 {2} 個字元內沒有結尾字元。"},
    {Sentence::BytesAfterTerminator, "The {1} has non-zero bytes after its terminator.",
     "{1}在結尾字元之後有非零的位元組。"},
    {Sentence::AddressEmpty, "The {1} is empty; the form shows {2}.", "{1}是空的；表單顯示 {2}。"},
    {Sentence::AddressStoredAs, "The {1} is stored as {2}; the form shows {3}.",
     "{1}儲存為 {2}；表單顯示 {3}。"},
    {Sentence::AddressNotAnAddress,
     "The {1} is stored as {2}, which is not an address; the form shows {3}.",
     "{1}儲存為 {2}，這不是位址；表單顯示 {3}。"},
    {Sentence::ReservedByte,
     "The {1} (offsets {2}-{3}) holds 1 non-zero byte; saving writes zeros there.",
     "{1}（位移 {2}-{3}）有 1 個非零的位元組；儲存時會寫入零。"},
    {Sentence::ReservedBytes,
     "The {1} (offsets {2}-{3}) holds {4} non-zero bytes; saving writes zeros there.",
     "{1}（位移 {2}-{3}）有 {4} 個非零的位元組；儲存時會寫入零。"},
    {Sentence::TextLonger, "The {1} is {2} characters long; saving keeps only the first {3}.",
     "{1}長度為 {2} 個字元；儲存時只保留前 {3} 個。"},
    {Sentence::GuardNotAnEntry,
     "The {1} is stored as {2}, which is not an entry of the list; the form selects none, "
     "and saving stores {3}.",
     "{1}儲存為 {2}，這不是清單中的項目；表單不選擇任何項目，儲存時會存為 {3}。"},
    {Sentence::FieldChanges, "The {1} does not read back unchanged; saving would change it.",
     "{1}讀回的內容與原檔不同；儲存時會改變它。"},
    {Sentence::KeyNoTerminator, "The {1} has no terminator within its {2} bytes.",
     "{1}在其 {2} 位元組內沒有結尾字元。"},
    {Sentence::KeyNotRoundTrip,
     "The {1} holds bytes that do not read back unchanged in {2}; the form shows {3}.",
     "{1}含有在{2}中無法原樣讀回的位元組；表單顯示 {3}。"},
    {Sentence::KeyLonger, "The {1} is {2} bytes long; saving keeps only the first {3}.",
     "{1}長度為 {2} 位元組；儲存時只保留前 {3} 位元組。"},

    {Sentence::MaskNotContiguous,
     "The {2} {1} is not a run of ones followed by zeros, so the device's subnet is not what "
     "it seems.",
     "{2} {1} 不是連續的 1 之後接連續的 0，設備的子網路並非表面上的範圍。"},
    {Sentence::IpNotForDevice, "The {2} {1} is not an address a device can have.",
     "{2} {1} 不是設備可以使用的位址。"},
    {Sentence::IpIsNetwork,
     "The {3} {1} is the network address of its subnet {2}, which no device can have.",
     "{3} {1} 是其子網路 {2} 的網路位址，設備不能使用。"},
    {Sentence::IpIsBroadcast,
     "The {3} {1} is the broadcast address of its subnet {2}, which no device can have.",
     "{3} {1} 是其子網路 {2} 的廣播位址，設備不能使用。"},
    {Sentence::GatewayIsOwnIp,
     "The {2} {1} is the device's own {3}; the device would send its traffic to itself.",
     "{2} {1} 就是設備自己的{3}；設備會把流量送給自己。"},
    {Sentence::GatewayOutside,
     "The {3} {1} is outside the device's subnet {2}, so the device cannot reach it.",
     "{3} {1} 不在設備的子網路 {2} 之內，設備無法連到它。"},
    {Sentence::DnsNotForServer, "The {1} {2} is not an address a server can have.",
     "{1} {2} 不是伺服器可以使用的位址。"},
    {Sentence::SameFixedIp,
     "{1} has the same fixed IP address {2} as {3}; only one of them can be reached.",
     "{1} 與 {3} 的固定IP位址同為 {2}；只有其中一個能連線。"},

    {Sentence::NameEmpty, "is empty; each device needs the name of its folder",
     "是空的；每台設備都需要一個資料夾名稱"},
    {Sentence::NameTooLong, "{1} is longer than the {2} bytes a folder name can take",
     "{1} 超過資料夾名稱可用的 {2} 位元組"},
    {Sentence::NameNotOwnFolder, "{1} is not a folder of its own", "{1} 不是獨立的資料夾"},
    {Sentence::NameHoldsSeparator, "{1} holds a path separator; a name is one folder",
     "{1} 含有路徑分隔字元；名稱只能是一個資料夾"},
    {Sentence::NameHoldsControl, "{1} holds a control character", "{1} 含有控制字元"},
    {Sentence::NameHoldsForbidden, "{1} holds '{2}', which Windows does not allow in a folder name",
     "{1} 含有 Windows 資料夾名稱不允許的「{2}」"},
    {Sentence::NameTrailingDotOrSpace,
     "{1} ends with a dot or a space, which Windows drops from folder names",
     "{1} 以句點或空格結尾，Windows 會從資料夾名稱中刪去"},
    {Sentence::NameReserved, "{1} is a device name that Windows reserves",
     "{1} 是 Windows 保留的裝置名稱"},
    {Sentence::NameRepeated, "{1} repeats the name of row {2}", "{1} 與第 {2} 列的名稱重複"},
    {Sentence::InRow, "row {1}: {2}", "第 {1} 列：{2}"},
    {Sentence::InRowColumn, "row {1}, {2}: {3}", "第 {1} 列，{2}：{3}"},
    {Sentence::Row, "row {1}", "第 {1} 列"},
    {Sentence::RowOfDevice, "row {1} ({2})", "第 {1} 列（{2}）"},
    {Sentence::About, "{1}: {2}", "{1}：{2}"},
    {Sentence::MoreCells, "has more cells than the header has columns", "儲存格比標題列的欄位多"},
    {Sentence::FewerCells, "has fewer cells than the header has columns", "儲存格比標題列的欄位少"},
    {Sentence::TableEmpty, "the table is empty; its first row must name the columns ({1})",
     "表格是空的；第一列必須列出欄位名稱（{1}）"},
    {Sentence::UnknownColumn, "the header names the column {1}, which is not one of {2}",
     "標題列的欄位 {1} 不是 {2} 之一"},
    {Sentence::RepeatedColumn, "the header names the column {1} twice",
     "標題列的欄位 {1} 出現兩次"},
    {Sentence::NoNameColumn,
     "the table has no name column; its header must name it (the columns are {1})",
     "表格沒有 name 欄位；標題列必須有它（欄位為 {1}）"},
    {Sentence::HeaderRow, "the header row {1}", "標題列{1}"},
    {Sentence::NoRows, "the table has no rows; nothing written",
     "表格沒有任何資料列；未寫入任何檔案"},
    {Sentence::SpreadsheetNumber,
     "{1} looks like a number a spreadsheet rewrote; save the table with every column as text",
     "{1} 看起來是試算表改寫過的數字；請將每個欄位都設為文字後再儲存表格"},
    {Sentence::QuestionMarks,
     "holds \"?\", which a spreadsheet writes for characters it could not save; save the table "
     "as CSV UTF-8",
     "含有「?」，這是試算表無法儲存的字元被改成的符號；請將表格另存為 CSV UTF-8"},
    {Sentence::TableTooLarge, "the table is larger than the {1} MiB a table may take",
     "表格大於可讀取的 {1} MiB；未寫入任何檔案"},
    {Sentence::TableFilesMade, "{1} settings files made, in {2}",
     "已產生 {1} 個設定參數檔案，存於 {2}"},
};

std::string_view Pattern(Sentence id, bool english) {
    for (const Entry& e : kSentences) {
        if (e.id == id) {
            return english ? e.en : e.zh;
        }
    }
    return {};
}

// The pattern with each {N} replaced by the Nth text.
std::string Fill(std::string_view pattern, const std::vector<const std::string*>& args) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const bool place = pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 2] == '}' &&
                           pattern[i + 1] >= '1' && pattern[i + 1] <= '9';
        const std::size_t n = place ? static_cast<std::size_t>(pattern[i + 1] - '1') : 0;
        if (place && n < args.size()) {
            out += *args[n];
            i += 2;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

}  // namespace

Message Say(Sentence sentence, const std::vector<Arg>& args) {
    std::vector<const std::string*> en, zh;
    for (const Arg& a : args) {
        en.push_back(&a.en);
        zh.push_back(&a.zh);
    }
    return {Fill(Pattern(sentence, true), en), Fill(Pattern(sentence, false), zh)};
}

Arg CodePageName(CodePage cp) {
#ifdef _WIN32
    if (cp == kSystemAnsiCodePage) {
        return {"the system's ANSI code page", "系統的 ANSI 字碼頁"};
    }
#else
    if (cp == kSystemAnsiCodePage) {
        cp = kTraditionalChineseCodePage;  // the record's stand-in where there is no ANSI one
    }
#endif
    return {"code page " + std::to_string(cp), "字碼頁 " + std::to_string(cp) + " "};
}

}  // namespace tavrel::form
