#include "FuzzChecks.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string_view>

#include "cli/Cli.h"
#include "cli/Json.h"
#include "form/Csv.h"
#include "form/NetworkHints.h"
#include "form/TableText.h"
#include "form/Utf8.h"
#include "record/AddressText.h"
#include "record/DeviceSettingsRecord.h"
#include "record/SettingsFile.h"
#include "record/SettingsValues.h"

#ifdef _WIN32
#include <process.h>
#else
#include <arpa/inet.h>
#include <unistd.h>
#endif

namespace tavrel::fuzz {

namespace {

// The code page is named, so that the checks mean the same on every system.
constexpr CodePage kCp = kTraditionalChineseCodePage;

std::string Hex(std::uint32_t value) {
    std::ostringstream out;
    out << "0x" << std::hex << value;
    return out.str();
}

std::string Narrow(std::u16string_view text) {
    std::string out;
    for (const char16_t unit : text) {
        out += unit < 0x80 ? static_cast<char>(unit) : '?';
    }
    return out;
}

bool AllZero(std::u16string_view units) {
    return std::all_of(units.begin(), units.end(), [](char16_t u) { return u == 0; });
}

// What a writer puts in a slot: the text, and zeros after it to the slot's end.
std::string CheckTextSlot(const DeviceSettingsRecord& record, Text16Field f, const char* name) {
    const std::u16string units = record.GetUnits16(f);
    const std::size_t length = record.GetText16(f).size();
    if (length >= units.size() || !AllZero(std::u16string_view(units).substr(length))) {
        return std::string(name) + ": not zero-filled after its text";
    }
    return {};
}

std::string CheckCanonicalRecord(const DeviceSettingsRecord& record, const SettingsValues& from) {
    const auto& bytes = record.Bytes();
    if (record.AddressMode() != (from.automaticAddress ? 1 : 0)) {
        return "saved mode " + std::to_string(record.AddressMode());
    }
    if (!std::all_of(bytes.begin() + field::reserved.offset, bytes.begin() + field::reserved.End(),
                     [](std::uint8_t b) { return b == 0; })) {
        return "reserved slot not zero";
    }
    const std::pair<Text16Field, AddressValue> addresses[] = {
        {field::ipAddress, from.ipAddress},
        {field::subnetMask, from.subnetMask},
        {field::otherDnsServer, from.otherDnsServer},
        {field::defaultGateway, from.defaultGateway},
        {field::preferredDnsServer, from.preferredDnsServer},
    };
    for (const auto& [slot, value] : addresses) {
        const std::u16string text = record.GetText16(slot);
        if (!IsCanonicalAddressText(text) || ParseInetAddress(Narrow(text)) != value) {
            return "address " + Hex(value) + " saved as \"" + Narrow(text) + "\"";
        }
        if (auto failure = CheckTextSlot(record, slot, "address slot"); !failure.empty()) {
            return failure;
        }
    }
    // The push address: whole when it fits, else cut at 253 units or one fewer.
    const std::u16string push = record.GetText16(field::pushAddress);
    const std::size_t limit = kPushAddressReadUnits;
    const bool isPrefix = from.pushAddress.compare(0, push.size(), push) == 0;
    const bool fits = from.pushAddress.size() <= limit;
    if (!isPrefix || (fits && push.size() != from.pushAddress.size()) ||
        (!fits && push.size() != limit && push.size() != limit - 1)) {
        return "push address of " + std::to_string(from.pushAddress.size()) + " units saved as " +
               std::to_string(push.size());
    }
    if (auto failure = CheckTextSlot(record, field::pushAddress, "push address");
        !failure.empty()) {
        return failure;
    }
    const std::string key = record.GetText8(field::cipKey);
    if (key.size() > static_cast<std::size_t>(kCipKeyMaxBytes) ||
        !std::all_of(bytes.begin() + field::cipKey.offset + key.size(), bytes.end(),
                     [](std::uint8_t b) { return b == 0; })) {
        return "key of " + std::to_string(key.size()) + " bytes or not zero-filled";
    }
    if (record.LineGuardMode() != from.lineGuardMode || record.RingLimit() != from.ringLimit) {
        return "guard or ring count changed on saving";
    }
    return {};
}

}  // namespace

std::string CheckRecordImage(std::span<const std::uint8_t> image,
                             const std::filesystem::path& scratchFile) {
    const auto record = DeviceSettingsRecord::FromImage(image);
    const std::size_t covered = std::min(image.size(), kRecordSize);
    if (!std::equal(image.begin(), image.begin() + covered, record.Bytes().begin()) ||
        !std::all_of(record.Bytes().begin() + covered, record.Bytes().end(),
                     [](std::uint8_t b) { return b == 0; })) {
        return "FromImage: not the image's first bytes followed by zeros";
    }

    if (!scratchFile.empty()) {
        {
            std::ofstream out(scratchFile, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(image.data()),
                      static_cast<std::streamsize>(image.size()));
        }
        if (ReadSettingsFile(scratchFile) != record) {
            return "ReadSettingsFile: differs from FromImage";
        }
    }

    // Loading: what the form shows follows from the record field by field.
    const SettingsValues values = ValuesFromRecord(record, kCp);
    const std::int32_t guard = record.LineGuardMode();
    if (values.automaticAddress != (record.AddressMode() != 0) ||
        values.lineGuardMode != (guard == 0 || guard == 1 ? guard : -1) ||
        values.ringLimit != record.RingLimit() ||
        values.pushAddress != record.GetText16(field::pushAddress) ||
        values.ipAddress != TextToAddress(record.GetUnits16(field::ipAddress), kCp)) {
        return "ValuesFromRecord: a value does not follow from its field";
    }

    // Saving: a canonical record, which loads and saves to itself.
    const DeviceSettingsRecord saved = RecordFromValues(values, kCp);
    if (auto failure = CheckCanonicalRecord(saved, values); !failure.empty()) {
        return "RecordFromValues: " + failure;
    }
    if (RecordFromValues(ValuesFromRecord(saved, kCp), kCp) != saved) {
        return "a saved record does not load and save to itself";
    }
    return {};
}

std::string CheckInetAddress(std::span<const std::uint8_t> bytes) {
    const std::string text(bytes.begin(), bytes.end());
    const auto parsed = ParseInetAddress(text);

#ifndef _WIN32
    in_addr address{};
    const bool accepted = inet_aton(text.c_str(), &address) != 0;
    if (accepted != parsed.has_value() || (accepted && ntohl(address.s_addr) != *parsed)) {
        return "inet_aton says " + (accepted ? Hex(ntohl(address.s_addr)) : "invalid") +
               ", we say " + (parsed ? Hex(*parsed) : "invalid");
    }
#endif

    if (parsed) {
        const std::u16string printed = AddressToText(*parsed);
        if (!IsCanonicalAddressText(printed) || ParseInetAddress(Narrow(printed)) != parsed) {
            return "printed as \"" + Narrow(printed) + "\", which does not parse back";
        }
    }
    std::u16string wide(text.begin(), text.end());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        wide[i] = static_cast<unsigned char>(text[i]);
    }
    if (IsCanonicalAddressText(wide) && (!parsed || AddressToText(*parsed) != wide)) {
        return "canonical text that does not parse to itself";
    }
    // As the text of an address slot: the same value, or 0xFFFFFFFF for no address.
    const bool ascii = std::all_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii && wide.size() <= kAddressSlotUnits) {
        wide.resize(kAddressSlotUnits, u'\0');
        if (TextToAddress(wide, kCp) != parsed.value_or(0xFFFFFFFF)) {
            return "TextToAddress differs from ParseInetAddress";
        }
    }
    return {};
}

std::string CheckCliJson(std::span<const std::uint8_t> bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    SettingsValues values;
    const std::vector<form::Message> refused = cli::ApplyJson(text, kCp, values);
    if (!refused.empty()) {
        if (values != SettingsValues{}) {
            return "refused, yet the values changed";
        }
        for (const form::Message& reason : refused) {
            if (reason.en.empty() || !form::Utf8ToUtf16(reason.en)) {
                return "a reason that is not text: " + reason.en;
            }
        }
        return {};
    }
    if (ValuesFromRecord(RecordFromValues(values, kCp), kCp) != values) {
        return "accepted values do not load back from their record";
    }
    SettingsValues again;
    if (!cli::ApplyJson(cli::SettingsToJson(values, {}, form::NetworkHints(values)), kCp, again)
             .empty() ||
        again != values) {
        return "accepted values do not read back from their own JSON";
    }
    return {};
}

std::string CheckCliShow(std::span<const std::uint8_t> file) {
    const std::string input(file.begin(), file.end());
    struct Result {
        int status;
        std::string out, err;
    };
    const auto run = [&](std::vector<std::string> args) {
        std::istringstream in(input);
        std::ostringstream out, err;
        args.insert(args.end(), {"-", "--codepage", std::to_string(kCp)});
        const int status = cli::Run(args, in, out, err);
        return Result{status, out.str(), err.str()};
    };
    const Result shown = run({"show"});
    const Result json = run({"show", "--json"});
    const Result checked = run({"check"});
    for (const Result* r : {&shown, &json, &checked}) {
        if (!form::Utf8ToUtf16(r->out) || !r->err.empty()) {
            return "output that is not UTF-8 text, or an error: " + r->err;
        }
    }
    if (shown.status != 0 || json.status != 0 || (checked.status != 0 && checked.status != 1)) {
        return "show failed or check gave " + std::to_string(checked.status);
    }
    const bool noWarnings = json.out.find("\"warnings\": []") != std::string::npos;
    if ((checked.status == 0) != noWarnings) {
        return "check and the JSON's warnings disagree";
    }
    // JSON input reads the push address as typed UTF-8 text (line breaks become CR LF, at
    // most the 250 characters the form takes), which a loaded one need not be: it may
    // hold a bare LF or an unpaired surrogate.
    const std::u16string push = DeviceSettingsRecord::FromImage(file).GetText16(field::pushAddress);
    const bool typable = WithCrLfLineBreaks(push) == push &&
                         push.size() <= static_cast<std::size_t>(kPushAddressTypingLimit) &&
                         form::Utf8ToUtf16(form::Utf16ToUtf8(push)) == push;
    if (checked.status == 0 && typable) {
        SettingsValues values;
        if (!cli::ApplyJson(json.out, kCp, values).empty()) {
            return "the JSON of a file that passes is refused";
        }
        const DeviceSettingsRecord written = RecordFromValues(values, kCp);
        if (!std::equal(written.Bytes().begin(), written.Bytes().end(), file.begin(), file.end())) {
            return "a file that passes is not what its JSON writes";
        }
    }
    return {};
}

std::string CheckCsv(std::span<const std::uint8_t> bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const std::vector<form::CsvRow> rows = form::ReadCsv(text);
    const bool quotes = text.find('"') != std::string_view::npos;
    unsigned last = 0;
    std::string written;
    std::vector<std::vector<std::string>> wellFormed;
    for (const form::CsvRow& row : rows) {
        const std::string which = "record " + std::to_string(row.number);
        if (row.number <= last || row.cells.empty()) {
            return which + ": numbered out of order, or without cells";
        }
        last = row.number;
        if (row.problem) {
            if (!quotes || row.problem->en.empty() || row.problem->zh.empty()) {
                return which + ": a fault without a quote in the text, or without words";
            }
            continue;
        }
        const std::string line = form::CsvLine(row.cells);
        const std::vector<form::CsvRow> again = form::ReadCsv(line);
        if (again.size() != 1 || again[0].number != 1 || again[0].problem ||
            again[0].cells != row.cells) {
            return which + ": its CSV line does not read back as its cells";
        }
        written += line;
        wellFormed.push_back(row.cells);
    }
    const std::vector<form::CsvRow> all = form::ReadCsv(written);
    if (all.size() != wellFormed.size()) {
        return "the well-formed records written out read back as " + std::to_string(all.size()) +
               " records, not " + std::to_string(wellFormed.size());
    }
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i].number != i + 1 || all[i].problem || all[i].cells != wellFormed[i]) {
            return "the well-formed records written out differ at record " + std::to_string(i + 1);
        }
    }

    const form::Result<form::TableText> table = form::DecodeTable(text, kCp);
    if (!table) {
        for (const form::Message& reason : table.Reasons()) {
            if (reason.en.empty() || !form::Utf8ToUtf16(reason.zh)) {
                return "DecodeTable: a reason without words";
            }
        }
        return {};
    }
    const std::string_view bom = "\xEF\xBB\xBF";
    const std::string_view unmarked = text.starts_with(bom) ? text.substr(bom.size()) : text;
    // Text that declares itself UTF-8 by its mark is taken as it is.
    if (unmarked.size() != text.size() || form::Utf8ToUtf16(text)) {
        if (table->encoding != form::TableEncoding::Utf8 || table->utf8 != unmarked) {
            return "DecodeTable: UTF-8 text changed";
        }
    } else if (table->encoding != form::TableEncoding::CodePage ||
               !form::Utf8ToUtf16(table->utf8)) {
        return "DecodeTable: text that is not UTF-8 is not decoded to UTF-8";
    }
    return {};
}

std::filesystem::path ProcessScratchFile() {
#ifdef _WIN32
    const int pid = _getpid();
#else
    const int pid = static_cast<int>(getpid());
#endif
    return std::filesystem::temp_directory_path() / ("tavrel-fuzz-" + std::to_string(pid) + ".dat");
}

}  // namespace tavrel::fuzz
