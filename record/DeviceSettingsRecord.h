#pragma once
// The settings record that the device reads from device_config.dat: 1036 bytes,
// little-endian integers, UTF-16LE text slots and one 8-bit key slot, no header.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tavrel {

// An IPv4 address with the first dotted field in the most significant byte
// (192.168.1.10 is 0xC0A8010A), as the address-entry control exchanges it.
using AddressValue = std::uint32_t;

// One field of the record: where it starts and how many bytes it takes.
struct RecordField {
    std::size_t offset;
    std::size_t size;
    constexpr std::size_t end() const { return offset + size; }
};

namespace field {
inline constexpr RecordField addressMode{0, 4};
inline constexpr RecordField ipAddress{4, 64};
inline constexpr RecordField subnetMask{68, 64};
inline constexpr RecordField otherDnsServer{132, 64};
inline constexpr RecordField defaultGateway{196, 64};
inline constexpr RecordField preferredDnsServer{260, 64};
inline constexpr RecordField reserved{324, 64};
inline constexpr RecordField pushAddress{388, 512};
inline constexpr RecordField lineGuardMode{900, 4};
inline constexpr RecordField ringLimit{904, 4};
inline constexpr RecordField cipKey{908, 128};
}  // namespace field

inline constexpr std::size_t kRecordSize = 1036;
inline constexpr std::size_t kAddressSlotUnits = field::ipAddress.size / 2;    // 32
inline constexpr std::size_t kPushAddressUnits = field::pushAddress.size / 2;  // 256

// The fields tile the record without gaps, in this order, to exactly 1036 bytes.
static_assert(field::addressMode.end() == field::ipAddress.offset);
static_assert(field::ipAddress.end() == field::subnetMask.offset);
static_assert(field::subnetMask.end() == field::otherDnsServer.offset);
static_assert(field::otherDnsServer.end() == field::defaultGateway.offset);
static_assert(field::defaultGateway.end() == field::preferredDnsServer.offset);
static_assert(field::preferredDnsServer.end() == field::reserved.offset);
static_assert(field::reserved.end() == field::pushAddress.offset);
static_assert(field::pushAddress.end() == field::lineGuardMode.offset);
static_assert(field::lineGuardMode.end() == field::ringLimit.offset);
static_assert(field::ringLimit.end() == field::cipKey.offset);
static_assert(field::cipKey.end() == kRecordSize);

// The five address slots, in the record's order (which is not the form's order).
inline constexpr std::array<RecordField, 5> kAddressFields{
    field::ipAddress, field::subnetMask, field::otherDnsServer, field::defaultGateway,
    field::preferredDnsServer};

// The record as bytes with explicit offsets. A new record is 1036 zero bytes; setters
// fill one field each and leave every other byte alone, so every byte that no value
// covers stays zero in a record built from scratch.
class DeviceSettingsRecord {
public:
    using Bytes = std::array<std::uint8_t, kRecordSize>;

    DeviceSettingsRecord() = default;
    // The first 1036 bytes of an image; bytes a shorter image lacks stay zero.
    static DeviceSettingsRecord FromImage(std::span<const std::uint8_t> image);

    const Bytes& bytes() const { return bytes_; }

    // Signed 32-bit little-endian integers.
    std::int32_t GetInt(RecordField f) const;
    void SetInt(RecordField f, std::int32_t value);

    // UTF-16LE text of a slot: up to the first NUL, or the whole slot when it holds none.
    std::u16string GetText16(RecordField f) const;
    // Stores at most (slot units - 1) code units, a NUL, and zeros to the slot's end.
    void SetText16(RecordField f, std::u16string_view text);

    // The raw code units of a UTF-16LE slot, terminator and what follows included.
    std::u16string GetUnits16(RecordField f) const;

    // 8-bit text of a slot: up to the first NUL, or the whole slot when it holds none.
    std::string GetText8(RecordField f) const;
    // Stores at most (slot size - 1) bytes, a NUL, and zeros to the slot's end.
    void SetText8(RecordField f, std::string_view text);

    std::int32_t addressMode() const { return GetInt(field::addressMode); }
    std::int32_t lineGuardMode() const { return GetInt(field::lineGuardMode); }
    std::int32_t ringLimit() const { return GetInt(field::ringLimit); }

    friend bool operator==(const DeviceSettingsRecord&, const DeviceSettingsRecord&) = default;

private:
    Bytes bytes_{};
};

}  // namespace tavrel
