#pragma once
// Every sentence the form says about values: why a value is refused, what loading a file
// changes (the load warnings), what would likely leave a box unreachable (the network
// hints), and what is wrong with a site table. Each has an English sentence (tavrel-cli's)
// and a Traditional Chinese one (the page's), side by side in one table keyed by
// `Sentence`, with numbered places {1}, {2}, ... for what it names.

#include <string>
#include <string_view>
#include <vector>

#include "form/Result.h"
#include "record/CodePage.h"

namespace tavrel::form {

enum class Sentence {
    // Values refused.
    NotAnAddress,       // {1} the text
    NotAnInteger32,     // {1} the text
    NotAGuardWord,      // {1} the text
    NotAnAddressMode,   // {1} the text
    NotAGuardIndex,     // {1} the text
    NotUtf8,            //
    HoldsNul,           //
    PushTooLong,        // {1} its length, {2} the limit
    PushTooLongStored,  // {1} its length, {2} the limit
    OutOfRange32,       // {1} the text
    KeyNotInCodePage,   // {1} the code page
    KeyTooLong,         // {1} its bytes, {2} the code page, {3} the limit
    // Load warnings.
    FileLongerThan,        // {1} the record's size
    FileShorter,           // {1} the file's size, {2} the record's
    FileLonger,            // {1} the file's size, {2} the record's
    ModeNotZeroOrOne,      // {1} the field, {2} the stored mode
    TextNoTerminator,      // {1} the field, {2} its characters
    BytesAfterTerminator,  // {1} the field
    AddressEmpty,          // {1} the field, {2} what the form shows
    AddressStoredAs,       // {1} the field, {2} the stored text, {3} what the form shows
    AddressNotAnAddress,   // {1} the field, {2} the stored text, {3} what the form shows
    ReservedByte,          // {1} the field, {2} first offset, {3} last offset
    ReservedBytes,         // {1} the field, {2} first offset, {3} last offset, {4} the count
    TextLonger,            // {1} the field, {2} its length, {3} what saving keeps
    GuardNotAnEntry,       // {1} the field, {2} the stored index, {3} what saving stores
    FieldChanges,          // {1} the field
    KeyNoTerminator,       // {1} the field, {2} its bytes
    KeyNotRoundTrip,       // {1} the field, {2} the code page, {3} what the form shows
    KeyLonger,             // {1} the field, {2} its bytes, {3} what saving keeps
    // Network hints.
    MaskNotContiguous,  // {1} the mask
    IpNotForDevice,     // {1} the address
    IpIsNetwork,        // {1} the address, {2} the subnet
    IpIsBroadcast,      // {1} the address, {2} the subnet
    GatewayIsOwnIp,     // {1} the address
    GatewayOutside,     // {1} the gateway, {2} the subnet
    DnsNotForServer,    // {1} the field, {2} the address
    SameFixedIp,        // {1} the device, {2} the address, {3} the earlier device
    // Site tables.
    NameEmpty,               //
    NameTooLong,             // {1} the name, {2} the limit
    NameNotOwnFolder,        // {1} the name
    NameHoldsSeparator,      // {1} the name
    NameHoldsControl,        // {1} the name
    NameHoldsForbidden,      // {1} the name, {2} the character
    NameTrailingDotOrSpace,  // {1} the name
    NameReserved,            // {1} the name
    NameRepeated,            // {1} the name, {2} the earlier row
    InRow,                   // {1} the row, {2} what is wrong
    InRowColumn,             // {1} the row, {2} the column, {3} what is wrong
    Row,                     // {1} the row
    RowOfDevice,             // {1} the row, {2} the device's name
    About,                   // {1} what it is about, {2} what is said
    MoreCells,               //
    FewerCells,              //
    TableEmpty,              // {1} the columns
    UnknownColumn,           // {1} the column, {2} the columns
    RepeatedColumn,          // {1} the column
    NoNameColumn,            // {1} the columns
    HeaderRow,               // {1} what is wrong
    NoRows,                  //
    SpreadsheetNumber,       // {1} the cell
    QuestionMarks,           //
    TableTooLarge,           // {1} the limit in MiB
    TableFilesMade,          // {1} the number of files, {2} the zip file's name
};

// What fills a numbered place: the same text in both languages (a number, an address, a
// quoted value), or one for each (the name of a field).
struct Arg {
    Arg(std::string both) : en(both), zh(std::move(both)) {}
    Arg(const char* both) : Arg(std::string(both)) {}
    Arg(std::string english, std::string chinese)
        : en(std::move(english)), zh(std::move(chinese)) {}
    Arg(const Message& m) : en(m.en), zh(m.zh) {}
    std::string en;
    std::string zh;
};

// The sentence with its places filled.
Message Say(Sentence sentence, const std::vector<Arg>& args = {});

// A code page by name, as the sentences name it: "code page 950"; the system's ANSI code
// page as what it is here ("the system's ANSI code page" on Windows, code page 950
// elsewhere).
Arg CodePageName(CodePage cp);

}  // namespace tavrel::form
