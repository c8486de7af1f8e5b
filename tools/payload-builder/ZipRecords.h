// The few ZIP records the payload builder writes, with the constants that make
// every payload alike: deflated entries, UTF-8 names, MS-DOS host, no
// comments, no data descriptors, and ZIP64 records only where a size, an
// offset or the entry count needs them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace builder::zip {

inline constexpr std::uint32_t LocalHeaderSignature = 0x04034B50;
inline constexpr std::uint32_t CentralHeaderSignature = 0x02014B50;
inline constexpr std::uint32_t EndRecordSignature = 0x06054B50;
inline constexpr std::uint32_t Zip64EndRecordSignature = 0x06064B50;
inline constexpr std::uint32_t Zip64LocatorSignature = 0x07064B50;

inline constexpr std::size_t LocalHeaderSize = 30;
inline constexpr std::size_t CentralHeaderSize = 46;
inline constexpr std::size_t EndRecordSize = 22;
inline constexpr std::size_t Zip64EndRecordSize = 56;
inline constexpr std::size_t Zip64LocatorSize = 20;

inline constexpr std::uint16_t VersionMadeBy = 0x0014;  // host 0 (MS-DOS), version 2.0
inline constexpr std::uint16_t VersionNeeded = 20;
inline constexpr std::uint16_t VersionNeededZip64 = 45;
inline constexpr std::uint16_t Zip64ExtraId = 0x0001;
inline constexpr std::uint16_t FlagUtf8Names = 0x0800;
inline constexpr std::uint16_t MethodDeflated = 8;
inline constexpr std::uint32_t AttributeArchive = 0x20;

// A 32-bit size or offset of 0xFFFFFFFF, and a 16-bit count of 0xFFFF, tell
// readers that the value is in a ZIP64 record; smaller ones stand as they are.
inline constexpr std::uint32_t Zip64Marker32 = 0xFFFFFFFF;
inline constexpr std::uint16_t Zip64Marker16 = 0xFFFF;
inline constexpr std::size_t MaxNameBytes = 0xFFFF;

struct DosDateTime {
    std::uint16_t time = 0;
    std::uint16_t date = 0;
};

struct EntryRecord {
    std::string name;  // UTF-8, "/" between folders
    DosDateTime modified;
    std::uint32_t crc32 = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t uncompressedSize = 0;
    std::uint64_t localHeaderOffset = 0;
    // The local header is written before the data are deflated, so it has its
    // final length from the start: with both sizes in a ZIP64 record when
    // either might not fit 32 bits.
    bool zip64Local = false;
};

using Bytes = std::vector<unsigned char>;

Bytes localHeader(const EntryRecord& entry);
Bytes centralHeader(const EntryRecord& entry);
// The end of the archive: the end record, after the ZIP64 end record and its
// locator when the count, the directory's size or its offset need them.
Bytes endRecords(std::uint64_t entryCount, std::uint64_t directorySize, std::uint64_t directoryOffset);

}  // namespace builder::zip
