// The hints, from the address arithmetic of a fixed configuration: the subnet the IP
// address and mask make, and where the gateway and DNS servers fall.
#include "form/NetworkHints.h"

#include <bit>

#include "form/Fields.h"
#include "form/Sentences.h"
#include "form/Utf8.h"
#include "record/AddressText.h"

namespace tavrel::form {

namespace {

constexpr AddressValue kZero = 0;
constexpr AddressValue kAllOnes = 0xFFFFFFFF;

bool IsContiguous(AddressValue mask) {
    const AddressValue hostBits = ~mask;
    return (hostBits & (hostBits + 1)) == 0;
}

std::string Dotted(AddressValue address) {
    return Utf16ToUtf8(AddressToText(address));
}

// A field as the sentences name it.
Arg Name(std::string_view key) {
    const Field& f = FieldNamed(key);
    return {std::string(f.english), Utf16ToUtf8(f.chinese)};
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
    const Arg subnet = contiguous ? Arg(Dotted(network) + "/" + std::to_string(std::popcount(mask)))
                                  : Arg(Dotted(network) + " (mask " + Dotted(mask) + ")",
                                        Dotted(network) + "（遮罩 " + Dotted(mask) + "）");

    if (!contiguous) {
        hints.push_back(Say(Sentence::MaskNotContiguous, {Dotted(mask), Name("subnetMask")}));
    }
    if (ip == kZero || ip == kAllOnes) {
        hints.push_back(Say(Sentence::IpNotForDevice, {Dotted(ip), Name("ipAddress")}));
    } else if (contiguous && std::popcount(mask) < 31) {
        if (ip == network) {
            hints.push_back(Say(Sentence::IpIsNetwork, {Dotted(ip), subnet, Name("ipAddress")}));
        } else if (ip == (network | ~mask)) {
            hints.push_back(Say(Sentence::IpIsBroadcast, {Dotted(ip), subnet, Name("ipAddress")}));
        }
    }
    if (v.defaultGateway == ip) {
        hints.push_back(
            Say(Sentence::GatewayIsOwnIp, {Dotted(ip), Name("defaultGateway"), Name("ipAddress")}));
    } else if ((v.defaultGateway & mask) != network) {
        hints.push_back(Say(Sentence::GatewayOutside,
                            {Dotted(v.defaultGateway), subnet, Name("defaultGateway")}));
    }
    for (const auto& [key, dns] : {std::pair{"otherDnsServer", v.otherDnsServer},
                                   std::pair{"preferredDnsServer", v.preferredDnsServer}}) {
        if (dns == kZero || dns == kAllOnes) {
            hints.push_back(Say(Sentence::DnsNotForServer, {Name(key), Dotted(dns)}));
        }
    }
    return hints;
}

Message SameAddressHint(AddressValue ip, const std::string& device, const std::string& earlier) {
    return Say(Sentence::SameFixedIp, {device, Dotted(ip), earlier});
}

}  // namespace tavrel::form
