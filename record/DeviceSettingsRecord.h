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

// Where a field lies in the record: where it starts and how many bytes it takes.
struct RecordField {
    std::size_t offset;
    std::size_t size;
    constexpr std::size_t End() const { return offset + size; }
};

// The fields by what their bytes hold. A field's type fixes the accessors that take it,
// so that a field cannot be read or written as something it does not hold.
//
// A signed 32-bit little-endian integer.
struct IntField : RecordField {};
// UTF-16LE text: NUL-terminated, zeros after the terminator.
struct Text16Field : RecordField {};
// 8-bit text in a code page: NUL-terminated, zeros after the terminator.
struct Text8Field : RecordField {};
// Zero bytes in every record written; never read.
struct ZeroField : RecordField {};

namespace field {
inline constexpr IntField addressMode{{0, 4}};
inline constexpr Text16Field ipAddress{{4, 64}};
inline constexpr Text16Field subnetMask{{68, 64}};
inline constexpr Text16Field otherDnsServer{{132, 64}};
inline constexpr Text16Field defaultGateway{{196, 64}};
inline constexpr Text16Field preferredDnsServer{{260, 64}};
inline constexpr ZeroField reserved{{324, 64}};
inline constexpr Text16Field pushAddress{{388, 512}};
inline constexpr IntField lineGuardMode{{900, 4}};
inline constexpr IntField ringLimit{{904, 4}};
inline constexpr Text8Field cipKey{{908, 128}};
}  // namespace field

inline constexpr std::size_t kRecordSize = 1036;
inline constexpr std::size_t kAddressSlotUnits = field::ipAddress.size / 2;  // 32

// The fields tile the record without gaps, in this order, to exactly 1036 bytes.
static_assert(field::addressMode.End() == field::ipAddress.offset);
static_assert(field::ipAddress.End() == field::subnetMask.offset);
static_assert(field::subnetMask.End() == field::otherDnsServer.offset);
static_assert(field::otherDnsServer.End() == field::defaultGateway.offset);
static_assert(field::defaultGateway.End() == field::preferredDnsServer.offset);
static_assert(field::preferredDnsServer.End() == field::reserved.offset);
static_assert(field::reserved.End() == field::pushAddress.offset);
static_assert(field::pushAddress.End() == field::lineGuardMode.offset);
static_assert(field::lineGuardMode.End() == field::ringLimit.offset);
static_assert(field::ringLimit.End() == field::cipKey.offset);
static_assert(field::cipKey.End() == kRecordSize);
static_assert(field::addressMode.size == 4 && field::lineGuardMode.size == 4 &&
              field::ringLimit.size == 4);

// The record as bytes with explicit offsets. A new record is 1036 zero bytes; setters
// fill one field each and leave every other byte alone, so every byte that no value
// covers stays zero in a record built from scratch.
class DeviceSettingsRecord {
public:
    using Image = std::array<std::uint8_t, kRecordSize>;

    DeviceSettingsRecord() = default;
    // The first 1036 bytes of an image; bytes a shorter image lacks stay zero.
    static DeviceSettingsRecord FromImage(std::span<const std::uint8_t> image);

    const Image& Bytes() const { return bytes_; }

    // Signed 32-bit little-endian integers.
    std::int32_t GetInt(IntField f) const;
    void SetInt(IntField f, std::int32_t value);

    // UTF-16LE text of a slot: up to the first NUL, or the whole slot when it holds none.
    std::u16string GetText16(Text16Field f) const;
    // Stores at most (slot units - 1) code units, a NUL, and zeros to the slot's end.
    void SetText16(Text16Field f, std::u16string_view text);

    // The raw code units of a UTF-16LE slot, terminator and what follows included.
    std::u16string GetUnits16(Text16Field f) const;

    // 8-bit text of a slot: up to the first NUL, or the whole slot when it holds none.
    std::string GetText8(Text8Field f) const;
    // Stores at most (slot size - 1) bytes, a NUL, and zeros to the slot's end.
    void SetText8(Text8Field f, std::string_view text);

    std::int32_t AddressMode() const { return GetInt(field::addressMode); }
    std::int32_t LineGuardMode() const { return GetInt(field::lineGuardMode); }
    std::int32_t RingLimit() const { return GetInt(field::ringLimit); }

    friend bool operator==(const DeviceSettingsRecord&, const DeviceSettingsRecord&) = default;

private:
    Image bytes_{};
};

}  // namespace tavrel
