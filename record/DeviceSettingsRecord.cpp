// The record's accessors: each reads or writes only its own field's bytes.

#include "record/DeviceSettingsRecord.h"

#include <algorithm>

namespace tavrel {

namespace {

// Every access goes through the field's own bounds; a field outside the record is a
// programming error, so it is clamped rather than read or written past the end.
std::span<const std::uint8_t> Slot(const DeviceSettingsRecord::Image& bytes, RecordField f) {
    const std::size_t begin = std::min(f.offset, kRecordSize);
    const std::size_t end = std::min(f.End(), kRecordSize);
    return std::span<const std::uint8_t>(bytes).subspan(begin, end - begin);
}

std::span<std::uint8_t> Slot(DeviceSettingsRecord::Image& bytes, RecordField f) {
    const std::size_t begin = std::min(f.offset, kRecordSize);
    const std::size_t end = std::min(f.End(), kRecordSize);
    return std::span<std::uint8_t>(bytes).subspan(begin, end - begin);
}

char16_t UnitAt(std::span<const std::uint8_t> slot, std::size_t i) {
    return static_cast<char16_t>(slot[2 * i] | (slot[2 * i + 1] << 8));
}

}  // namespace

DeviceSettingsRecord DeviceSettingsRecord::FromImage(std::span<const std::uint8_t> image) {
    DeviceSettingsRecord record;
    const std::size_t n = std::min(image.size(), kRecordSize);
    std::copy_n(image.begin(), n, record.bytes_.begin());
    return record;
}

std::int32_t DeviceSettingsRecord::GetInt(IntField f) const {
    const auto slot = Slot(bytes_, f);
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4 && i < slot.size(); ++i) {
        value |= std::uint32_t{slot[i]} << (8 * i);
    }
    return static_cast<std::int32_t>(value);
}

void DeviceSettingsRecord::SetInt(IntField f, std::int32_t value) {
    const auto slot = Slot(bytes_, f);
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4 && i < slot.size(); ++i) {
        slot[i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

std::u16string DeviceSettingsRecord::GetText16(Text16Field f) const {
    std::u16string text = GetUnits16(f);
    text.resize(std::min(text.find(u'\0'), text.size()));
    return text;
}

void DeviceSettingsRecord::SetText16(Text16Field f, std::u16string_view text) {
    const auto slot = Slot(bytes_, f);
    std::fill(slot.begin(), slot.end(), std::uint8_t{0});
    const std::size_t units = slot.size() / 2;
    if (units == 0) {
        return;
    }
    const std::size_t n = std::min(text.size(), units - 1);
    for (std::size_t i = 0; i < n; ++i) {
        slot[2 * i] = static_cast<std::uint8_t>(text[i] & 0xFF);
        slot[2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
    }
}

std::u16string DeviceSettingsRecord::GetUnits16(Text16Field f) const {
    const auto slot = Slot(bytes_, f);
    std::u16string units(slot.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        units[i] = UnitAt(slot, i);
    }
    return units;
}

std::string DeviceSettingsRecord::GetText8(Text8Field f) const {
    const auto slot = Slot(bytes_, f);
    const auto end = std::find(slot.begin(), slot.end(), std::uint8_t{0});
    return std::string(slot.begin(), end);
}

void DeviceSettingsRecord::SetText8(Text8Field f, std::string_view text) {
    const auto slot = Slot(bytes_, f);
    std::fill(slot.begin(), slot.end(), std::uint8_t{0});
    if (slot.empty()) {
        return;
    }
    const std::size_t n = std::min(text.size(), slot.size() - 1);
    std::copy_n(text.begin(), n, slot.begin());
}

}  // namespace tavrel
