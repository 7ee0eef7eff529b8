#pragma once
// The settings as the form shows them, and the two rules that connect them to the
// record: loading a record into the form, and building a record from the form on
// confirm. The dialog and tavrel-cli both use these, so that the same values give the
// same bytes everywhere.

#include <cstdint>
#include <string>

#include "record/CodePage.h"
#include "record/DeviceSettingsRecord.h"

namespace tavrel {

inline constexpr int kPushAddressTypingLimit = 250;  // characters the form lets one type
inline constexpr int kPushAddressReadUnits = 253;    // what confirm takes from the form
inline constexpr int kCipKeyMaxBytes = 63;           // key bytes stored, terminator aside
inline constexpr int kRingLimitMaxDigits = 9;        // always fits a signed 32-bit value

struct SettingsValues {
    bool automaticAddress = true;          // radio "自動取得IP位址" checked
    AddressValue ipAddress = 0;            // a blank address control reads 0
    AddressValue subnetMask = 0xFFFFFF00;  // 255.255.255.0
    AddressValue defaultGateway = 0;
    AddressValue otherDnsServer = 0;
    AddressValue preferredDnsServer = 0;
    std::u16string pushAddress;      // line breaks as CR LF
    std::int32_t lineGuardMode = 0;  // list index: 0 off, 1 on, -1 none selected
    std::int32_t ringLimit = 0;
    std::u16string cipKey;

    friend bool operator==(const SettingsValues&, const SettingsValues&) = default;
};

// What the form shows after loading `record`: any non-zero mode is automatic, each
// address through TextToAddress, a guard index other than 0 or 1 selects nothing (-1),
// the key decoded from the code page.
SettingsValues ValuesFromRecord(const DeviceSettingsRecord& record,
                                CodePage cp = kSystemAnsiCodePage);

// The record that confirming the form writes: a fresh zero record, mode 0 or 1, the
// addresses in plain dotted decimal, the push address cut to 253 code units (never
// inside a surrogate pair), the key cut to 63 bytes at the last whole character.
DeviceSettingsRecord RecordFromValues(const SettingsValues& values,
                                      CodePage cp = kSystemAnsiCodePage);

// Line breaks of any kind (LF, CR, CR LF) as CR LF, the way the form stores them.
std::u16string WithCrLfLineBreaks(std::u16string_view text);

}  // namespace tavrel
