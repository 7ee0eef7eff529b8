#include "cli/Commands.h"

#include <istream>
#include <ostream>

#include "cli/Checks.h"
#include "cli/Files.h"
#include "cli/Inspect.h"
#include "cli/Json.h"
#include "cli/Text.h"
#include "record/AddressText.h"
#include "record/SettingsFile.h"

namespace tavrel::cli {

namespace {

// Far more than any settings object; input beyond it is not read.
constexpr std::size_t kJsonInputLimit = 1 << 20;

void Fail(Streams io, const std::string& message) {
    io.err << "tavrel-cli: " << message << "\n";
}

// `file` is a name that SettingsFileIn has resolved.
std::optional<LoadedSettings> LoadFile(const std::string& file, CodePage cp, Streams io) {
    std::string error;
    const std::optional<InputBytes> input = ReadInput(file, io.in, kRecordSize, error);
    if (!input) {
        Fail(io, error);
        return std::nullopt;
    }
    return LoadSettings(*input, cp);
}

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

void PrintSettings(std::ostream& out, const LoadedSettings& loaded) {
    const SettingsValues& v = loaded.values;
    const auto address = [](AddressValue a) { return Utf16ToUtf8(AddressToText(a)); };
    Line(
        out, "位址模式:",
        v.automaticAddress ? "自動取得IP位址 (addressMode 1)" : "使用下列的IP位址 (addressMode 0)");
    Line(out, "IP位址:", address(v.ipAddress));
    Line(out, "子網路遮罩:", address(v.subnetMask));
    Line(out, "預設閘道:", address(v.defaultGateway));
    Line(out, "其他DNS 伺服器:", address(v.otherDnsServer));
    Line(out, "慣用DNS伺服器:", address(v.preferredDnsServer));

    // The push address, one line of the text per line of the listing.
    std::u16string_view push = v.pushAddress;
    std::string_view label = "來電號碼推送位址:";
    while (true) {
        const std::size_t end = push.find_first_of(u"\r\n");
        Line(out, label, Utf16ToUtf8(push.substr(0, end)));
        if (end == std::u16string_view::npos) {
            break;
        }
        label = "";
        push.remove_prefix(end + (push.substr(end, 2) == u"\r\n" ? 2 : 1));
    }

    static constexpr const char* kGuard[] = {"未選擇", "關閉", "開啟"};
    const std::int32_t g = v.lineGuardMode;
    Line(out, "惡意佔用外線設定:",
         std::string(kGuard[g >= -1 && g <= 1 ? g + 1 : 0]) + " (lineGuardMode " +
             std::to_string(g) + ")");
    Line(out, "來電響鈴超過:", std::to_string(v.ringLimit) + " 聲，立即將電話接起後並掛斷來電");
    Line(out, "CIPKEY:", Utf16ToUtf8(v.cipKey));
    if (!loaded.warnings.empty()) {
        out << "\nWarnings:\n";
        PrintWarnings(out, loaded.warnings);
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

int Show(const std::string& file, bool json, CodePage cp, Streams io) {
    const std::optional<LoadedSettings> loaded = LoadFile(SettingsFileIn(file), cp, io);
    if (!loaded) {
        return 1;
    }
    if (json) {
        io.out << SettingsToJson(loaded->values, loaded->warnings);
    } else {
        PrintSettings(io.out, *loaded);
    }
    return 0;
}

int Check(const std::string& given, CodePage cp, Streams io) {
    const std::string file = SettingsFileIn(given);
    const std::optional<LoadedSettings> loaded = LoadFile(file, cp, io);
    if (!loaded) {
        return 1;
    }
    if (!loaded->warnings.empty()) {
        io.out << file << ": not what the dialog writes for the values it shows:\n";
        PrintWarnings(io.out, loaded->warnings);
        return 1;
    }
    io.out << file << ": exactly what the dialog writes for the values it shows\n";
    return 0;
}

int Write(const WriteOptions& o, CodePage cp, Streams io) {
    SettingsValues values;  // a fresh form
    if (o.base) {
        const std::optional<LoadedSettings> loaded = LoadFile(SettingsFileIn(*o.base), cp, io);
        if (!loaded) {
            return 1;
        }
        values = loaded->values;
    } else if (o.jsonIn) {
        std::string error;
        const std::optional<InputBytes> input = ReadInput(*o.jsonIn, io.in, kJsonInputLimit, error);
        if (!input) {
            Fail(io, "--json-in: " + error);
            return 1;
        }
        if (!input->size || *input->size > kJsonInputLimit) {
            Fail(io, "--json-in: " + *o.jsonIn + " holds more than " +
                         std::to_string(kJsonInputLimit >> 20) +
                         " MiB, far more than a settings object");
            return 1;
        }
        const std::vector<std::string> refused = ApplyJson(
            std::string_view(reinterpret_cast<const char*>(input->head.data()), input->head.size()),
            cp, values);
        if (!refused.empty()) {
            for (const std::string& r : refused) {
                Fail(io, "--json-in: " + r);
            }
            return 1;
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
        return 1;
    }

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
            return 1;
        }
        return 0;
    }
    const WriteResult written = WriteSettingsFile(*target, record);
    if (!written) {
        Fail(io, (written.Replaced() ? "" : "cannot write ") + PathToUtf8(*target) + ": " +
                     DescribeWriteFailure(written));
        return 1;
    }
    io.out << "wrote " << PathToUtf8(*target) << "\n";
    return 0;
}

}  // namespace tavrel::cli
