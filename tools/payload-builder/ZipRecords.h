// The few ZIP records the payload builder writes, with the constants that make
// every payload alike: deflated entries, UTF-8 names, MS-DOS host, no extras,
// no comments, no ZIP64, no data descriptors.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace builder::zip {

inline constexpr std::uint32_t LocalHeaderSignature = 0x04034B50;
inline constexpr std::uint32_t CentralHeaderSignature = 0x02014B50;
inline constexpr std::uint32_t EndRecordSignature = 0x06054B50;

inline constexpr std::size_t LocalHeaderSize = 30;
inline constexpr std::size_t CentralHeaderSize = 46;
inline constexpr std::size_t EndRecordSize = 22;

inline constexpr std::uint16_t VersionMadeBy = 0x0014;  // host 0 (MS-DOS), version 2.0
inline constexpr std::uint16_t VersionNeeded = 20;
inline constexpr std::uint16_t FlagUtf8Names = 0x0800;
inline constexpr std::uint16_t MethodDeflated = 8;
inline constexpr std::uint32_t AttributeArchive = 0x20;

// A 32-bit size or offset of 0xFFFFFFFF tells readers to look for ZIP64
// records, which the payload never has, so every value stays below it.
inline constexpr std::uint64_t MaxFileSize = 0xFFFFFFFE;
inline constexpr std::uint64_t MaxArchiveSize = 0xFFFFFFFF;
inline constexpr std::size_t MaxEntries = 0xFFFF;
inline constexpr std::size_t MaxNameBytes = 0xFFFF;

struct DosDateTime {
    std::uint16_t time = 0;
    std::uint16_t date = 0;
};

struct EntryRecord {
    std::string name;  // UTF-8, "/" between folders
    DosDateTime modified;
    std::uint32_t crc32 = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t uncompressedSize = 0;
    std::uint32_t localHeaderOffset = 0;
};

using Bytes = std::vector<unsigned char>;

Bytes localHeader(const EntryRecord& entry);
Bytes centralHeader(const EntryRecord& entry);
Bytes endRecord(std::uint16_t entryCount, std::uint32_t directorySize, std::uint32_t directoryOffset);

}  // namespace builder::zip
