// The hints, from the address arithmetic of a fixed configuration: the subnet the IP
// address and mask make, and where the gateway and DNS servers fall.
#include "cli/Hints.h"

#include <bit>

#include "form/Utf8.h"
#include "record/AddressText.h"

namespace tavrel::cli {

using namespace form;  // the text codec

namespace {

constexpr AddressValue kZero = 0;
constexpr AddressValue kAllOnes = 0xFFFFFFFF;

bool IsContiguous(AddressValue mask) {
    const AddressValue hostBits = ~mask;
    return (hostBits & (hostBits + 1)) == 0;
}

}  // namespace

std::vector<std::string> NetworkHints(const SettingsValues& v) {
    std::vector<std::string> hints;
    if (v.automaticAddress) {
        return hints;
    }
    const AddressValue ip = v.ipAddress;
    const AddressValue mask = v.subnetMask;
    const bool contiguous = IsContiguous(mask);
    const AddressValue network = ip & mask;
    const std::string subnet =
        contiguous ? AddressUtf8(network) + "/" + std::to_string(std::popcount(mask))
                   : AddressUtf8(network) + " (mask " + AddressUtf8(mask) + ")";

    if (!contiguous) {
        hints.push_back("The subnet mask " + AddressUtf8(mask) +
                        " is not a run of ones followed by zeros, so the device's subnet is "
                        "not what it seems.");
    }
    if (ip == kZero || ip == kAllOnes) {
        hints.push_back("The IP address " + AddressUtf8(ip) +
                        " is not an address a device can have.");
    } else if (contiguous && std::popcount(mask) < 31) {
        if (ip == network) {
            hints.push_back("The IP address " + AddressUtf8(ip) +
                            " is the network address of its subnet " + subnet +
                            ", which no device can have.");
        } else if (ip == (network | ~mask)) {
            hints.push_back("The IP address " + AddressUtf8(ip) +
                            " is the broadcast address of its subnet " + subnet +
                            ", which no device can have.");
        }
    }
    if (v.defaultGateway == ip) {
        hints.push_back("The default gateway " + AddressUtf8(ip) +
                        " is the device's own IP address; the device would send its traffic to "
                        "itself.");
    } else if ((v.defaultGateway & mask) != network) {
        hints.push_back("The default gateway " + AddressUtf8(v.defaultGateway) +
                        " is outside the device's subnet " + subnet +
                        ", so the device cannot reach it.");
    }
    for (const auto& [name, dns] :
         {std::pair{"other", v.otherDnsServer}, std::pair{"preferred", v.preferredDnsServer}}) {
        if (dns == kZero || dns == kAllOnes) {
            hints.push_back(std::string("The ") + name + " DNS server " + AddressUtf8(dns) +
                            " is not an address a server can have.");
        }
    }
    return hints;
}

std::string SameAddressHint(AddressValue ip, const std::string& device,
                            const std::string& earlier) {
    return device + " has the same fixed IP address " + AddressUtf8(ip) + " as " + earlier +
           "; only one of them can be reached.";
}

}  // namespace tavrel::cli
