#include "ZipFormat.h"

#include "ZipExceptions.h"

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

enum class Zip64Field { UncompressedSize, CompressedSize, LocalHeaderOffset };

// The ZIP64 record holds only the values whose 32-bit field is at its maximum,
// in this order; a field at its maximum without a value is a damaged header.
std::uint64_t Zip64Value(const TZipHeader& header, Zip64Field field) {
    const std::uint32_t fields[] = {header.UncompressedSize, header.CompressedSize, header.LocalHeaderOffset};
    const auto wanted = static_cast<std::size_t>(field);
    if (fields[wanted] != zip::Zip64Marker) return fields[wanted];
    std::size_t offset = 0;
    for (std::size_t k = 0; k < wanted; ++k) {
        if (fields[k] == zip::Zip64Marker) offset += 8;
    }
    const auto record = zip::FindExtraRecord(header.ExtraField, zip::Zip64ExtraId);
    if (!record || record.size < offset + 8) throw EZipException(TZipErrorKind::Format, L"Error reading zip file");
    return zip::Get64(record.data + offset);
}

}  // namespace

std::uint64_t TZipHeader::GetUncompressedSize64() const { return Zip64Value(*this, Zip64Field::UncompressedSize); }
std::uint64_t TZipHeader::GetCompressedSize64() const { return Zip64Value(*this, Zip64Field::CompressedSize); }
std::uint64_t TZipHeader::GetLocalHeaderOffset64() const { return Zip64Value(*this, Zip64Field::LocalHeaderOffset); }
