#include "record/SettingsValues.h"

#include "record/AddressText.h"

namespace tavrel {

namespace {

struct AddressBinding {
    RecordField field;
    AddressValue SettingsValues::*value;
};

// Record slot and form value of each address; the record's order is not the form's.
constexpr AddressBinding kAddresses[] = {
    {field::ipAddress, &SettingsValues::ipAddress},
    {field::subnetMask, &SettingsValues::subnetMask},
    {field::otherDnsServer, &SettingsValues::otherDnsServer},
    {field::defaultGateway, &SettingsValues::defaultGateway},
    {field::preferredDnsServer, &SettingsValues::preferredDnsServer},
};

// At most `units` code units, one fewer when the cut would part a surrogate pair.
std::u16string_view CutUnits(std::u16string_view text, std::size_t units) {
    if (text.size() <= units) {
        return text;
    }
    const bool splitsPair = units > 0 && text[units - 1] >= 0xD800 && text[units - 1] <= 0xDBFF &&
                            text[units] >= 0xDC00 && text[units] <= 0xDFFF;
    return text.substr(0, splitsPair ? units - 1 : units);
}

}  // namespace

SettingsValues ValuesFromRecord(const DeviceSettingsRecord& record, CodePage cp) {
    SettingsValues values;
    values.automaticAddress = record.addressMode() != 0;
    for (const auto& address : kAddresses) {
        values.*address.value = TextToAddress(record.GetUnits16(address.field), cp);
    }
    values.pushAddress = record.GetText16(field::pushAddress);
    const std::int32_t guard = record.lineGuardMode();
    values.lineGuardMode = guard == 0 || guard == 1 ? guard : -1;
    values.ringLimit = record.ringLimit();
    values.cipKey = FromCodePage(record.GetText8(field::cipKey), cp);
    return values;
}

DeviceSettingsRecord RecordFromValues(const SettingsValues& values, CodePage cp) {
    DeviceSettingsRecord record;
    record.SetInt(field::addressMode, values.automaticAddress ? 1 : 0);
    for (const auto& address : kAddresses) {
        record.SetText16(address.field, AddressToText(values.*address.value));
    }
    record.SetText16(field::pushAddress, CutUnits(values.pushAddress, kPushAddressReadUnits));
    record.SetInt(field::lineGuardMode, values.lineGuardMode);
    record.SetInt(field::ringLimit, values.ringLimit);
    record.SetText8(field::cipKey, ToCodePageFitting(values.cipKey, kCipKeyMaxBytes, cp));
    return record;
}

std::u16string WithCrLfLineBreaks(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                ++i;
            }
            out += u"\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace tavrel
