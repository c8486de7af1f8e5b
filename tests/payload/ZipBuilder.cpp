#include "ZipBuilder.h"

#include <zlib.h>

#include <stdexcept>

namespace ziptest {

std::string Le16(std::uint32_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}; }
std::string Le32(std::uint32_t v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }
std::string Le64(std::uint64_t v) {
    return Le32(static_cast<std::uint32_t>(v)) + Le32(static_cast<std::uint32_t>(v >> 32));
}

std::uint32_t Crc(const std::string& data) {
    return static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

std::string Deflate(const std::string& data) {
    z_stream z{};
    if (deflateInit2(&z, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) throw std::runtime_error("deflate");
    std::string out(deflateBound(&z, static_cast<uLong>(data.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

std::string ExtraRecord(std::uint16_t id, const std::string& data) {
    return Le16(id) + Le16(static_cast<std::uint32_t>(data.size())) + data;
}

std::string UnicodePath(const std::string& rawName, const std::string& utf8Name, std::optional<std::uint32_t> crc) {
    // Appended piece by piece: GCC 12 misjudges a chain of + here (-Wrestrict).
    std::string data(1, '\x01');
    data += Le32(crc.value_or(Crc(rawName)));
    data += utf8Name;
    return ExtraRecord(0x7075, data);
}

namespace {

// One entry's local header and data onto out, its central header onto central.
void Append(const Entry& e, std::string& out, std::string& central) {
    const std::string stored = e.payload ? *e.payload : e.method == 8 ? Deflate(e.data) : e.data;
    const std::uint32_t crc = e.crc.value_or(Crc(e.data));
    const std::uint32_t size = e.uncompressedSize.value_or(static_cast<std::uint32_t>(e.data.size()));
    const auto compressed = static_cast<std::uint32_t>(stored.size());
    const std::uint16_t flag = e.flag | (e.dataDescriptor ? 0x0008 : 0);
    const auto offset = static_cast<std::uint32_t>(out.size());

    out += Le32(0x04034B50) + Le16(20) + Le16(flag) + Le16(e.method) + Le32(e.dosTime);
    out += e.dataDescriptor ? Le32(0) + Le32(0) + Le32(0) : Le32(crc) + Le32(compressed) + Le32(size);
    out += Le16(static_cast<std::uint32_t>(e.name.size())) + Le16(static_cast<std::uint32_t>(e.localExtra.size()));
    out += e.name + e.localExtra + stored;
    if (e.dataDescriptor) out += Le32(0x08074B50) + Le32(crc) + Le32(compressed) + Le32(size);

    central += Le32(0x02014B50) + Le16(e.madeBy) + Le16(20) + Le16(flag) + Le16(e.method) + Le32(e.dosTime);
    central += Le32(crc) + Le32(compressed) + Le32(size);
    const std::string centralExtra = (e.zip64Offset ? ExtraRecord(0x0001, Le64(offset)) : "") + e.centralExtra;
    central += Le16(static_cast<std::uint32_t>(e.name.size())) +
               Le16(static_cast<std::uint32_t>(centralExtra.size())) + Le16(0) + Le16(0) + Le16(0);
    central += Le32(e.externalAttributes) + Le32(e.zip64Offset ? 0xFFFFFFFF : offset) + e.name + centralExtra;
}

}  // namespace

std::string Build(const Archive& archive) {
    std::string out;
    std::string central;
    std::uint32_t count = 0;
    for (const Entry& e : archive.entries) {
        for (std::size_t copy = 0; copy < e.copies; ++copy, ++count) Append(e, out, central);
    }
    const auto centralOffset = static_cast<std::uint32_t>(out.size());
    out += central;
    if (archive.zip64) {
        const auto recordOffset = static_cast<std::uint64_t>(out.size());
        out += Le32(0x06064B50) + Le64(44) + Le16(45) + Le16(45) + Le32(0) + Le32(0) + Le64(count) + Le64(count);
        out += Le64(central.size()) + Le64(centralOffset);
        out += Le32(0x07064B50) + Le32(0) + Le64(recordOffset) + Le32(1);
    }
    out += Le32(0x06054B50) + Le16(0) + Le16(0);
    out += archive.zip64 ? Le16(0xFFFF) + Le16(0xFFFF) + Le32(0xFFFFFFFF) + Le32(0xFFFFFFFF)
                         : Le16(count) + Le16(count) + Le32(static_cast<std::uint32_t>(central.size())) +
                               Le32(centralOffset);
    out += Le16(static_cast<std::uint32_t>(archive.comment.size())) + archive.comment;
    return out + archive.trailing;
}

std::size_t FindLast(const std::string& bytes, std::uint32_t signature) {
    const auto at = bytes.rfind(Le32(signature));
    if (at == std::string::npos) throw std::runtime_error("signature not in archive");
    return at;
}

std::string MessWith(std::string bytes, std::size_t offset, const std::string& replacement) {
    bytes.replace(offset, replacement.size(), replacement);
    return bytes;
}

}  // namespace ziptest
