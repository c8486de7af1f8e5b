#include "ArchiveWriter.h"

#include <zlib.h>

#include <fstream>
#include <memory>

#include "BuildError.h"
#include "DosTime.h"

namespace builder {
namespace {

constexpr int DeflateLevel = 6;
constexpr std::size_t ChunkSize = 256 * 1024;

class RawDeflater {
public:
    RawDeflater() {
        if (deflateInit2(&z_, DeflateLevel, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            throw BuildError("zlib cannot start a deflate stream");
    }
    RawDeflater(const RawDeflater&) = delete;
    RawDeflater& operator=(const RawDeflater&) = delete;
    ~RawDeflater() { deflateEnd(&z_); }

    void restart() { deflateReset(&z_); }
    // The most that size bytes can deflate to with these settings.
    std::uint64_t bound(std::uint64_t size) { return deflateBound(&z_, static_cast<uLong>(size)); }

    // Deflates one piece of input and hands every output piece to sink.
    template <typename Sink>
    void feed(const unsigned char* data, std::size_t size, bool last, Sink&& sink) {
        z_.next_in = const_cast<Bytef*>(data);
        z_.avail_in = static_cast<uInt>(size);
        int result;
        do {
            z_.next_out = out_.get();
            z_.avail_out = static_cast<uInt>(ChunkSize);
            result = deflate(&z_, last ? Z_FINISH : Z_NO_FLUSH);
            if (result == Z_STREAM_ERROR) throw BuildError("zlib failed while deflating");
            sink(out_.get(), ChunkSize - z_.avail_out);
        } while (z_.avail_out == 0 || (last && result != Z_STREAM_END));
    }

private:
    z_stream z_{};
    std::unique_ptr<unsigned char[]> out_ = std::make_unique<unsigned char[]>(ChunkSize);
};

class Output {
public:
    Output(const std::filesystem::path& path, const ArchiveLimit& limit) : file_(path, std::ios::binary | std::ios::trunc), limit_(limit) {
        if (!file_) throw BuildError("the archive \"" + path.string() + "\" cannot be created");
    }
    std::uint64_t position() const { return position_; }
    void write(const unsigned char* data, std::size_t size) {
        if (position_ + size > limit_.bytes) throw BuildError(limit_.refusal);
        file_.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!file_) throw BuildError("writing the archive failed (disk full?)");
        position_ += size;
    }
    void write(const zip::Bytes& bytes) { write(bytes.data(), bytes.size()); }
    void overwriteAt(std::uint64_t at, const zip::Bytes& bytes) {
        file_.seekp(static_cast<std::streamoff>(at));
        file_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        file_.seekp(static_cast<std::streamoff>(position_));
        if (!file_) throw BuildError("writing the archive failed");
    }
    void close() {
        file_.close();
        if (!file_) throw BuildError("closing the archive failed");
    }

private:
    std::ofstream file_;
    const ArchiveLimit& limit_;
    std::uint64_t position_ = 0;
};

// Writes the local header with zero sizes, streams the deflated data after it,
// then puts the real sizes and CRC into the header: no data descriptor needed.
zip::EntryRecord writeEntry(const SourceFile& file, Output& out, RawDeflater& deflater, unsigned char* buffer) {
    zip::EntryRecord entry;
    entry.name = file.name;
    entry.modified = toDosDateTime(file.modified);
    entry.localHeaderOffset = out.position();
    entry.zip64Local = deflater.bound(file.size) >= zip::Zip64Marker32;
    out.write(zip::localHeader(entry));

    std::ifstream in(file.path, std::ios::binary);
    if (!in) throw BuildError("\"" + file.path.string() + "\" cannot be opened");
    deflater.restart();
    std::uint64_t read = 0, compressed = 0;
    uLong crc = crc32(0, nullptr, 0);
    auto sink = [&](const unsigned char* data, std::size_t size) {
        out.write(data, size);
        compressed += size;
    };
    for (;;) {
        in.read(reinterpret_cast<char*>(buffer), ChunkSize);
        const auto got = static_cast<std::size_t>(in.gcount());
        if (in.bad()) throw BuildError("\"" + file.path.string() + "\" cannot be read");
        read += got;
        crc = crc32(crc, buffer, static_cast<uInt>(got));
        const bool last = got < ChunkSize;
        deflater.feed(buffer, got, last, sink);
        if (last) break;
    }
    if (read != file.size) throw BuildError("\"" + file.path.string() + "\" changed while the archive was written");
    // The header rewritten below must keep the length it was written with.
    if (!entry.zip64Local && compressed >= zip::Zip64Marker32)
        throw BuildError("\"" + file.name + "\" deflated beyond zlib's own bound");

    entry.crc32 = static_cast<std::uint32_t>(crc);
    entry.compressedSize = compressed;
    entry.uncompressedSize = read;
    out.overwriteAt(entry.localHeaderOffset, zip::localHeader(entry));
    return entry;
}

}  // namespace

ArchiveSummary writeArchive(const std::vector<SourceFile>& files, const std::filesystem::path& path, const ArchiveLimit& limit) {
    Output out(path, limit);
    RawDeflater deflater;
    const auto buffer = std::make_unique<unsigned char[]>(ChunkSize);

    ArchiveSummary summary;
    std::vector<zip::EntryRecord> entries;
    for (const SourceFile& file : files) {
        entries.push_back(writeEntry(file, out, deflater, buffer.get()));
        summary.uncompressedBytes += entries.back().uncompressedSize;
        summary.compressedBytes += entries.back().compressedSize;
    }
    const std::uint64_t directoryOffset = out.position();
    for (const zip::EntryRecord& entry : entries) out.write(zip::centralHeader(entry));
    const std::uint64_t directorySize = out.position() - directoryOffset;
    out.write(zip::endRecords(entries.size(), directorySize, directoryOffset));
    out.close();
    summary.entries = entries.size();
    summary.archiveBytes = out.position();
    return summary;
}

}  // namespace builder
