#pragma once
// Helpers for the record tests: images built byte by byte (independent of the record's
// own setters) and scratch folders.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "record/DeviceSettingsRecord.h"
#include "record/SettingsValues.h"

namespace tavrel::test {

using Image = std::vector<std::uint8_t>;

inline Image ZeroImage(std::size_t size = kRecordSize) {
    return Image(size, 0);
}

inline void PutInt(Image& image, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        image.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// Code units as UTF-16LE from `offset`, no terminator added.
inline void PutUnits(Image& image, std::size_t offset, std::u16string_view units) {
    for (std::size_t i = 0; i < units.size(); ++i) {
        image.at(offset + 2 * i) = static_cast<std::uint8_t>(units[i] & 0xFF);
        image.at(offset + 2 * i + 1) = static_cast<std::uint8_t>(units[i] >> 8);
    }
}

inline void PutBytes(Image& image, std::size_t offset, std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        image.at(offset + i) = static_cast<std::uint8_t>(bytes[i]);
    }
}

// A form in fixed-address mode with every address filled: 192.168.0.20, 255.255.255.0,
// gateway 192.168.0.1, other DNS 8.8.4.4, preferred DNS 8.8.8.8; guard on.
inline SettingsValues FixedAddressValues() {
    SettingsValues values;
    values.automaticAddress = false;
    values.ipAddress = 0xC0A80014;
    values.subnetMask = 0xFFFFFF00;
    values.defaultGateway = 0xC0A80001;
    values.otherDnsServer = 0x08080404;
    values.preferredDnsServer = 0x08080808;
    values.lineGuardMode = 1;
    return values;
}

inline Image ImageOf(const DeviceSettingsRecord& record) {
    return Image(record.Bytes().begin(), record.Bytes().end());
}

inline Image ReadRaw(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Image(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteRaw(const std::filesystem::path& path, const Image& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A fresh empty folder under the system's temporary folder, removed with its contents.
class ScratchDir {
public:
    ScratchDir() {
        static std::atomic<unsigned> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = std::filesystem::temp_directory_path() /
                ("tavrel-test-" + std::to_string(stamp) + "-" +
                 std::to_string(std::random_device{}()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const {
        return path_ / name;
    }

    // The names in the folder, sorted.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path path_;
};

}  // namespace tavrel::test
