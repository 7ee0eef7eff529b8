// The form's values and the record: what loading shows, and what confirming writes.

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "record/SettingsValues.h"

namespace tavrel {
namespace {

using test::Image;
using test::PutBytes;
using test::PutInt;
using test::PutUnits;

constexpr CodePage kBig5 = kTraditionalChineseCodePage;

// The form as it first opens: automatic addressing, mask 255.255.255.0, blank addresses
// (0.0.0.0), guard off, empty texts.
TEST(RecordFromValues, FreshFormGivesTheDefaultRecord) {
    Image expected = test::ZeroImage();
    PutInt(expected, 0, 1);
    PutUnits(expected, 4, u"0.0.0.0");
    PutUnits(expected, 68, u"255.255.255.0");
    PutUnits(expected, 132, u"0.0.0.0");
    PutUnits(expected, 196, u"0.0.0.0");
    PutUnits(expected, 260, u"0.0.0.0");
    EXPECT_EQ(test::ImageOf(RecordFromValues(SettingsValues{})), expected);
}

TEST(SettingsValues, FixedAddressFormSurvivesSaveAndLoad) {
    SettingsValues values = test::FixedAddressValues();
    values.subnetMask = 0xFFFF0000;
    values.pushAddress = u"http://a.example/push\r\nhttp://b.example/推送";
    values.ringLimit = 123456789;
    values.cipKey = u"金鑰-key";
    EXPECT_EQ(ValuesFromRecord(RecordFromValues(values, kBig5), kBig5), values);

    values.automaticAddress = true;
    values.lineGuardMode = -1;
    values.ringLimit = -5;
    EXPECT_EQ(ValuesFromRecord(RecordFromValues(values, kBig5), kBig5), values);
}

// A record written by some other tool: out-of-range mode and guard, a short address
// form, a non-address, stray bytes after terminators and in the reserved slot. Loading
// shows what the device would use; saving writes the canonical record.
TEST(SettingsValues, ForeignRecordLoadsAndSavesCanonically) {
    Image foreign = test::ZeroImage();
    PutInt(foreign, 0, 2);
    PutUnits(foreign, 4,
             std::u16string(u"10.1\0"
                            u"77.77",
                            10));
    PutUnits(foreign, 68, u"0xffffff00");
    PutUnits(foreign, 132, u"dns");
    PutUnits(foreign, 196, u"192.168.0.1 gateway");
    PutUnits(foreign, 260, u"8.8.8.8");
    PutBytes(foreign, 324, "reserved garbage");
    PutUnits(foreign, 388,
             std::u16string(u"push\0"
                            u"old tail",
                            13));
    PutInt(foreign, 900, 5);
    PutInt(foreign, 904, static_cast<std::uint32_t>(-5));
    PutBytes(foreign, 908, std::string("k\xA4\xA4\0stale", 9));

    const SettingsValues values = ValuesFromRecord(DeviceSettingsRecord::FromImage(foreign), kBig5);
    SettingsValues expected;
    expected.automaticAddress = true;
    expected.ipAddress = 0x0A000001;
    expected.subnetMask = 0xFFFFFF00;
    expected.otherDnsServer = 0xFFFFFFFF;
    expected.defaultGateway = 0xC0A80001;
    expected.preferredDnsServer = 0x08080808;
    expected.pushAddress = u"push";
    expected.lineGuardMode = -1;
    expected.ringLimit = -5;
    expected.cipKey = u"k中";
    EXPECT_EQ(values, expected);

    Image canonical = test::ZeroImage();
    PutInt(canonical, 0, 1);
    PutUnits(canonical, 4, u"10.0.0.1");
    PutUnits(canonical, 68, u"255.255.255.0");
    PutUnits(canonical, 132, u"255.255.255.255");
    PutUnits(canonical, 196, u"192.168.0.1");
    PutUnits(canonical, 260, u"8.8.8.8");
    PutUnits(canonical, 388, u"push");
    PutInt(canonical, 900, static_cast<std::uint32_t>(-1));
    PutInt(canonical, 904, static_cast<std::uint32_t>(-5));
    PutBytes(canonical, 908, "k\xA4\xA4");
    EXPECT_EQ(test::ImageOf(RecordFromValues(values, kBig5)), canonical);
}

TEST(RecordFromValues, KeyIsCutAtTheLastWholeCharacterWithin63Bytes) {
    const auto storedKey = [](std::u16string key) {
        SettingsValues values;
        values.cipKey = std::move(key);
        return RecordFromValues(values, kBig5).GetText8(field::cipKey);
    };
    EXPECT_EQ(storedKey(std::u16string(64, u'k')), std::string(63, 'k'));
    EXPECT_EQ(storedKey(std::u16string(62, u'k') + u"中"), std::string(62, 'k'));
    EXPECT_EQ(storedKey(std::u16string(61, u'k') + u"中"), std::string(61, 'k') + "\xA4\xA4");
    std::string doubleBytes;  // 31 whole characters: 62 bytes, the 32nd would need 64
    for (int i = 0; i < 31; ++i) {
        doubleBytes += "\xA4\xA4";
    }
    EXPECT_EQ(storedKey(std::u16string(40, u'中')), doubleBytes);
}

TEST(RecordFromValues, PushAddressIsCutTo253UnitsWithoutSplittingAPair) {
    const auto storedPush = [](std::u16string push) {
        SettingsValues values;
        values.pushAddress = std::move(push);
        return RecordFromValues(values).GetText16(field::pushAddress);
    };
    EXPECT_EQ(storedPush(std::u16string(255, u'p')), std::u16string(253, u'p'));
    EXPECT_EQ(storedPush(std::u16string(253, u'p')), std::u16string(253, u'p'));
    const std::u16string straddling = std::u16string(252, u'p') + u"\U0001F600" + u"q";
    EXPECT_EQ(storedPush(straddling), std::u16string(252, u'p'));
    const std::u16string fitting = std::u16string(251, u'p') + u"\U0001F600" + u"q";
    EXPECT_EQ(storedPush(fitting), std::u16string(251, u'p') + u"\U0001F600");
}

TEST(WithCrLfLineBreaks, GivesEveryKindOfLineBreakAsCrLf) {
    EXPECT_EQ(WithCrLfLineBreaks(u"a\nb"), u"a\r\nb");
    EXPECT_EQ(WithCrLfLineBreaks(u"a\rb"), u"a\r\nb");
    EXPECT_EQ(WithCrLfLineBreaks(u"a\r\nb"), u"a\r\nb");
    EXPECT_EQ(WithCrLfLineBreaks(u"\n\r"), u"\r\n\r\n");
    EXPECT_EQ(WithCrLfLineBreaks(u"\r\r\n\n"), u"\r\n\r\n\r\n");
    EXPECT_EQ(WithCrLfLineBreaks(u"end\r"), u"end\r\n");
    EXPECT_EQ(WithCrLfLineBreaks(u"no breaks 中"), u"no breaks 中");
    EXPECT_EQ(WithCrLfLineBreaks(u""), u"");
}

}  // namespace
}  // namespace tavrel
