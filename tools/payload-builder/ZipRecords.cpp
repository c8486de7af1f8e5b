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
    LittleEndian& u64(std::uint64_t v) { return u32(static_cast<std::uint32_t>(v)).u32(static_cast<std::uint32_t>(v >> 32)); }
    LittleEndian& bytes(const Bytes& b) {
        bytes_.insert(bytes_.end(), b.begin(), b.end());
        return *this;
    }
    LittleEndian& text(const std::string& s) {
        bytes_.insert(bytes_.end(), s.begin(), s.end());
        return *this;
    }
    Bytes take() { return std::move(bytes_); }

private:
    Bytes bytes_;
};

bool fits32(std::uint64_t v) { return v < Zip64Marker32; }
std::uint32_t field32(std::uint64_t v) { return fits32(v) ? static_cast<std::uint32_t>(v) : Zip64Marker32; }

// The ZIP64 extended information: the values given, in the record's order.
Bytes zip64Extra(const std::vector<std::uint64_t>& values) {
    if (values.empty()) return {};
    LittleEndian extra(4 + 8 * values.size());
    extra.u16(Zip64ExtraId).u16(static_cast<std::uint16_t>(8 * values.size()));
    for (const std::uint64_t v : values) extra.u64(v);
    return extra.take();
}

// In the central header only the values whose 32-bit field holds the marker.
Bytes centralZip64Extra(const EntryRecord& e) {
    std::vector<std::uint64_t> values;
    for (const std::uint64_t v : {e.uncompressedSize, e.compressedSize, e.localHeaderOffset}) {
        if (!fits32(v)) values.push_back(v);
    }
    return zip64Extra(values);
}

}  // namespace

Bytes localHeader(const EntryRecord& e) {
    const Bytes extra = e.zip64Local ? zip64Extra({e.uncompressedSize, e.compressedSize}) : Bytes{};
    return LittleEndian(LocalHeaderSize + e.name.size() + extra.size())
        .u32(LocalHeaderSignature)
        .u16(e.zip64Local ? VersionNeededZip64 : VersionNeeded)
        .u16(FlagUtf8Names)
        .u16(MethodDeflated)
        .u16(e.modified.time)
        .u16(e.modified.date)
        .u32(e.crc32)
        .u32(e.zip64Local ? Zip64Marker32 : field32(e.compressedSize))
        .u32(e.zip64Local ? Zip64Marker32 : field32(e.uncompressedSize))
        .u16(static_cast<std::uint16_t>(e.name.size()))
        .u16(static_cast<std::uint16_t>(extra.size()))
        .text(e.name)
        .bytes(extra)
        .take();
}

Bytes centralHeader(const EntryRecord& e) {
    const Bytes extra = centralZip64Extra(e);
    const bool zip64 = e.zip64Local || !extra.empty();
    return LittleEndian(CentralHeaderSize + e.name.size() + extra.size())
        .u32(CentralHeaderSignature)
        .u16(zip64 ? static_cast<std::uint16_t>((VersionMadeBy & 0xFF00) | VersionNeededZip64) : VersionMadeBy)
        .u16(zip64 ? VersionNeededZip64 : VersionNeeded)
        .u16(FlagUtf8Names)
        .u16(MethodDeflated)
        .u16(e.modified.time)
        .u16(e.modified.date)
        .u32(e.crc32)
        .u32(field32(e.compressedSize))
        .u32(field32(e.uncompressedSize))
        .u16(static_cast<std::uint16_t>(e.name.size()))
        .u16(static_cast<std::uint16_t>(extra.size()))
        .u16(0)  // comment
        .u16(0)  // disk
        .u16(0)  // internal attributes
        .u32(AttributeArchive)
        .u32(field32(e.localHeaderOffset))
        .text(e.name)
        .bytes(extra)
        .take();
}

Bytes endRecords(std::uint64_t entryCount, std::uint64_t directorySize, std::uint64_t directoryOffset) {
    const bool countFits = entryCount < Zip64Marker16;
    LittleEndian end(Zip64EndRecordSize + Zip64LocatorSize + EndRecordSize);
    if (!countFits || !fits32(directorySize) || !fits32(directoryOffset)) {
        const std::uint64_t zip64EndAt = directoryOffset + directorySize;
        end.u32(Zip64EndRecordSignature)
            .u64(Zip64EndRecordSize - 12)  // the record's size after this field
            .u16(static_cast<std::uint16_t>((VersionMadeBy & 0xFF00) | VersionNeededZip64))
            .u16(VersionNeededZip64)
            .u32(0)  // this disk
            .u32(0)  // disk of the central directory
            .u64(entryCount)
            .u64(entryCount)
            .u64(directorySize)
            .u64(directoryOffset)
            .u32(Zip64LocatorSignature)
            .u32(0)  // disk of the ZIP64 end record
            .u64(zip64EndAt)
            .u32(1);  // disks in all
    }
    const auto count16 = countFits ? static_cast<std::uint16_t>(entryCount) : Zip64Marker16;
    return end.u32(EndRecordSignature)
        .u16(0)  // this disk
        .u16(0)  // disk of the central directory
        .u16(count16)
        .u16(count16)
        .u32(field32(directorySize))
        .u32(field32(directoryOffset))
        .u16(0)  // comment
        .take();
}

}  // namespace builder::zip
