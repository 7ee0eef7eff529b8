#pragma once
// Network hints: values the form takes that would likely leave a box unreachable, such
// as a mask of 255.0.255.0 or a gateway outside the box's subnet. A hint never refuses
// a write and never changes what is written.

#include <string>
#include <vector>

#include "form/Result.h"
#include "form/Sentences.h"
#include "record/SettingsValues.h"

namespace tavrel::form {

// In fixed-address mode: a subnet mask that is not a run of ones followed by zeros; an
// IP address of 0.0.0.0 or 255.255.255.255, or the network or broadcast address of its
// own subnet (for masks shorter than /31); a default gateway outside the IP's subnet or
// equal to the IP; a DNS server of 0.0.0.0 or 255.255.255.255. Nothing in automatic mode,
// where the box takes its addresses from the network.
std::vector<Message> NetworkHints(const SettingsValues& values);

// A device given the same fixed IP address as an earlier one; both named by the caller.
Message SameAddressHint(AddressValue ip, const Arg& device, const Arg& earlier);

}  // namespace tavrel::form
