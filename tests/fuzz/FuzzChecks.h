#pragma once
// What must hold for any input, shared by the fuzz targets and the test that replays
// their saved corpus. Each check returns an empty text when the input passes, or what
// went wrong.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace tavrel::fuzz {

// Any bytes as a settings file: the image reads the same from memory and from a file
// (written at `scratchFile` when it is not empty); loading and saving give a canonical
// record that loads and saves to itself.
std::string CheckRecordImage(std::span<const std::uint8_t> image,
                             const std::filesystem::path& scratchFile);

// Any bytes as address text: our parser agrees with the C library's inet_aton where it
// has one, and parsed values print and parse back to themselves.
std::string CheckInetAddress(std::span<const std::uint8_t> text);

// Any bytes as the JSON object of `write --json-in`: refused, with the values untouched
// and each reason well-formed UTF-8 text, or accepted as values that build a record
// which loads back to them, and whose `show --json` text reads back as the same values.
std::string CheckCliJson(std::span<const std::uint8_t> text);

// Any bytes as the file that `show`, `show --json` and `check` read from standard
// input: show succeeds, every output is well-formed UTF-8, check passes exactly when
// the JSON lists no warnings, and a file that passes is what its JSON writes, byte for
// byte, when its push address is one that could be typed.
std::string CheckCliShow(std::span<const std::uint8_t> file);

// Any bytes as a site table: ReadCsv numbers its records in order, each with a cell; a
// text without quotes has no faults; every well-formed record, written as a CSV line,
// reads back as the same cells, alone and with the others; DecodeTable refuses with
// reasons, or gives the bytes without their byte order mark when they are UTF-8 or carry
// that mark, and UTF-8 text decoded from the code page otherwise.
std::string CheckCsv(std::span<const std::uint8_t> text);

// A file in the temporary folder that this process may overwrite at will.
std::filesystem::path ProcessScratchFile();

}  // namespace tavrel::fuzz
