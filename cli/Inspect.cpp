// What saving without edits would change: the loaded values are saved again in memory and
// compared with the file field by field; each field that differs is named with the
// reasons found for it.
#include "cli/Inspect.h"

#include <algorithm>
#include <cstddef>

#include "cli/Checks.h"
#include "form/Utf8.h"
#include "record/AddressText.h"

namespace tavrel::cli {

using namespace form;  // the text codec

namespace {

std::string Text(std::u16string_view text) {
    return Utf16ToUtf8(text);
}

template <typename T>
std::string Number(T n) {
    return std::to_string(n);
}

// Bytes of the field from `from` (relative to its start) to its end that are not zero.
std::size_t NonZeroBytes(const DeviceSettingsRecord& r, RecordField f, std::size_t from = 0) {
    const auto begin = r.Bytes().begin() + static_cast<std::ptrdiff_t>(f.offset);
    return static_cast<std::size_t>(std::count_if(
        begin + static_cast<std::ptrdiff_t>(std::min(from, f.size)),
        begin + static_cast<std::ptrdiff_t>(f.size), [](std::uint8_t b) { return b != 0; }));
}

bool SameField(const DeviceSettingsRecord& a, const DeviceSettingsRecord& b, RecordField f) {
    const auto at = [f](const DeviceSettingsRecord& r) {
        return r.Bytes().begin() + static_cast<std::ptrdiff_t>(f.offset);
    };
    return std::equal(at(a), at(a) + static_cast<std::ptrdiff_t>(f.size), at(b));
}

// The notes about one field; kept only when saving changes that field, and replaced by
// a plain one when saving changes it for a reason not named here.
class FieldNotes {
public:
    FieldNotes(std::string name, std::vector<std::string>& out)
        : name_(std::move(name)), out_(out) {}

    void Add(const std::string& rest) { notes_.push_back("The " + name_ + " " + rest); }

    void Finish(bool changed) {
        if (!changed) {
            return;
        }
        if (notes_.empty()) {
            Add("does not read back unchanged; saving would change it.");
        }
        out_.insert(out_.end(), notes_.begin(), notes_.end());
    }

private:
    std::string name_;
    std::vector<std::string>& out_;
    std::vector<std::string> notes_;
};

// A UTF-16 text slot: its terminator and what follows it.
void NoteTerminator16(FieldNotes& notes, const DeviceSettingsRecord& r, Text16Field f,
                      const std::u16string& text) {
    if (text.size() == f.size / 2) {
        notes.Add("has no terminator within its " + Number(f.size / 2) + " characters.");
    } else if (NonZeroBytes(r, f, (text.size() + 1) * 2) > 0) {
        notes.Add("has non-zero bytes after its terminator.");
    }
}

void NoteAddress(std::vector<std::string>& out, const DeviceSettingsRecord& r,
                 const DeviceSettingsRecord& saved, Text16Field f, const char* name,
                 AddressValue shown, CodePage cp) {
    FieldNotes notes(name, out);
    const std::u16string text = r.GetText16(f);
    NoteTerminator16(notes, r, f, text);
    const std::string showsAs = "; the form shows " + Text(AddressToText(shown)) + ".";
    if (text.empty()) {
        notes.Add("is empty" + showsAs);
    } else if (!IsCanonicalAddressText(text)) {
        const bool isAddress = ParseInetAddress(ToCodePage(text, cp)).has_value();
        notes.Add("is stored as " + Quoted(text) + (isAddress ? "" : ", which is not an address") +
                  showsAs);
    }
    notes.Finish(!SameField(r, saved, f));
}

}  // namespace

LoadedSettings LoadSettings(const InputBytes& file, CodePage cp) {
    const DeviceSettingsRecord r = DeviceSettingsRecord::FromImage(file.head);
    LoadedSettings loaded{ValuesFromRecord(r, cp), {}};
    const SettingsValues& v = loaded.values;
    const DeviceSettingsRecord saved = RecordFromValues(v, cp);
    std::vector<std::string>& out = loaded.warnings;

    const std::string ignored =
        "; the bytes after the first " + Number(kRecordSize) + " are ignored.";
    if (!file.size) {
        out.push_back("The file is longer than " + Number(kRecordSize) + " bytes" + ignored);
    } else if (*file.size < kRecordSize) {
        out.push_back("The file is " + Number(*file.size) + " bytes long, not " +
                      Number(kRecordSize) + "; the fields past its end read as zero.");
    } else if (*file.size > kRecordSize) {
        out.push_back("The file is " + Number(*file.size) + " bytes long, not " +
                      Number(kRecordSize) + ignored);
    }

    {
        FieldNotes notes("address mode", out);
        if (r.AddressMode() != 0 && r.AddressMode() != 1) {
            notes.Add("is stored as " + Number(r.AddressMode()) +
                      "; the form shows it as automatic, and saving stores 1.");
        }
        notes.Finish(!SameField(r, saved, field::addressMode));
    }

    // Record order, which is not the form's.
    NoteAddress(out, r, saved, field::ipAddress, "IP address", v.ipAddress, cp);
    NoteAddress(out, r, saved, field::subnetMask, "subnet mask", v.subnetMask, cp);
    NoteAddress(out, r, saved, field::otherDnsServer, "other DNS server", v.otherDnsServer, cp);
    NoteAddress(out, r, saved, field::defaultGateway, "default gateway", v.defaultGateway, cp);
    NoteAddress(out, r, saved, field::preferredDnsServer, "preferred DNS server",
                v.preferredDnsServer, cp);

    {
        FieldNotes notes("reserved area", out);
        const std::size_t nonZero = NonZeroBytes(r, field::reserved);
        if (nonZero > 0) {
            notes.Add("(offsets " + Number(field::reserved.offset) + "-" +
                      Number(field::reserved.End() - 1) + ") holds " + Number(nonZero) +
                      (nonZero == 1 ? " non-zero byte" : " non-zero bytes") +
                      "; saving writes zeros there.");
        }
        notes.Finish(!SameField(r, saved, field::reserved));
    }

    {
        FieldNotes notes("push address", out);
        const std::u16string text = r.GetText16(field::pushAddress);
        NoteTerminator16(notes, r, field::pushAddress, text);
        const std::size_t kept = saved.GetText16(field::pushAddress).size();
        if (kept < text.size()) {
            notes.Add("is " + Number(text.size()) +
                      " characters long; saving keeps only the first " + Number(kept) + ".");
        }
        notes.Finish(!SameField(r, saved, field::pushAddress));
    }

    {
        FieldNotes notes("line guard", out);
        notes.Add("is stored as " + Number(r.LineGuardMode()) +
                  ", which is not an entry of the list; the form selects none, and saving "
                  "stores " +
                  Number(v.lineGuardMode) + ".");
        notes.Finish(!SameField(r, saved, field::lineGuardMode));
    }

    {
        FieldNotes notes("ring count", out);
        notes.Finish(!SameField(r, saved, field::ringLimit));
    }

    {
        FieldNotes notes("key", out);
        const std::string bytes = r.GetText8(field::cipKey);
        if (bytes.size() == field::cipKey.size) {
            notes.Add("has no terminator within its " + Number(field::cipKey.size) + " bytes.");
        } else if (NonZeroBytes(r, field::cipKey, bytes.size() + 1) > 0) {
            notes.Add("has non-zero bytes after its terminator.");
        }
        if (ToCodePage(v.cipKey, cp) != bytes) {
            notes.Add("holds bytes that do not read back unchanged in " + CodePageName(cp) +
                      "; the form shows " + Quoted(v.cipKey) + ".");
        }
        const std::size_t kept = saved.GetText8(field::cipKey).size();
        if (kept < bytes.size()) {
            notes.Add("is " + Number(bytes.size()) + " bytes long; saving keeps only the first " +
                      Number(kept) + ".");
        }
        notes.Finish(!SameField(r, saved, field::cipKey));
    }
    return loaded;
}

}  // namespace tavrel::cli
