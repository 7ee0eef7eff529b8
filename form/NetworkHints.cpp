// The hints, from the address arithmetic of a fixed configuration: the subnet the IP
// address and mask make, and where the gateway and DNS servers fall.
#include "form/NetworkHints.h"

#include <bit>

#include "form/Fields.h"
#include "form/Sentences.h"
#include "form/Utf8.h"

namespace tavrel::form {

namespace {

constexpr AddressValue kZero = 0;
constexpr AddressValue kAllOnes = 0xFFFFFFFF;

bool IsContiguous(AddressValue mask) {
    const AddressValue hostBits = ~mask;
    return (hostBits & (hostBits + 1)) == 0;
}

}  // namespace

std::vector<Message> NetworkHints(const SettingsValues& v) {
    std::vector<Message> hints;
    if (v.automaticAddress) {
        return hints;
    }
    const AddressValue ip = v.ipAddress;
    const AddressValue mask = v.subnetMask;
    const bool contiguous = IsContiguous(mask);
    const AddressValue network = ip & mask;
    const Arg subnet = contiguous
                           ? Arg(AddressUtf8(network) + "/" + std::to_string(std::popcount(mask)))
                           : Arg(AddressUtf8(network) + " (mask " + AddressUtf8(mask) + ")",
                                 AddressUtf8(network) + "（遮罩 " + AddressUtf8(mask) + "）");

    if (!contiguous) {
        hints.push_back(Say(Sentence::MaskNotContiguous,
                            {AddressUtf8(mask), FieldNameInSentences("subnetMask")}));
    }
    if (ip == kZero || ip == kAllOnes) {
        hints.push_back(
            Say(Sentence::IpNotForDevice, {AddressUtf8(ip), FieldNameInSentences("ipAddress")}));
    } else if (contiguous && std::popcount(mask) < 31) {
        if (ip == network) {
            hints.push_back(Say(Sentence::IpIsNetwork,
                                {AddressUtf8(ip), subnet, FieldNameInSentences("ipAddress")}));
        } else if (ip == (network | ~mask)) {
            hints.push_back(Say(Sentence::IpIsBroadcast,
                                {AddressUtf8(ip), subnet, FieldNameInSentences("ipAddress")}));
        }
    }
    if (v.defaultGateway == ip) {
        hints.push_back(
            Say(Sentence::GatewayIsOwnIp, {AddressUtf8(ip), FieldNameInSentences("defaultGateway"),
                                           FieldNameInSentences("ipAddress")}));
    } else if ((v.defaultGateway & mask) != network) {
        hints.push_back(Say(Sentence::GatewayOutside, {AddressUtf8(v.defaultGateway), subnet,
                                                       FieldNameInSentences("defaultGateway")}));
    }
    for (const auto& [key, dns] : {std::pair{"otherDnsServer", v.otherDnsServer},
                                   std::pair{"preferredDnsServer", v.preferredDnsServer}}) {
        if (dns == kZero || dns == kAllOnes) {
            hints.push_back(
                Say(Sentence::DnsNotForServer, {FieldNameInSentences(key), AddressUtf8(dns)}));
        }
    }
    return hints;
}

Message SameAddressHint(AddressValue ip, const Arg& device, const Arg& earlier) {
    return Say(Sentence::SameFixedIp, {device, AddressUtf8(ip), earlier});
}

}  // namespace tavrel::form
