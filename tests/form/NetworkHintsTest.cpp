// Network hints: each kind of value that would leave a box unreachable, and none for
// sound values or automatic addressing.
#include <gtest/gtest.h>

#include "form/NetworkHints.h"
#include "form/ValueChecks.h"

namespace tavrel::form {
namespace {

AddressValue A(const char* text) {
    return *CheckAddress(text);
}

SettingsValues Fixed(const char* ip, const char* mask, const char* gateway,
                     const char* other = "8.8.4.4", const char* preferred = "8.8.8.8") {
    SettingsValues v;
    v.automaticAddress = false;
    v.ipAddress = A(ip);
    v.subnetMask = A(mask);
    v.defaultGateway = A(gateway);
    v.otherDnsServer = A(other);
    v.preferredDnsServer = A(preferred);
    return v;
}

TEST(NetworkHints, NameEachFaultOfTheFixedAddresses) {
    struct Case {
        SettingsValues values;
        std::vector<std::string> phrases;  // one per hint, in order
    };
    const std::vector<Case> cases{
        {Fixed("192.168.0.20", "255.255.255.0", "192.168.0.1"), {}},
        {Fixed("10.1.2.3", "255.0.0.0", "10.200.0.1"), {}},
        {Fixed("192.168.0.21", "255.255.255.252", "192.168.0.22"), {}},  // /30
        {Fixed("192.168.0.20", "255.255.255.254", "192.168.0.21"), {}},  // /31: no network address
        {Fixed("192.168.0.20", "255.0.255.0", "192.168.0.1"),
         {"The subnet mask 255.0.255.0 is not a run of ones followed by zeros"}},
        {Fixed("192.168.0.20", "0.255.255.255", "192.168.0.1"),
         {"The subnet mask 0.255.255.255 is not",
          "outside the device's subnet 0.168.0.20 (mask 0.255.255.255)"}},
        {Fixed("0.0.0.0", "255.255.255.0", "0.0.0.1"),
         {"The IP address 0.0.0.0 is not an address a device can have"}},
        {Fixed("255.255.255.255", "255.255.255.0", "255.255.255.1"),
         {"The IP address 255.255.255.255 is not an address"}},
        {Fixed("192.168.0.0", "255.255.255.0", "192.168.0.1"),
         {"192.168.0.0 is the network address of its subnet 192.168.0.0/24"}},
        {Fixed("192.168.0.255", "255.255.255.0", "192.168.0.1"),
         {"192.168.0.255 is the broadcast address of its subnet 192.168.0.0/24"}},
        {Fixed("10.0.0.127", "255.255.255.128", "10.0.0.1"),
         {"is the broadcast address of its subnet 10.0.0.0/25"}},
        {Fixed("192.168.0.20", "255.255.255.0", "192.168.1.1"),
         {"The default gateway 192.168.1.1 is outside the device's subnet 192.168.0.0/24"}},
        {Fixed("192.168.0.20", "255.255.255.0", "0.0.0.0"), {"default gateway 0.0.0.0 is outside"}},
        {Fixed("192.168.0.20", "255.255.255.0", "192.168.0.20"),
         {"The default gateway 192.168.0.20 is the device's own IP address"}},
        {Fixed("192.168.0.20", "255.255.255.0", "192.168.0.1", "0.0.0.0", "255.255.255.255"),
         {"The other DNS server 0.0.0.0 is not an address a server can have",
          "The preferred DNS server 255.255.255.255 is not"}},
        {Fixed("0.0.0.0", "255.0.255.0", "0.0.0.0", "0.0.0.0", "8.8.8.8"),
         {"subnet mask 255.0.255.0", "IP address 0.0.0.0",
          "default gateway 0.0.0.0 is the device's own", "other DNS server 0.0.0.0"}},
    };
    for (const Case& c : cases) {
        const std::vector<Message> hints = NetworkHints(c.values);
        ASSERT_EQ(hints.size(), c.phrases.size()) << c.phrases.size();
        for (std::size_t i = 0; i < hints.size(); ++i) {
            EXPECT_NE(hints[i].en.find(c.phrases[i]), std::string::npos)
                << hints[i].en << "\nexpected: " << c.phrases[i];
            // The Chinese sentence names the same addresses.
            EXPECT_FALSE(hints[i].zh.empty());
            EXPECT_EQ(hints[i].zh.find("{"), std::string::npos) << hints[i].zh;
        }
    }
}

TEST(NetworkHints, NoneInAutomaticMode) {
    SettingsValues v = Fixed("0.0.0.0", "255.0.255.0", "1.2.3.4", "0.0.0.0", "255.255.255.255");
    v.automaticAddress = true;
    EXPECT_TRUE(NetworkHints(v).empty());
    EXPECT_TRUE(NetworkHints(SettingsValues{}).empty());  // a fresh form
}

}  // namespace
}  // namespace tavrel::form
