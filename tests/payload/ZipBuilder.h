// Writes small ZIP archives byte by byte for the reader's tests, with every
// field under the test's control, and helpers that spoil single bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ziptest {

// 2023-06-15 13:45:30
constexpr std::uint32_t DefaultDosTime = (43u << 25 | 6u << 21 | 15u << 16) | (13u << 11 | 45u << 5 | 15u);

struct Entry {
    std::string name;  // raw bytes as stored
    std::string data;  // uncompressed content
    std::uint16_t method = 8;
    std::uint16_t flag = 0x0800;
    std::uint16_t madeBy = 0x0014;
    std::uint32_t externalAttributes = 0x20;
    std::uint32_t dosTime = DefaultDosTime;
    std::string localExtra;
    std::string centralExtra;
    bool dataDescriptor = false;  // sizes and CRC after the data, zero in the local header
    std::optional<std::uint32_t> crc;               // instead of the true CRC-32
    std::optional<std::uint32_t> uncompressedSize;  // instead of the true size, in both headers
    std::optional<std::string> payload;             // instead of the compressed data
    bool zip64Offset = false;  // the local header's offset only in a ZIP64 record, first in the central extra
    std::size_t copies = 1;    // entries of these fields in a row, each with its own local header
};

struct Archive {
    std::vector<Entry> entries;
    std::string comment;
    bool zip64 = false;        // ZIP64 end record and locator, 0xFFFFFFFF in the end record
    std::string trailing;      // bytes after the end record
};

std::string Build(const Archive& archive);
std::string Deflate(const std::string& data);
std::uint32_t Crc(const std::string& data);

std::string Le16(std::uint32_t v);
std::string Le32(std::uint32_t v);
std::string Le64(std::uint64_t v);

// An extra-field record.
std::string ExtraRecord(std::uint16_t id, const std::string& data);
// The Info-ZIP Unicode Path record for a raw name.
std::string UnicodePath(const std::string& rawName, const std::string& utf8Name, std::optional<std::uint32_t> crc = {});

// Offset of the last occurrence of a record signature.
std::size_t FindLast(const std::string& bytes, std::uint32_t signature);
// Go-style corruption: a copy with one change.
std::string MessWith(std::string bytes, std::size_t offset, const std::string& replacement);

}  // namespace ziptest
