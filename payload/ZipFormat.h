// Layout of the ZIP records the reader understands (little-endian throughout),
// and the in-memory record of one entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zip {

constexpr std::uint32_t EndOfCentralDirSignature = 0x06054B50;
constexpr std::uint32_t Zip64EndLocatorSignature = 0x07064B50;
constexpr std::uint32_t Zip64EndOfCentralDirSignature = 0x06064B50;
constexpr std::uint32_t CentralHeaderSignature = 0x02014B50;
constexpr std::uint32_t LocalHeaderSignature = 0x04034B50;

// Fixed parts, signatures included.
constexpr std::size_t EndOfCentralDirSize = 22;
constexpr std::size_t Zip64EndLocatorSize = 20;
constexpr std::size_t Zip64EndOfCentralDirSize = 56;
constexpr std::size_t CentralHeaderSize = 46;
constexpr std::size_t LocalHeaderSize = 30;

// The longest comment (65,535 bytes) after the 22-byte end record.
constexpr std::int64_t MaxEndSearch = 65557;
// The backward search reads 50 records' worth at a time; windows overlap by one record.
constexpr std::size_t EndSearchWindow = 1100;
constexpr std::uint32_t Zip64Marker = 0xFFFFFFFF;

constexpr std::uint16_t Zip64ExtraId = 0x0001;
constexpr std::uint16_t NtfsExtraId = 0x000A;             // times in 100 ns units since 1601, UTC
constexpr std::uint16_t ExtendedTimestampExtraId = 0x5455;  // "UT": Unix seconds, UTC
constexpr std::uint16_t UnicodePathExtraId = 0x7075;

constexpr std::uint16_t FlagEncrypted = 0x0001;
constexpr std::uint16_t FlagDataDescriptor = 0x0008;
constexpr std::uint16_t FlagStrongEncryption = 0x0040;
constexpr std::uint16_t FlagUtf8 = 0x0800;

// Hosts whose external attributes hold the MS-DOS bits.
constexpr std::uint8_t HostMsDos = 0;
constexpr std::uint8_t HostNtfs = 10;
constexpr std::uint8_t AttributeSymbolicLink = 0x40;

constexpr std::uint16_t MethodStored = 0;
constexpr std::uint16_t MethodDeflate = 8;

inline std::uint16_t Get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
inline std::uint32_t Get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(Get16(p)) | static_cast<std::uint32_t>(Get16(p + 2)) << 16;
}
inline std::uint64_t Get64(const std::uint8_t* p) {
    return static_cast<std::uint64_t>(Get32(p)) | static_cast<std::uint64_t>(Get32(p + 4)) << 32;
}

}  // namespace zip

enum class TZipMode { zmClosed = 0, zmRead = 1 };

// One entry, as its central header (or its local header, whose missing fields stay 0) gives it.
struct TZipHeader {
    std::uint16_t MadeByVersion = 0;
    std::uint16_t RequiredVersion = 0;
    std::uint16_t Flag = 0;
    std::uint16_t CompressionMethod = 0;
    std::uint32_t ModifiedDateTime = 0;
    std::uint32_t CRC32 = 0;
    std::uint32_t CompressedSize = 0;
    std::uint32_t UncompressedSize = 0;
    std::uint16_t FileNameLength = 0;
    std::uint16_t ExtraFieldLength = 0;
    std::uint16_t FileCommentLength = 0;
    std::uint16_t DiskNumberStart = 0;
    std::uint16_t InternalAttributes = 0;
    std::uint32_t ExternalAttributes = 0;
    std::uint32_t LocalHeaderOffset = 0;
    std::vector<std::uint8_t> FileName;
    std::vector<std::uint8_t> ExtraField;
    std::vector<std::uint8_t> FileComment;

    bool GetUTF8Support() const { return (Flag & zip::FlagUtf8) != 0; }
    // The 32-bit field, or the ZIP64 extended-information value where the field
    // is at its maximum; fails with "Error reading zip file" when that value is missing.
    std::uint64_t GetUncompressedSize64() const;
    std::uint64_t GetCompressedSize64() const;
    std::uint64_t GetLocalHeaderOffset64() const;
    std::uint8_t HostSystem() const { return static_cast<std::uint8_t>(MadeByVersion >> 8); }
};

namespace zip {

// The data of the first extra-field record with this identifier. Records are
// walked from the start of the field; one that claims more bytes than the field
// still holds ends the walk, and it and everything after it count as absent.
struct ExtraRecord {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    explicit operator bool() const { return data != nullptr; }
};
ExtraRecord FindExtraRecord(const std::vector<std::uint8_t>& extraField, std::uint16_t id);

}  // namespace zip
