// The form's values to and from the record.

#include "record/SettingsValues.h"

#include "record/AddressText.h"
#include "record/Utf16.h"

namespace tavrel {

namespace {

struct AddressBinding {
    Text16Field field;
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

}  // namespace

SettingsValues ValuesFromRecord(const DeviceSettingsRecord& record, CodePage cp) {
    SettingsValues values;
    values.automaticAddress = record.AddressMode() != 0;
    for (const auto& address : kAddresses) {
        values.*address.value = TextToAddress(record.GetUnits16(address.field), cp);
    }
    values.pushAddress = record.GetText16(field::pushAddress);
    const std::int32_t guard = record.LineGuardMode();
    values.lineGuardMode = guard == 0 || guard == 1 ? guard : -1;
    values.ringLimit = record.RingLimit();
    values.cipKey = FromCodePage(record.GetText8(field::cipKey), cp);
    return values;
}

DeviceSettingsRecord RecordFromValues(const SettingsValues& values, CodePage cp) {
    DeviceSettingsRecord record;
    record.SetInt(field::addressMode, values.automaticAddress ? 1 : 0);
    for (const auto& address : kAddresses) {
        record.SetText16(address.field, AddressToText(values.*address.value));
    }
    record.SetText16(field::pushAddress,
                     utf16::WholeCharacterPrefix(values.pushAddress, kPushAddressReadUnits));
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
