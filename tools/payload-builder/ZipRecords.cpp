#include "ZipRecords.h"

namespace builder::zip {
namespace {

class LittleEndian {
public:
    explicit LittleEndian(std::size_t reserve) { bytes_.reserve(reserve); }
    LittleEndian& u16(std::uint16_t v) {
        bytes_.push_back(static_cast<unsigned char>(v));
        bytes_.push_back(static_cast<unsigned char>(v >> 8));
        return *this;
    }
    LittleEndian& u32(std::uint32_t v) { return u16(static_cast<std::uint16_t>(v)).u16(static_cast<std::uint16_t>(v >> 16)); }
    LittleEndian& text(const std::string& s) {
        bytes_.insert(bytes_.end(), s.begin(), s.end());
        return *this;
    }
    Bytes take() { return std::move(bytes_); }

private:
    Bytes bytes_;
};

}  // namespace

Bytes localHeader(const EntryRecord& e) {
    return LittleEndian(LocalHeaderSize + e.name.size())
        .u32(LocalHeaderSignature)
        .u16(VersionNeeded)
        .u16(FlagUtf8Names)
        .u16(MethodDeflated)
        .u16(e.modified.time)
        .u16(e.modified.date)
        .u32(e.crc32)
        .u32(e.compressedSize)
        .u32(e.uncompressedSize)
        .u16(static_cast<std::uint16_t>(e.name.size()))
        .u16(0)  // extra field
        .text(e.name)
        .take();
}

Bytes centralHeader(const EntryRecord& e) {
    return LittleEndian(CentralHeaderSize + e.name.size())
        .u32(CentralHeaderSignature)
        .u16(VersionMadeBy)
        .u16(VersionNeeded)
        .u16(FlagUtf8Names)
        .u16(MethodDeflated)
        .u16(e.modified.time)
        .u16(e.modified.date)
        .u32(e.crc32)
        .u32(e.compressedSize)
        .u32(e.uncompressedSize)
        .u16(static_cast<std::uint16_t>(e.name.size()))
        .u16(0)  // extra field
        .u16(0)  // comment
        .u16(0)  // disk
        .u16(0)  // internal attributes
        .u32(AttributeArchive)
        .u32(e.localHeaderOffset)
        .text(e.name)
        .take();
}

Bytes endRecord(std::uint16_t entryCount, std::uint32_t directorySize, std::uint32_t directoryOffset) {
    return LittleEndian(EndRecordSize)
        .u32(EndRecordSignature)
        .u16(0)  // this disk
        .u16(0)  // disk of the central directory
        .u16(entryCount)
        .u16(entryCount)
        .u32(directorySize)
        .u32(directoryOffset)
        .u16(0)  // comment
        .take();
}

}  // namespace builder::zip
