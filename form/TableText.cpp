// Telling a table's encoding from its bytes: the byte order marks, the NUL bytes that
// UTF-16 puts beside every ASCII character, and whether the bytes are UTF-8 at all.
#include "form/TableText.h"

#include <optional>

#include "form/Utf8.h"

namespace tavrel::form {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// The UTF-8 byte order mark read as code page 1252 (or Latin-1) and saved as UTF-8.
constexpr std::string_view kMisreadBom = "\xC3\xAF\xC2\xBB\xC2\xBF";

enum class ByteOrder { Little, Big };

bool IsAsciiCharacter(unsigned char byte) {
    return byte != 0 && byte < 0x80;
}

// UTF-16 by its byte order mark, or by its first two characters being ASCII: a table
// starts with its header, whose column names are ASCII.
std::optional<ByteOrder> Utf16Order(std::string_view bytes) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 2 && at(0) == 0xFF && at(1) == 0xFE) {
        return ByteOrder::Little;
    }
    if (bytes.size() >= 2 && at(0) == 0xFE && at(1) == 0xFF) {
        return ByteOrder::Big;
    }
    if (bytes.size() < 4) {
        return std::nullopt;
    }
    if (IsAsciiCharacter(at(0)) && at(1) == 0 && IsAsciiCharacter(at(2)) && at(3) == 0) {
        return ByteOrder::Little;
    }
    if (at(0) == 0 && IsAsciiCharacter(at(1)) && at(2) == 0 && IsAsciiCharacter(at(3))) {
        return ByteOrder::Big;
    }
    return std::nullopt;
}

Message Utf16Refused(ByteOrder order) {
    const std::string which = order == ByteOrder::Little ? "little-endian" : "big-endian";
    return {"the table is UTF-16 text (" + which + "): save it as CSV UTF-8 (comma-separated)",
            "表格是 UTF-16 文字（" + which + "）：請另存為 CSV UTF-8（逗號分隔）"};
}

Message MisreadBomRefused() {
    return {
        "the table was opened in the wrong character set: open it as UTF-8 (its first cell "
        "starts with \"ï»¿\", the mark of UTF-8 read as Western European text)",
        "表格曾以錯誤的字元集開啟：請以 UTF-8 開啟（第一格開頭的「ï»¿」是被當成西歐文字讀取的 "
        "UTF-8 標記）"};
}

bool StartsWithMisreadBom(std::string_view text) {
    if (text.starts_with('"')) {
        text.remove_prefix(1);
    }
    return text.starts_with(kMisreadBom);
}

}  // namespace

Result<TableText> DecodeTable(std::string_view bytes, CodePage cp) {
    if (const std::optional<ByteOrder> order = Utf16Order(bytes)) {
        return Utf16Refused(*order);
    }
    const bool bom = bytes.starts_with(kUtf8Bom);
    if (bom) {
        bytes.remove_prefix(kUtf8Bom.size());
    }
    TableText table;
    if (bom || cp == kUtf8CodePage || Utf8ToUtf16(bytes)) {
        table.utf8 = std::string(bytes);
    } else {
        table.utf8 = Utf16ToUtf8(FromCodePage(bytes, cp));
        table.encoding = TableEncoding::CodePage;
    }
    if (StartsWithMisreadBom(table.utf8)) {
        return MisreadBomRefused();
    }
    return table;
}

}  // namespace tavrel::form
