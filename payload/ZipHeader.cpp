#include "ZipFormat.h"

namespace zip {

ExtraRecord FindExtraRecord(const std::vector<std::uint8_t>& extraField, std::uint16_t id) {
    std::size_t position = 0;
    while (extraField.size() - position >= 4) {
        const std::uint8_t* record = extraField.data() + position;
        const std::size_t size = Get16(record + 2);
        if (size > extraField.size() - position - 4) break;
        if (Get16(record) == id) return {record + 4, size};
        position += 4 + size;
    }
    return {};
}

}  // namespace zip

namespace {

// Values of the ZIP64 record stand by position, whatever the 32-bit fields hold.
std::uint64_t Zip64Value(const TZipHeader& header, std::size_t offset, std::uint32_t fallback) {
    const auto record = zip::FindExtraRecord(header.ExtraField, zip::Zip64ExtraId);
    if (record && record.size >= offset + 8) return zip::Get64(record.data + offset);
    return fallback;
}

}  // namespace

std::uint64_t TZipHeader::GetUncompressedSize64() const { return Zip64Value(*this, 0, UncompressedSize); }
std::uint64_t TZipHeader::GetCompressedSize64() const { return Zip64Value(*this, 8, CompressedSize); }
std::uint64_t TZipHeader::GetLocalHeaderOffset64() const { return Zip64Value(*this, 16, LocalHeaderOffset); }
