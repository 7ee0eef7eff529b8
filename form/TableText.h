#pragma once
// A site table's bytes as text: tables come as spreadsheets save them, in UTF-8 with or
// without a byte order mark, in the Windows code page of the PC that saved them (a
// spreadsheet on a Traditional Chinese Windows saves "CSV" in code page 950), or as
// UTF-16, which is refused with what to do instead.

#include <string>
#include <string_view>

#include "form/Result.h"
#include "record/CodePage.h"

namespace tavrel::form {

// Which encoding a table was read in, for the front end to say.
enum class TableEncoding { Utf8, CodePage };

struct TableText {
    // The table as UTF-8, its byte order mark removed. Ill-formed only where a table that
    // declares itself UTF-8 (a byte order mark, or `cp` UTF-8) is not: its rows' checks
    // report those cells.
    std::string utf8;
    TableEncoding encoding = TableEncoding::Utf8;
};

// The table's text: UTF-8 as it is when it starts with a UTF-8 byte order mark (dropped),
// when it is well-formed UTF-8, or when `cp` is UTF-8; otherwise decoded in code page `cp`
// (a byte that the code page cannot decode becomes '?'). Refused: UTF-16 of either byte
// order, with or without its byte order mark (without one, told by ASCII characters
// alternating with NUL bytes at the start); a table whose text starts with a byte order
// mark read as Western European text ("ï»¿": the table was opened in the wrong character
// set and saved again).
Result<TableText> DecodeTable(std::string_view bytes, CodePage cp);

}  // namespace tavrel::form
