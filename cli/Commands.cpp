// show, check and write: a file loaded as the dialog loads it and listed with the form's
// labels, or the form's values built from options and written as confirming writes them.
#include "cli/Commands.h"

#include <istream>
#include <ostream>

#include "cli/Checks.h"
#include "cli/Files.h"
#include "cli/Hints.h"
#include "cli/Json.h"
#include "cli/SettingsKeys.h"
#include "form/Utf8.h"
#include "record/SettingsFile.h"

namespace tavrel::cli {

using namespace form;  // the text codec

namespace {

// Far more than any settings object; input beyond it is not read.
constexpr std::size_t kJsonInputLimit = 1 << 20;

// One line of the listing: the form's label, padded to a column, then the value.
void Line(std::ostream& out, std::string_view label, std::string_view value) {
    constexpr std::size_t kColumn = 19;
    const std::size_t width = DisplayWidth(label);
    out << label;
    if (!value.empty()) {
        out << std::string(width < kColumn ? kColumn - width : 1, ' ') << value;
    }
    out << "\n";
}

void PrintWarnings(std::ostream& out, const std::vector<std::string>& warnings) {
    for (const std::string& w : warnings) {
        out << "  - " << w << "\n";
    }
}

// The key's label with its colon, as the listing starts its line.
std::string LabelOf(std::string_view key) {
    return std::string(SettingsKeyNamed(key).label) + ":";
}

void PrintSettings(std::ostream& out, const LoadedSettings& loaded) {
    const SettingsValues& v = loaded.values;
    Line(out, LabelOf("addressMode"),
         v.automaticAddress ? std::string(kAutomaticAddressChoice) + " (addressMode 1)"
                            : std::string(kFixedAddressChoice) + " (addressMode 0)");
    for (const char* key :
         {"ipAddress", "subnetMask", "defaultGateway", "otherDnsServer", "preferredDnsServer"}) {
        Line(out, LabelOf(key), SettingsKeyNamed(key).format(v));
    }

    // The push address, one line of the text per line of the listing.
    std::u16string_view push = v.pushAddress;
    std::string label = LabelOf("pushAddress");
    while (true) {
        const std::size_t end = push.find_first_of(u"\r\n");
        Line(out, label, Utf16ToUtf8(push.substr(0, end)));
        if (end == std::u16string_view::npos) {
            break;
        }
        label = "";
        push.remove_prefix(end + (push.substr(end, 2) == u"\r\n" ? 2 : 1));
    }

    const std::int32_t g = v.lineGuardMode;
    const bool listed = g >= 0 && g < static_cast<std::int32_t>(kLineGuardEntries.size());
    Line(out, LabelOf("lineGuardMode"),
         std::string(listed ? kLineGuardEntries[static_cast<std::size_t>(g)] : "未選擇") +
             " (lineGuardMode " + std::to_string(g) + ")");
    Line(out, LabelOf("ringLimit"),
         std::to_string(v.ringLimit) + " " + std::string(kRingsUnit) + std::string(kRingsAction));
    Line(out, LabelOf("cipKey"), Utf16ToUtf8(v.cipKey));
    if (!loaded.warnings.empty()) {
        out << "\nWarnings:\n";
        PrintWarnings(out, loaded.warnings);
    }
    const std::vector<std::string> hints = NetworkHints(v);
    if (!hints.empty()) {
        out << "\n";
        PrintHints(out, hints);
    }
}

// Checks one option's value and stores it; notes the refusal otherwise.
template <typename T, typename CheckFn>
void Take(const std::optional<std::string>& given, const char* option, CheckFn check, T& target,
          std::vector<std::string>& refused) {
    if (!given) {
        return;
    }
    std::string reason;
    if (auto value = check(*given, reason)) {
        target = std::move(*value);
    } else {
        refused.push_back(std::string(option) + ": " + reason);
    }
}

}  // namespace

void PrintHints(std::ostream& out, const std::vector<std::string>& hints, std::string_view about) {
    for (const std::string& h : hints) {
        out << "hint: " << about << h << "\n";
    }
}

void Fail(Streams io, const std::string& message) {
    io.err << "tavrel-cli: " << message << "\n";
}

std::optional<LoadedSettings> LoadFile(const std::string& file, CodePage cp, Streams io) {
    std::string error;
    const std::optional<InputBytes> input = ReadInput(file, io.in, kRecordSize, error);
    if (!input) {
        Fail(io, error);
        return std::nullopt;
    }
    return LoadSettings(*input, cp);
}

int Show(const std::string& file, bool json, CodePage cp, Streams io) {
    const std::optional<LoadedSettings> loaded = LoadFile(SettingsFileIn(file), cp, io);
    if (!loaded) {
        return kExitFailed;
    }
    if (json) {
        io.out << SettingsToJson(loaded->values, loaded->warnings, NetworkHints(loaded->values));
    } else {
        PrintSettings(io.out, *loaded);
    }
    return kExitSuccess;
}

int Check(const std::string& given, bool strict, CodePage cp, Streams io) {
    const std::string file = SettingsFileIn(given);
    const std::optional<LoadedSettings> loaded = LoadFile(file, cp, io);
    if (!loaded) {
        return kExitFailed;
    }
    const std::vector<std::string> hints = NetworkHints(loaded->values);
    if (!loaded->warnings.empty()) {
        io.out << file << ": not what the dialog writes for the values it shows:\n";
        PrintWarnings(io.out, loaded->warnings);
    } else {
        io.out << file << ": exactly what the dialog writes for the values it shows\n";
    }
    PrintHints(io.out, hints);
    return loaded->warnings.empty() && !(strict && !hints.empty()) ? kExitSuccess : kExitFailed;
}

int Write(const WriteOptions& o, CodePage cp, Streams io) {
    SettingsValues values;  // a fresh form
    if (o.base) {
        const std::optional<LoadedSettings> loaded = LoadFile(SettingsFileIn(*o.base), cp, io);
        if (!loaded) {
            return kExitFailed;
        }
        values = loaded->values;
    } else if (o.jsonIn) {
        std::string error;
        const std::optional<InputBytes> input = ReadInput(*o.jsonIn, io.in, kJsonInputLimit, error);
        if (!input) {
            Fail(io, "--json-in: " + error);
            return kExitFailed;
        }
        if (!input->size || *input->size > kJsonInputLimit) {
            Fail(io, "--json-in: " + *o.jsonIn + " holds more than " +
                         std::to_string(kJsonInputLimit >> 20) +
                         " MiB, far more than a settings object");
            return kExitFailed;
        }
        const std::vector<std::string> refused = ApplyJson(
            std::string_view(reinterpret_cast<const char*>(input->head.data()), input->head.size()),
            cp, values);
        if (!refused.empty()) {
            for (const std::string& r : refused) {
                Fail(io, "--json-in: " + r);
            }
            return kExitFailed;
        }
    }

    std::vector<std::string> refused;
    if (o.automatic && o.fixed) {
        refused.push_back("--auto, --fixed: only one address mode can be chosen");
    } else if (o.automatic || o.fixed) {
        values.automaticAddress = o.automatic;
    }
    Take(o.ipAddress, "--ip", CheckAddress, values.ipAddress, refused);
    Take(o.subnetMask, "--mask", CheckAddress, values.subnetMask, refused);
    Take(o.defaultGateway, "--gateway", CheckAddress, values.defaultGateway, refused);
    Take(o.otherDnsServer, "--other-dns", CheckAddress, values.otherDnsServer, refused);
    Take(o.preferredDnsServer, "--preferred-dns", CheckAddress, values.preferredDnsServer, refused);
    Take(o.pushAddress, "--push", CheckPushAddress, values.pushAddress, refused);
    Take(o.lineGuard, "--guard", CheckGuardWord, values.lineGuardMode, refused);
    Take(o.ringLimit, "--rings", CheckRingCount, values.ringLimit, refused);
    Take(
        o.cipKey, "--key",
        [cp](std::string_view s, std::string& reason) { return CheckKey(s, cp, reason); },
        values.cipKey, refused);

    const bool toStandardOutput = o.dest == "-";
    std::optional<std::filesystem::path> target;
    if (toStandardOutput) {
        if (io.outDevice.isTerminal) {
            refused.push_back(
                "write -: standard output is a terminal; send it to a file or a pipe instead");
        }
    } else {
        std::string error;
        target = ResolveDestination(o.dest, error);
        if (!target) {
            refused.push_back(error);
        }
    }
    if (!refused.empty()) {
        for (const std::string& r : refused) {
            Fail(io, r);
        }
        return kExitFailed;
    }
    PrintHints(io.err, NetworkHints(values));

    const DeviceSettingsRecord record = RecordFromValues(values, cp);
    if (toStandardOutput) {
        if (io.outDevice.makeBinary) {
            io.outDevice.makeBinary();
        }
        io.out.write(reinterpret_cast<const char*>(record.Bytes().data()),
                     static_cast<std::streamsize>(record.Bytes().size()));
        io.out.flush();
        if (!io.out) {
            Fail(io, "cannot write to standard output");
            return kExitFailed;
        }
        return kExitSuccess;
    }
    const WriteResult written = WriteSettingsFile(*target, record);
    if (!written) {
        Fail(io, WriteFailureMessage(*target, written));
        return kExitFailed;
    }
    io.out << "wrote " << PathToUtf8(*target) << "\n";
    return kExitSuccess;
}

}  // namespace tavrel::cli
