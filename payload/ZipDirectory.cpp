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

// A variable part of a header, as far as the stream still holds it.
std::vector<std::uint8_t> ReadVariable(TSeekableStream& stream, std::size_t length) {
    if (length == 0) return {};
    const auto available =
        static_cast<std::size_t>(std::min<std::int64_t>(Remaining(stream), static_cast<std::int64_t>(length)));
    std::vector<std::uint8_t> bytes(available);
    bytes.resize(stream.ReadFully(bytes.data(), available));
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

// A central header from its complete bytes.
TZipHeader ParseCentralHeader(const std::uint8_t* fixed) {
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
    const std::uint8_t* name = fixed + zip::CentralHeaderSize;
    const std::uint8_t* extra = name + h.FileNameLength;
    const std::uint8_t* comment = extra + h.ExtraFieldLength;
    h.FileName.assign(name, extra);
    h.ExtraField.assign(extra, comment);
    h.FileComment.assign(comment, comment + h.FileCommentLength);
    return h;
}

}  // namespace

TZipDirectory::TZipDirectory(TSeekableStream& stream) : stream_(stream) { Read(); }

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
                comment_ = ReadVariable(stream_, commentLength);
            }
            return at;
        }
    }
    return -1;
}

std::int64_t TZipDirectory::ReadZip64End(std::int64_t endRecordAt, std::uint64_t& count, std::uint64_t& size,
                                         std::uint64_t& offset) {
    if (endRecordAt < static_cast<std::int64_t>(zip::Zip64EndLocatorSize)) return -1;
    const std::int64_t locatorAt = endRecordAt - static_cast<std::int64_t>(zip::Zip64EndLocatorSize);
    stream_.Seek(locatorAt, SeekOrigin::Begin);
    std::uint8_t locator[zip::Zip64EndLocatorSize];
    if (stream_.ReadFully(locator, sizeof locator) != sizeof locator ||
        zip::Get32(locator) != zip::Zip64EndLocatorSignature) {
        return -1;
    }
    std::uint8_t record[zip::Zip64EndOfCentralDirSize];
    auto isRecordAt = [&](std::uint64_t position) {
        SeekTo(stream_, position);
        return stream_.ReadFully(record, sizeof record) == sizeof record &&
               zip::Get32(record) == zip::Zip64EndOfCentralDirSignature;
    };
    // Behind bytes in front of the archive the record is not where the locator
    // says but where writers put it: just before the locator.
    const std::uint64_t recorded = zip::Get64(locator + 8);
    const std::int64_t usual = locatorAt - static_cast<std::int64_t>(zip::Zip64EndOfCentralDirSize);
    std::int64_t recordAt = -1;
    if (isRecordAt(recorded)) {
        recordAt = static_cast<std::int64_t>(recorded);
    } else if (usual >= 0 && static_cast<std::uint64_t>(usual) > recorded &&
               isRecordAt(static_cast<std::uint64_t>(usual))) {
        recordAt = usual;
    } else {
        FailReading();
    }
    count = zip::Get64(record + 32);
    size = zip::Get64(record + 40);
    offset = zip::Get64(record + 48);
    return recordAt;
}

void TZipDirectory::ReadCentralHeader() {
    std::uint8_t fixed[zip::CentralHeaderSize];
    if (stream_.ReadFully(fixed, 4) != 4 || zip::Get32(fixed) != zip::CentralHeaderSignature) {
        throw EZipException(TZipErrorKind::Format, L"Invalid Zip Central Header signature");
    }
    if (stream_.ReadFully(fixed + 4, zip::CentralHeaderSize - 4) != zip::CentralHeaderSize - 4) FailReading();
    const std::size_t variable = std::size_t{zip::Get16(fixed + 28)} + zip::Get16(fixed + 30) + zip::Get16(fixed + 32);
    if (Remaining(stream_) < static_cast<std::int64_t>(variable)) FailReading();
    const std::size_t at = central_.size();
    central_.insert(central_.end(), fixed, fixed + zip::CentralHeaderSize);
    central_.resize(at + zip::CentralHeaderSize + variable);
    if (stream_.ReadFully(central_.data() + at + zip::CentralHeaderSize, variable) != variable) FailReading();
    // Each value the ZIP64 record must supply is there.
    const TZipHeader h = ParseCentralHeader(central_.data() + at);
    h.GetUncompressedSize64();
    h.GetCompressedSize64();
    h.GetLocalHeaderOffset64();
    at_.push_back(at);
}

TZipHeader TZipDirectory::Entry(std::size_t index) const { return ParseCentralHeader(central_.data() + at_.at(index)); }

bool TZipDirectory::IsCentralHeaderAt(std::uint64_t position) {
    std::uint8_t signature[4];
    SeekTo(stream_, position);
    return stream_.ReadFully(signature, 4) == 4 && zip::Get32(signature) == zip::CentralHeaderSignature;
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
    const std::int64_t zip64At = atMaximum ? ReadZip64End(endRecordAt, count, size, offset) : -1;
    if (zip64At < 0 && offset == zip::Zip64Marker) FailReading();

    // Bytes in front of the archive shift every offset it records: by as many
    // as lie between where its directory should end and where it does.
    const auto directoryEnd = static_cast<std::uint64_t>(zip64At >= 0 ? zip64At : endRecordAt);
    if (size <= directoryEnd && offset < directoryEnd - size) {
        const std::uint64_t shifted = directoryEnd - size;
        if (size == 0 || IsCentralHeaderAt(shifted)) base_ = static_cast<std::int64_t>(shifted - offset);
    }
    SeekTo(stream_, static_cast<std::uint64_t>(base_) + offset);
    const std::int64_t directoryAt = stream_.Position();
    auto consumed = [&] { return static_cast<std::uint64_t>(stream_.Position() - directoryAt); };

    // Entries are read from the stream, never reserved by the count, so a false
    // count ends at the data's end. Without a ZIP64 record the 16-bit count may
    // have wrapped past 65,535 entries: entries are read while the count or the
    // size says there are more, and then both must agree, or part of the
    // directory would be lost.
    // Room for what the records claim, as far as the stream holds it.
    constexpr std::uint64_t reserveLimit = 64u << 20;
    const auto claimed = std::min({size, static_cast<std::uint64_t>(Remaining(stream_)), reserveLimit});
    central_.reserve(static_cast<std::size_t>(claimed));
    at_.reserve(static_cast<std::size_t>(std::min(count, claimed / zip::CentralHeaderSize)));
    while (at_.size() < count || consumed() < size) ReadCentralHeader();
    const std::uint64_t read = at_.size();
    if (consumed() != size || (zip64At < 0 ? read % 0x10000 : read) != count) FailReading();
}

namespace {

[[noreturn]] void FailLocalHeader(const TZipHeader& central) {
    throw EZipException(TZipErrorKind::Format, L"Invalid Zip Local Header signature", CentralName(central));
}

}  // namespace

std::int64_t TZipDirectory::LocalHeaderAt(std::size_t index) const {
    const TZipHeader central = Entry(index);
    const std::uint64_t offset = central.GetLocalHeaderOffset64();
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max() - base_)) {
        FailLocalHeader(central);
    }
    return base_ + static_cast<std::int64_t>(offset);
}

TZipHeader TZipDirectory::ReadLocalHeader(std::size_t index, TSeekableStream& stream) const {
    stream.Seek(LocalHeaderAt(index), SeekOrigin::Begin);
    // Two reads, the fixed part and the variable ones: an archive of many
    // small entries reads a header for each.
    std::uint8_t fixed[zip::LocalHeaderSize]{};
    // A local header cut short is not detected here: it shows as data that end
    // too early or as a CRC mismatch.
    if (stream.ReadFully(fixed, sizeof fixed) < 4 || zip::Get32(fixed) != zip::LocalHeaderSignature) {
        FailLocalHeader(Entry(index));
    }
    TZipHeader local;
    local.RequiredVersion = zip::Get16(fixed + 4);
    local.Flag = zip::Get16(fixed + 6);
    ReadSharedFields(local, fixed + 8);
    std::vector<std::uint8_t> variable = ReadVariable(stream, std::size_t{local.FileNameLength} + local.ExtraFieldLength);
    const auto nameEnd = variable.begin() + std::min<std::ptrdiff_t>(local.FileNameLength, std::ssize(variable));
    local.ExtraField.assign(nameEnd, variable.end());
    variable.erase(nameEnd, variable.end());
    local.FileName = std::move(variable);
    return local;
}

std::wstring CentralName(const TZipHeader& central) {
    if (central.GetUTF8Support()) {
        return Utf8ToWide({reinterpret_cast<const char*>(central.FileName.data()), central.FileName.size()});
    }
    return DecodeCodePage437(central.FileName);
}
