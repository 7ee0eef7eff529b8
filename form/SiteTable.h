#pragma once
// A site table: one row per device, its columns "name" (the device's folder) and the
// keys of the form's fields, each cell holding a value as its text form. Every row is
// checked before anything is written, as the command line's `batch` and the browser
// page both need it: the table as a whole, each row's cells, the folder names and their
// repeats, and the hints that a table a spreadsheet saved has lost something.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "form/Fields.h"
#include "form/Result.h"
#include "form/TableText.h"
#include "record/CodePage.h"
#include "record/SettingsValues.h"

namespace tavrel::form {

// The largest site table read: far more than any site, small enough to read whole.
inline constexpr std::size_t kSiteTableSizeLimit = 16 << 20;

// The columns a site table may have: "name", then the fields' keys.
inline constexpr std::size_t kSiteColumns = 1 + kFields.size();
// The header of `column` (below kSiteColumns).
std::string_view SiteColumnName(std::size_t column);

// A row that passed every check.
struct SiteDevice {
    unsigned row = 0;  // in the table, the header being row 1
    std::string name;  // its folder's name
    SettingsValues values;
};

struct SiteTable {
    TableEncoding encoding = TableEncoding::Utf8;
    std::size_t rows = 0;             // rows below the header, not counting blank ones
    std::vector<SiteDevice> devices;  // the rows that pass, in order
    std::size_t refusedRows = 0;
    // Everything wrong with the rows ("row 3, ipAddress: ..."), in row order; nothing may be
    // written while there is any.
    std::vector<Message> problems;
    // For the rows that pass, in row order: their network hints ("row 3 (dev1): ..."), two
    // devices with one fixed address, and cells a spreadsheet seems to have changed.
    std::vector<Message> hints;
};

// A front end's own check of a device's folder name that passed the folder-name rules
// (what already stands at that name, say); nothing when it may be written.
using FolderCheck = std::function<std::optional<Message>(const std::string& name)>;

// The table in `bytes` (see DecodeTable), each row starting from `start` with its
// non-empty cells replacing values. Refused as a whole when it cannot be read as a
// table: its encoding, no header, a column that is unknown or repeated, no name column.
Result<SiteTable> ReadSiteTable(std::string_view bytes, CodePage cp, const SettingsValues& start,
                                const FolderCheck& checkFolder = {});

// The keys of the fields whose text forms differ between `before` and `after`, in the
// form's order.
std::vector<std::string_view> ChangedFields(const SettingsValues& before,
                                            const SettingsValues& after);

// The cells of the table of `devices`: the header, then one row per device, its name and
// its values' text forms, in the columns ReadSiteTable reads.
std::vector<std::vector<std::string>> SiteTableCells(const std::vector<SiteDevice>& devices);

// The table of `devices` as CSV (UTF-8 with a byte order mark, rows ending in CR LF) in
// the columns ReadSiteTable reads; each device is a name and its values.
std::string SiteTableCsv(const std::vector<SiteDevice>& devices);

}  // namespace tavrel::form
