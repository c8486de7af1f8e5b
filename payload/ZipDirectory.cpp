#include "ZipDirectory.h"

#include "CodePage437.h"
#include "ZipExceptions.h"

#include <Utf8.h>

#include <algorithm>
#include <limits>

namespace {

[[noreturn]] void FailReading() { throw EZipException(TZipErrorKind::Format, L"Error reading zip file"); }

std::int64_t Remaining(TSeekableStream& stream) {
    return std::max<std::int64_t>(0, stream.Size() - stream.Position());
}

// A variable part of a header: never more than the stream still holds.
std::vector<std::uint8_t> ReadVariable(TSeekableStream& stream, std::size_t length, bool mustBeComplete) {
    if (length == 0) return {};
    const auto available =
        static_cast<std::size_t>(std::min<std::int64_t>(Remaining(stream), static_cast<std::int64_t>(length)));
    if (available < length && mustBeComplete) FailReading();
    std::vector<std::uint8_t> bytes(available);
    bytes.resize(stream.ReadFully(bytes.data(), available));
    if (bytes.size() < length && mustBeComplete) FailReading();
    return bytes;
}

void SeekTo(TSeekableStream& stream, std::uint64_t offset) {
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) FailReading();
    stream.Seek(static_cast<std::int64_t>(offset), SeekOrigin::Begin);
}

// Central and local headers share the run of fields from CompressionMethod to ExtraFieldLength.
void ReadSharedFields(TZipHeader& header, const std::uint8_t* p) {
    header.CompressionMethod = zip::Get16(p);
    header.ModifiedDateTime = zip::Get32(p + 2);
    header.CRC32 = zip::Get32(p + 6);
    header.CompressedSize = zip::Get32(p + 10);
    header.UncompressedSize = zip::Get32(p + 14);
    header.FileNameLength = zip::Get16(p + 18);
    header.ExtraFieldLength = zip::Get16(p + 20);
}

TZipHeader ReadCentralHeader(TSeekableStream& stream) {
    std::uint8_t fixed[zip::CentralHeaderSize];
    if (stream.ReadFully(fixed, 4) != 4 || zip::Get32(fixed) != zip::CentralHeaderSignature) {
        throw EZipException(TZipErrorKind::Format, L"Invalid Zip Central Header signature");
    }
    if (stream.ReadFully(fixed + 4, zip::CentralHeaderSize - 4) != zip::CentralHeaderSize - 4) FailReading();
    TZipHeader h;
    h.MadeByVersion = zip::Get16(fixed + 4);
    h.RequiredVersion = zip::Get16(fixed + 6);
    h.Flag = zip::Get16(fixed + 8);
    ReadSharedFields(h, fixed + 10);
    h.FileCommentLength = zip::Get16(fixed + 32);
    h.DiskNumberStart = zip::Get16(fixed + 34);
    h.InternalAttributes = zip::Get16(fixed + 36);
    h.ExternalAttributes = zip::Get32(fixed + 38);
    h.LocalHeaderOffset = zip::Get32(fixed + 42);
    h.FileName = ReadVariable(stream, h.FileNameLength, true);
    h.ExtraField = ReadVariable(stream, h.ExtraFieldLength, true);
    h.FileComment = ReadVariable(stream, h.FileCommentLength, true);
    // Each value the ZIP64 record must supply is there.
    h.GetUncompressedSize64();
    h.GetCompressedSize64();
    h.GetLocalHeaderOffset64();
    return h;
}

}  // namespace

TZipDirectory::TZipDirectory(TSeekableStream& stream) : stream_(stream), start_(stream.Position()) { Read(); }

std::int64_t TZipDirectory::FindEndOfCentralDirectory(std::uint8_t (&record)[zip::EndOfCentralDirSize]) {
    const std::int64_t size = stream_.Size();
    const std::int64_t maxBack = std::min(zip::MaxEndSearch, size);
    constexpr auto step = static_cast<std::int64_t>(zip::EndSearchWindow - zip::EndOfCentralDirSize);
    std::uint8_t window[zip::EndSearchWindow];
    std::int64_t backRead = zip::EndOfCentralDirSize;
    std::int64_t previous = -1;
    while (backRead <= maxBack) {
        backRead = backRead + step <= maxBack ? backRead + step : maxBack;
        const std::int64_t start = size - backRead;
        if (start == previous) return -1;
        previous = start;
        stream_.Seek(start, SeekOrigin::Begin);
        const auto wanted = static_cast<std::size_t>(std::min<std::int64_t>(zip::EndSearchWindow, size - start));
        const std::size_t n = stream_.ReadFully(window, wanted);
        if (n < zip::EndOfCentralDirSize) continue;
        for (std::size_t i = n - zip::EndOfCentralDirSize + 1; i-- > 0;) {
            if (zip::Get32(window + i) != zip::EndOfCentralDirSignature) continue;
            std::copy_n(window + i, zip::EndOfCentralDirSize, record);
            const std::int64_t at = start + static_cast<std::int64_t>(i);
            if (const std::uint16_t commentLength = zip::Get16(record + 20); commentLength != 0) {
                stream_.Seek(at + static_cast<std::int64_t>(zip::EndOfCentralDirSize), SeekOrigin::Begin);
                comment_ = ReadVariable(stream_, commentLength, false);
            }
            return at;
        }
    }
    return -1;
}

bool TZipDirectory::ReadZip64End(std::int64_t endRecordAt, std::uint64_t& count, std::uint64_t& size,
                                 std::uint64_t& offset) {
    if (endRecordAt < static_cast<std::int64_t>(zip::Zip64EndLocatorSize)) return false;
    stream_.Seek(endRecordAt - static_cast<std::int64_t>(zip::Zip64EndLocatorSize), SeekOrigin::Begin);
    std::uint8_t locator[zip::Zip64EndLocatorSize];
    if (stream_.ReadFully(locator, sizeof locator) != sizeof locator ||
        zip::Get32(locator) != zip::Zip64EndLocatorSignature) {
        return false;
    }
    SeekTo(stream_, zip::Get64(locator + 8));
    std::uint8_t record[zip::Zip64EndOfCentralDirSize];
    if (stream_.ReadFully(record, sizeof record) != sizeof record ||
        zip::Get32(record) != zip::Zip64EndOfCentralDirSignature) {
        FailReading();
    }
    count = zip::Get64(record + 32);
    size = zip::Get64(record + 40);
    offset = zip::Get64(record + 48);
    return true;
}

void TZipDirectory::Read() {
    std::uint8_t end[zip::EndOfCentralDirSize];
    const std::int64_t endRecordAt = FindEndOfCentralDirectory(end);
    if (endRecordAt < 0) FailReading();

    std::uint64_t count = zip::Get16(end + 10);
    std::uint64_t size = zip::Get32(end + 12);
    std::uint64_t offset = zip::Get32(end + 16);
    // Any value at its maximum may stand for a larger one in the ZIP64 record:
    // more than 65,535 entries leave the offset as it is.
    const bool atMaximum = zip::Get16(end + 4) == 0xFFFF || zip::Get16(end + 6) == 0xFFFF ||
                           zip::Get16(end + 8) == 0xFFFF || count == 0xFFFF || size == zip::Zip64Marker ||
                           offset == zip::Zip64Marker;
    if (!(atMaximum && ReadZip64End(endRecordAt, count, size, offset)) && offset == zip::Zip64Marker) FailReading();
    SeekTo(stream_, offset);
    const std::int64_t directoryAt = stream_.Position();

    // Entries are read from the stream, never reserved by the count, so a false
    // count ends at the data's end; the directory must then hold exactly the
    // announced entries in exactly its announced size, or part of it would be lost.
    for (std::uint64_t k = 0; k < count; ++k) entries_.push_back(ReadCentralHeader(stream_));
    if (static_cast<std::uint64_t>(stream_.Position() - directoryAt) != size) FailReading();
}

TZipHeader TZipDirectory::ReadLocalHeader(std::size_t index) const {
    const TZipHeader& central = entries_.at(index);
    const std::uint64_t offset = central.GetLocalHeaderOffset64();
    auto fail = [&] {
        throw EZipException(TZipErrorKind::Format, L"Invalid Zip Local Header signature", CentralName(central));
    };
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max() - start_)) fail();
    stream_.Seek(start_ + static_cast<std::int64_t>(offset), SeekOrigin::Begin);

    std::uint8_t fixed[zip::LocalHeaderSize]{};
    if (stream_.ReadFully(fixed, 4) != 4 || zip::Get32(fixed) != zip::LocalHeaderSignature) fail();
    // A local header cut short is not detected here: it shows as data that end
    // too early or as a CRC mismatch.
    stream_.ReadFully(fixed + 4, zip::LocalHeaderSize - 4);
    TZipHeader local;
    local.RequiredVersion = zip::Get16(fixed + 4);
    local.Flag = zip::Get16(fixed + 6);
    ReadSharedFields(local, fixed + 8);
    local.FileName = ReadVariable(stream_, local.FileNameLength, false);
    local.ExtraField = ReadVariable(stream_, local.ExtraFieldLength, false);
    return local;
}

std::wstring CentralName(const TZipHeader& central) {
    if (central.GetUTF8Support()) {
        return Utf8ToWide({reinterpret_cast<const char*>(central.FileName.data()), central.FileName.size()});
    }
    return DecodeCodePage437(central.FileName);
}
