// What saving without edits would change: the loaded values are saved again in memory and
// compared with the file field by field; each field that differs is named with the
// reasons found for it.
#include "form/LoadedSettings.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "form/Fields.h"
#include "form/Sentences.h"
#include "form/Utf8.h"
#include "record/AddressText.h"

namespace tavrel::form {

namespace {

std::string Number(std::uintmax_t n) {
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

// The warnings about one field; kept only when saving changes that field, and replaced by
// a plain one when saving changes it for a reason not named here.
class FieldWarnings {
public:
    FieldWarnings(Arg name, std::vector<Message>& out) : name_(std::move(name)), out_(out) {}

    // The sentence about this field: its name fills {1}, `args` the places after it.
    void Add(Sentence sentence, std::initializer_list<Arg> args = {}) {
        std::vector<Arg> all{name_};
        all.insert(all.end(), args);
        notes_.push_back(Say(sentence, all));
    }

    void Finish(bool changed) {
        if (!changed) {
            return;
        }
        if (notes_.empty()) {
            Add(Sentence::FieldChanges);
        }
        out_.insert(out_.end(), notes_.begin(), notes_.end());
    }

private:
    Arg name_;
    std::vector<Message>& out_;
    std::vector<Message> notes_;
};

// A UTF-16 text slot: its terminator and what follows it.
void NoteTerminator16(FieldWarnings& notes, const DeviceSettingsRecord& r, Text16Field f,
                      const std::u16string& text) {
    if (text.size() == f.size / 2) {
        notes.Add(Sentence::TextNoTerminator, {Number(f.size / 2)});
    } else if (NonZeroBytes(r, f, (text.size() + 1) * 2) > 0) {
        notes.Add(Sentence::BytesAfterTerminator);
    }
}

void NoteAddress(std::vector<Message>& out, const DeviceSettingsRecord& r,
                 const DeviceSettingsRecord& saved, Text16Field f, std::string_view key,
                 AddressValue shown, CodePage cp) {
    FieldWarnings notes(FieldNameInSentences(key), out);
    const std::u16string text = r.GetText16(f);
    NoteTerminator16(notes, r, f, text);
    const std::string showsAs = AddressUtf8(shown);
    if (text.empty()) {
        notes.Add(Sentence::AddressEmpty, {showsAs});
    } else if (!IsCanonicalAddressText(text)) {
        const bool isAddress = ParseInetAddress(ToCodePage(text, cp)).has_value();
        notes.Add(isAddress ? Sentence::AddressStoredAs : Sentence::AddressNotAnAddress,
                  {Quoted(text), showsAs});
    }
    notes.Finish(!SameField(r, saved, f));
}

}  // namespace

LoadedSettings LoadSettings(std::span<const std::uint8_t> head, std::optional<std::uintmax_t> size,
                            CodePage cp) {
    const DeviceSettingsRecord r = DeviceSettingsRecord::FromImage(head);
    LoadedSettings loaded{ValuesFromRecord(r, cp), {}};
    const SettingsValues& v = loaded.values;
    const DeviceSettingsRecord saved = RecordFromValues(v, cp);
    std::vector<Message>& out = loaded.warnings;

    if (!size) {
        out.push_back(Say(Sentence::FileLongerThan, {Number(kRecordSize)}));
    } else if (*size < kRecordSize) {
        out.push_back(Say(Sentence::FileShorter, {Number(*size), Number(kRecordSize)}));
    } else if (*size > kRecordSize) {
        out.push_back(Say(Sentence::FileLonger, {Number(*size), Number(kRecordSize)}));
    }

    {
        FieldWarnings notes(FieldNameInSentences("addressMode"), out);
        if (r.AddressMode() != 0 && r.AddressMode() != 1) {
            notes.Add(Sentence::ModeNotZeroOrOne, {std::to_string(r.AddressMode())});
        }
        notes.Finish(!SameField(r, saved, field::addressMode));
    }

    // Record order, which is not the form's.
    NoteAddress(out, r, saved, field::ipAddress, "ipAddress", v.ipAddress, cp);
    NoteAddress(out, r, saved, field::subnetMask, "subnetMask", v.subnetMask, cp);
    NoteAddress(out, r, saved, field::otherDnsServer, "otherDnsServer", v.otherDnsServer, cp);
    NoteAddress(out, r, saved, field::defaultGateway, "defaultGateway", v.defaultGateway, cp);
    NoteAddress(out, r, saved, field::preferredDnsServer, "preferredDnsServer",
                v.preferredDnsServer, cp);

    {
        FieldWarnings notes({"reserved area", "保留區域"}, out);
        const std::size_t nonZero = NonZeroBytes(r, field::reserved);
        const std::string first = Number(field::reserved.offset);
        const std::string last = Number(field::reserved.End() - 1);
        if (nonZero == 1) {
            notes.Add(Sentence::ReservedByte, {first, last});
        } else if (nonZero > 1) {
            notes.Add(Sentence::ReservedBytes, {first, last, Number(nonZero)});
        }
        notes.Finish(!SameField(r, saved, field::reserved));
    }

    {
        FieldWarnings notes(FieldNameInSentences("pushAddress"), out);
        const std::u16string text = r.GetText16(field::pushAddress);
        NoteTerminator16(notes, r, field::pushAddress, text);
        const std::size_t kept = saved.GetText16(field::pushAddress).size();
        if (kept < text.size()) {
            notes.Add(Sentence::TextLonger, {Number(text.size()), Number(kept)});
        }
        notes.Finish(!SameField(r, saved, field::pushAddress));
    }

    {
        FieldWarnings notes(FieldNameInSentences("lineGuardMode"), out);
        notes.Add(Sentence::GuardNotAnEntry,
                  {std::to_string(r.LineGuardMode()), std::to_string(v.lineGuardMode)});
        notes.Finish(!SameField(r, saved, field::lineGuardMode));
    }

    {
        FieldWarnings notes(FieldNameInSentences("ringLimit"), out);
        notes.Finish(!SameField(r, saved, field::ringLimit));
    }

    {
        FieldWarnings notes(FieldNameInSentences("cipKey"), out);
        const std::string bytes = r.GetText8(field::cipKey);
        if (bytes.size() == field::cipKey.size) {
            notes.Add(Sentence::KeyNoTerminator, {Number(field::cipKey.size)});
        } else if (NonZeroBytes(r, field::cipKey, bytes.size() + 1) > 0) {
            notes.Add(Sentence::BytesAfterTerminator);
        }
        if (ToCodePage(v.cipKey, cp) != bytes) {
            notes.Add(Sentence::KeyNotRoundTrip, {CodePageName(cp), Quoted(v.cipKey)});
        }
        const std::size_t kept = saved.GetText8(field::cipKey).size();
        if (kept < bytes.size()) {
            notes.Add(Sentence::KeyLonger, {Number(bytes.size()), Number(kept)});
        }
        notes.Finish(!SameField(r, saved, field::cipKey));
    }
    return loaded;
}

}  // namespace tavrel::form
