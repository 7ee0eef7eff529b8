// The record's bytes: every field at its offset, little-endian integers, UTF-16LE slots,
// and text read only within its slot.

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "record/AddressText.h"
#include "record/DeviceSettingsRecord.h"
#include "record/SettingsFile.h"
#include "record/SettingsValues.h"

namespace tavrel {
namespace {

using test::Image;
using test::PutBytes;
using test::PutInt;
using test::PutUnits;

// A written file is the values' fields at their offsets and zeros everywhere else, so
// the whole expected image is built here byte by byte and compared at once.
TEST(RecordLayout, WrittenFileHasEveryFieldAtItsOffsetAndZerosElsewhere) {
    SettingsValues values;
    values.automaticAddress = false;
    values.ipAddress = 0xC0A8010A;           // 192.168.1.10
    values.subnetMask = 0xFFFFFF00;          // 255.255.255.0
    values.defaultGateway = 0xC0A80101;      // 192.168.1.1
    values.otherDnsServer = 0x08080404;      // 8.8.4.4
    values.preferredDnsServer = 0x08080808;  // 8.8.8.8
    values.pushAddress = u"udp://10.0.0.5:9000\r\n推送";
    values.lineGuardMode = 1;
    values.ringLimit = 3;
    values.cipKey = u"key-1";

    test::ScratchDir dir;
    const auto path = dir / "device_config.dat";
    ASSERT_TRUE(WriteSettingsFile(path, RecordFromValues(values)));

    Image expected = test::ZeroImage();
    PutInt(expected, 0, 0);
    PutUnits(expected, 4, u"192.168.1.10");
    PutUnits(expected, 68, u"255.255.255.0");
    PutUnits(expected, 132, u"8.8.4.4");  // the other DNS server comes before the gateway
    PutUnits(expected, 196, u"192.168.1.1");
    PutUnits(expected, 260, u"8.8.8.8");
    PutUnits(expected, 388, u"udp://10.0.0.5:9000\r\n推送");
    PutInt(expected, 900, 1);
    PutInt(expected, 904, 3);
    PutBytes(expected, 908, "key-1");

    const Image written = test::ReadRaw(path);
    ASSERT_EQ(written.size(), kRecordSize);
    EXPECT_EQ(written, expected);
}

TEST(RecordLayout, IntegersAreSignedLittleEndian) {
    DeviceSettingsRecord record;
    record.SetInt(field::ringLimit, -5);
    record.SetInt(field::lineGuardMode, 0x01020304);

    Image expected = test::ZeroImage();
    PutBytes(expected, 900, "\x04\x03\x02\x01");
    PutBytes(expected, 904, "\xFB\xFF\xFF\xFF");
    EXPECT_EQ(test::ImageOf(record), expected);

    const auto read = DeviceSettingsRecord::FromImage(expected);
    EXPECT_EQ(read.RingLimit(), -5);
    EXPECT_EQ(read.LineGuardMode(), 0x01020304);
    EXPECT_EQ(ValuesFromRecord(read).ringLimit, -5);
    EXPECT_EQ(RecordFromValues(ValuesFromRecord(read)).RingLimit(), -5);
}

// A field's type fixes its accessors: reading or writing it as anything else does not
// compile. Each field is checked against every accessor kind.
template <auto Field>
concept ReadsAsInt = requires(DeviceSettingsRecord r) {
    r.GetInt(Field);
    r.SetInt(Field, 0);
};
template <auto Field>
concept ReadsAsText16 = requires(DeviceSettingsRecord r) {
    r.GetText16(Field);
    r.SetText16(Field, u"");
    r.GetUnits16(Field);
};
template <auto Field>
concept ReadsAsText8 = requires(DeviceSettingsRecord r) {
    r.GetText8(Field);
    r.SetText8(Field, "");
};
template <auto Field, bool Int, bool Text16, bool Text8>
constexpr bool kAccessorsAre = (ReadsAsInt<Field> == Int) && (ReadsAsText16<Field> == Text16) &&
                               (ReadsAsText8<Field> == Text8);

static_assert(kAccessorsAre<field::addressMode, true, false, false>);
static_assert(kAccessorsAre<field::ringLimit, true, false, false>);
static_assert(kAccessorsAre<field::ipAddress, false, true, false>);
static_assert(kAccessorsAre<field::pushAddress, false, true, false>);
static_assert(kAccessorsAre<field::cipKey, false, false, true>);  // no GetText16(cipKey)
static_assert(kAccessorsAre<field::reserved, false, false, false>);
static_assert(kAccessorsAre<RecordField{0, 4}, false, false, false>);  // an untyped span

// Setters cut to the slot less its terminator, clear what an earlier longer text left,
// and never touch the neighbouring fields.
TEST(RecordLayout, TextSettersCutToTheSlotAndClearTheRest) {
    DeviceSettingsRecord record;
    record.SetInt(field::addressMode, -1);
    record.SetText16(field::subnetMask, u"255.255.255.0");
    record.SetText16(field::ipAddress, std::u16string(40, u'9'));
    EXPECT_EQ(record.GetText16(field::ipAddress), std::u16string(31, u'9'));
    record.SetText16(field::ipAddress, u"1.2.3.4");
    record.SetText8(field::cipKey, std::string(200, 'k'));
    EXPECT_EQ(record.GetText8(field::cipKey), std::string(127, 'k'));
    record.SetText8(field::cipKey, "ab");

    Image expected = test::ZeroImage();
    PutInt(expected, 0, 0xFFFFFFFF);
    PutUnits(expected, 4, u"1.2.3.4");
    PutUnits(expected, 68, u"255.255.255.0");
    PutBytes(expected, 908, "ab");
    EXPECT_EQ(test::ImageOf(record), expected);
}

// A slot from elsewhere without a terminator is read to its end and no further, even
// when the next field holds text that would continue it.
TEST(RecordLayout, SlotWithoutTerminatorIsBoundedBySlot) {
    Image image = test::ZeroImage();
    const std::u16string hexOne = u"0x" + std::u16string(29, u'0') + u"1";  // 32 units
    PutUnits(image, 4, hexOne);
    PutUnits(image, 68, u"2.0.0.0");
    PutUnits(image, 388, std::u16string(256, u'p'));
    PutInt(image, 900, 0x00410041);  // "AA" if it were read as text
    PutBytes(image, 908, std::string(128, 'k'));
    const auto record = DeviceSettingsRecord::FromImage(image);

    EXPECT_EQ(record.GetText16(field::ipAddress), hexOne);
    EXPECT_EQ(record.GetUnits16(field::ipAddress), hexOne);
    EXPECT_EQ(TextToAddress(record.GetUnits16(field::ipAddress)), 1u);  // not 0x12
    EXPECT_EQ(record.GetText16(field::pushAddress), std::u16string(256, u'p'));
    EXPECT_EQ(record.GetText8(field::cipKey), std::string(128, 'k'));
}

TEST(RecordLayout, ImageLongerThanRecordKeepsFirst1036Bytes) {
    Image image(1100, 0xAB);
    const auto record = DeviceSettingsRecord::FromImage(image);
    EXPECT_EQ(test::ImageOf(record), Image(kRecordSize, 0xAB));
}

struct AddressSlotCase {
    const char* name;
    std::u16string slotText;  // the slot's units; zeros follow to the slot's end
    AddressValue value;
    std::u16string writtenBack;
};

void PrintTo(const AddressSlotCase& c, std::ostream* os) {
    *os << c.name;
}

class AddressSlot : public testing::TestWithParam<AddressSlotCase> {};

// A stored address text reads as its value and is written back in plain dotted decimal.
TEST_P(AddressSlot, ReadsAndWritesBack) {
    const auto& c = GetParam();
    Image image = test::ZeroImage();
    PutUnits(image, 4, c.slotText);
    const auto record = DeviceSettingsRecord::FromImage(image);

    EXPECT_EQ(TextToAddress(record.GetUnits16(field::ipAddress), kTraditionalChineseCodePage),
              c.value);
    const auto values = ValuesFromRecord(record, kTraditionalChineseCodePage);
    EXPECT_EQ(values.ipAddress, c.value);
    EXPECT_EQ(RecordFromValues(values).GetText16(field::ipAddress), c.writtenBack);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddressSlot,
    testing::Values(
        AddressSlotCase{"Plain", u"192.168.1.10", 0xC0A8010A, u"192.168.1.10"},
        AddressSlotCase{"TrailingThreeDigits", u"10.0.0.138", 0x0A00008A, u"10.0.0.138"},
        AddressSlotCase{"TwoParts", u"10.1", 0x0A000001, u"10.0.0.1"},
        AddressSlotCase{"Octal", u"0300.0250.1.012", 0xC0A8010A, u"192.168.1.10"},
        AddressSlotCase{"Hexadecimal", u"0xC0A8010A", 0xC0A8010A, u"192.168.1.10"},
        AddressSlotCase{"TextAfterSpace", u"1.2.3.4 (office)", 0x01020304, u"1.2.3.4"},
        AddressSlotCase{"BytesAfterTerminator",
                        std::u16string(u"1.2.3.4\0"
                                       u"99",
                                       10),
                        0x01020304, u"1.2.3.4"},
        AddressSlotCase{"Zero", u"0.0.0.0", 0, u"0.0.0.0"},
        AddressSlotCase{"Empty", u"", 0xFFFFFFFF, u"255.255.255.255"},
        AddressSlotCase{"NotAnAddress", u"router", 0xFFFFFFFF, u"255.255.255.255"},
        AddressSlotCase{"FieldOver255", u"256.1.1.1", 0xFFFFFFFF, u"255.255.255.255"},
        AddressSlotCase{"FullWidthDigits", u"１.２.３.４", 0xFFFFFFFF, u"255.255.255.255"},
        AddressSlotCase{"Chinese", u"中文", 0xFFFFFFFF, u"255.255.255.255"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tavrel
