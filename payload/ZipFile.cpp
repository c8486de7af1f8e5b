#include "ZipFile.h"

#include "CodePage437.h"
#include "Crc32.h"
#include "InflateStream.h"
#include "WindowStream.h"
#include "ZipPaths.h"

#include <Utf8.h>

#include <algorithm>
#include <limits>
#include <map>
#include <optional>

namespace {

std::map<std::uint8_t, TStreamConstructor>& CompressionHandlers() {
    static std::map<std::uint8_t, TStreamConstructor> handlers{
        {static_cast<std::uint8_t>(zip::MethodStored),
         [](TSeekableStream& in, TZipFile&, const TZipHeader& header) -> std::unique_ptr<TStream> {
             return std::make_unique<TWindowStream>(in, header.GetUncompressedSize64());
         }},
        {static_cast<std::uint8_t>(zip::MethodDeflate),
         [](TSeekableStream& in, TZipFile&, const TZipHeader&) -> std::unique_ptr<TStream> {
             return std::make_unique<TInflateStream>(in);
         }},
    };
    return handlers;
}

// Deflated entries may be decoded whole only while nobody replaced zlib's handler.
bool deflateIsBuiltIn = true;

[[noreturn]] void FailReading() { throw EZipException(L"Error reading zip file"); }

// Reads until count bytes or the end of the data.
std::size_t ReadFully(TStream& stream, void* buffer, std::size_t count) {
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const std::size_t n = stream.Read(out + done, count - done);
        if (n == 0) break;
        done += n;
    }
    return done;
}

std::int64_t Remaining(TSeekableStream& stream) {
    return std::max<std::int64_t>(0, stream.Size() - stream.Position());
}

// A variable part of a header: never more than the stream still holds.
std::vector<std::uint8_t> ReadVariable(TSeekableStream& stream, std::size_t length, bool mustBeComplete) {
    if (length == 0) return {};
    const auto available = static_cast<std::size_t>(std::min<std::int64_t>(Remaining(stream), static_cast<std::int64_t>(length)));
    if (available < length && mustBeComplete) FailReading();
    std::vector<std::uint8_t> bytes(available);
    bytes.resize(ReadFully(stream, bytes.data(), available));
    if (bytes.size() < length && mustBeComplete) FailReading();
    return bytes;
}

void SeekTo(TSeekableStream& stream, std::uint64_t offset) {
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) FailReading();
    stream.Seek(static_cast<std::int64_t>(offset), SeekOrigin::Begin);
}

std::optional<native::LocalDateTime> DecodeDosDateTime(std::uint32_t value) {
    const int date = static_cast<int>(value >> 16);
    const int time = static_cast<int>(value & 0xFFFF);
    const native::LocalDateTime t{1980 + (date >> 9), (date >> 5) & 0x0F, date & 0x1F,
                                  time >> 11,         (time >> 5) & 0x3F, (time & 0x1F) * 2};
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (t.month < 1 || t.month > 12 || t.day < 1) return std::nullopt;
    const bool leap = t.year % 4 == 0 && (t.year % 100 != 0 || t.year % 400 == 0);
    if (t.day > days[t.month - 1] + (t.month == 2 && leap ? 1 : 0)) return std::nullopt;
    if (t.hour > 23 || t.minute > 59 || t.second > 59) return std::nullopt;
    return t;
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

std::wstring FileNamePart(const std::wstring& name) {
    const auto slash = name.find_last_of(L'\\');
    return slash == std::wstring::npos ? name : name.substr(slash + 1);
}

}  // namespace

void TZipFile::RegisterCompressionHandler(std::uint8_t method, TStreamConstructor decompressor) {
    if (method == zip::MethodDeflate) deflateIsBuiltIn = false;
    CompressionHandlers()[method] = std::move(decompressor);
}

void TZipFile::Open(const std::wstring& fileName, TZipMode mode) {
    Close();
    if (mode != TZipMode::zmRead && mode != TZipMode::zmReadWrite) throw EZipException(L"Invalid argument");
    auto file = std::make_unique<TFileStream>(
        fileName, mode == TZipMode::zmRead ? native::FileAccess::Read : native::FileAccess::ReadWrite);
    Open(*file, mode);
    FFileStream = std::move(file);
}

void TZipFile::Open(TSeekableStream& stream, TZipMode mode) {
    Close();
    if (mode != TZipMode::zmRead && mode != TZipMode::zmReadWrite) throw EZipException(L"Invalid argument");
    if (mode == TZipMode::zmRead && stream.Size() == 0) throw EZipException(L"Stream read error");
    FStream = &stream;
    FStartFileData = stream.Position();
    try {
        ReadCentralDirectory();
    } catch (...) {
        FStream = nullptr;
        FFiles.clear();
        throw;
    }
    FMode = mode;
}

void TZipFile::Close() {
    FMode = TZipMode::zmClosed;
    FFiles.clear();
    FPlan.clear();
    FPlanned = false;
    FComment.clear();
    FStream = nullptr;
    FEndFileData = 0;
    FFileStream.reset();
}

std::optional<std::int64_t> TZipFile::FindEndOfCentralDirectory(std::uint8_t (&record)[zip::EndOfCentralDirSize]) {
    const std::int64_t size = FStream->Size();
    const std::int64_t maxBack = std::min(zip::MaxEndSearch, size);
    constexpr auto step = static_cast<std::int64_t>(zip::EndSearchWindow - zip::EndOfCentralDirSize);
    std::uint8_t window[zip::EndSearchWindow];
    std::int64_t backRead = zip::EndOfCentralDirSize;
    std::int64_t previous = -1;
    while (backRead <= maxBack) {
        backRead = backRead + step <= maxBack ? backRead + step : maxBack;
        const std::int64_t start = size - backRead;
        if (start == previous) return std::nullopt;
        previous = start;
        FStream->Seek(start, SeekOrigin::Begin);
        const auto wanted = static_cast<std::size_t>(std::min<std::int64_t>(zip::EndSearchWindow, size - start));
        const std::size_t n = ReadFully(*FStream, window, wanted);
        if (n < zip::EndOfCentralDirSize) continue;
        for (std::size_t i = n - zip::EndOfCentralDirSize + 1; i-- > 0;) {
            if (zip::Get32(window + i) != zip::EndOfCentralDirSignature) continue;
            std::copy_n(window + i, zip::EndOfCentralDirSize, record);
            const std::int64_t at = start + static_cast<std::int64_t>(i);
            if (const std::uint16_t commentLength = zip::Get16(record + 20); commentLength != 0) {
                FStream->Seek(at + static_cast<std::int64_t>(zip::EndOfCentralDirSize), SeekOrigin::Begin);
                FComment = ReadVariable(*FStream, commentLength, false);
            }
            return at;
        }
    }
    return std::nullopt;
}

bool TZipFile::ReadZip64End(std::int64_t endRecordAt, std::uint64_t& count, std::uint64_t& size, std::uint64_t& offset) {
    if (endRecordAt < static_cast<std::int64_t>(zip::Zip64EndLocatorSize)) return false;
    FStream->Seek(endRecordAt - static_cast<std::int64_t>(zip::Zip64EndLocatorSize), SeekOrigin::Begin);
    std::uint8_t locator[zip::Zip64EndLocatorSize];
    if (ReadFully(*FStream, locator, sizeof locator) != sizeof locator ||
        zip::Get32(locator) != zip::Zip64EndLocatorSignature) {
        return false;
    }
    SeekTo(*FStream, zip::Get64(locator + 8));
    std::uint8_t record[zip::Zip64EndOfCentralDirSize];
    if (ReadFully(*FStream, record, sizeof record) != sizeof record ||
        zip::Get32(record) != zip::Zip64EndOfCentralDirSignature) {
        FailReading();
    }
    count = zip::Get64(record + 32);
    size = zip::Get64(record + 40);
    offset = zip::Get64(record + 48);
    return true;
}

void TZipFile::ReadCentralDirectory() {
    FFiles.clear();
    FPlan.clear();
    FPlanned = false;
    FComment.clear();
    if (FStream->Size() == 0) return;
    std::uint8_t end[zip::EndOfCentralDirSize];
    const auto endRecordAt = FindEndOfCentralDirectory(end);
    if (!endRecordAt) FailReading();

    std::uint64_t count = zip::Get16(end + 10);
    std::uint64_t size = zip::Get32(end + 12);
    std::uint64_t offset = zip::Get32(end + 16);
    // Any value at its maximum may stand for a larger one in the ZIP64 record:
    // more than 65,535 entries leave the offset as it is.
    const bool atMaximum = zip::Get16(end + 4) == 0xFFFF || zip::Get16(end + 6) == 0xFFFF ||
                           zip::Get16(end + 8) == 0xFFFF || count == 0xFFFF || size == zip::Zip64Marker ||
                           offset == zip::Zip64Marker;
    if (!(atMaximum && ReadZip64End(*endRecordAt, count, size, offset)) && offset == zip::Zip64Marker) FailReading();
    SeekTo(*FStream, offset);
    FEndFileData = FStream->Position();

    // Entries are read from the stream, never reserved by the count, so a false
    // count ends at the data's end; the directory must then hold exactly the
    // announced entries in exactly its announced size, or part of it would be lost.
    for (std::uint64_t k = 0; k < count; ++k) {
        std::uint8_t fixed[zip::CentralHeaderSize];
        if (ReadFully(*FStream, fixed, 4) != 4 || zip::Get32(fixed) != zip::CentralHeaderSignature) {
            throw EZipException(L"Invalid Zip Central Header signature");
        }
        if (ReadFully(*FStream, fixed + 4, zip::CentralHeaderSize - 4) != zip::CentralHeaderSize - 4) FailReading();
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
        h.FileName = ReadVariable(*FStream, h.FileNameLength, true);
        h.ExtraField = ReadVariable(*FStream, h.ExtraFieldLength, true);
        h.FileComment = ReadVariable(*FStream, h.FileCommentLength, true);
        // Each value the ZIP64 record must supply is there.
        h.GetUncompressedSize64();
        h.GetCompressedSize64();
        h.GetLocalHeaderOffset64();
        FFiles.push_back(std::move(h));
    }
    if (static_cast<std::uint64_t>(FStream->Position() - FEndFileData) != size) FailReading();
}

void TZipFile::CheckReadable() const {
    if (FMode != TZipMode::zmRead && FMode != TZipMode::zmReadWrite) {
        throw EZipException(L"File must be open for reading");
    }
}

TZipHeader TZipFile::ReadLocalHeader(TSeekableStream& stream, int index) {
    CheckReadable();
    if (index < 0 || index >= FileCount()) {
        throw EZipException(L"Index out of range (" + std::to_wstring(index) + L").  Must be >= 0 and < " +
                            std::to_wstring(FileCount()));
    }
    const TZipHeader& central = FFiles[static_cast<std::size_t>(index)];
    const std::uint64_t offset = central.GetLocalHeaderOffset64();
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max() - FStartFileData)) {
        throw EZipException(L"Invalid Zip Local Header signature");
    }
    stream.Seek(FStartFileData + static_cast<std::int64_t>(offset), SeekOrigin::Begin);

    std::uint8_t fixed[zip::LocalHeaderSize]{};
    if (ReadFully(stream, fixed, 4) != 4 || zip::Get32(fixed) != zip::LocalHeaderSignature) {
        throw EZipException(L"Invalid Zip Local Header signature");
    }
    // A local header cut short is not detected here: it shows as data that end
    // too early or as a CRC mismatch.
    ReadFully(stream, fixed + 4, zip::LocalHeaderSize - 4);
    TZipHeader local;
    local.RequiredVersion = zip::Get16(fixed + 4);
    local.Flag = zip::Get16(fixed + 6);
    ReadSharedFields(local, fixed + 8);
    local.FileName = ReadVariable(stream, local.FileNameLength, false);
    local.ExtraField = ReadVariable(stream, local.ExtraFieldLength, false);
    return local;
}

std::pair<std::unique_ptr<TStream>, TZipHeader> TZipFile::Read(int index) {
    CheckReadable();
    TZipHeader local = ReadLocalHeader(*FStream, index);
    const TZipHeader& central = FFiles[static_cast<std::size_t>(index)];
    const TZipHeader& sizes = (local.Flag & zip::FlagDataDescriptor) != 0 ? central : local;
    auto data = Handler(central)(*FStream, *this, sizes);
    return {std::move(data), std::move(local)};
}

const TStreamConstructor& TZipFile::Handler(const TZipHeader& central) {
    const auto& handlers = CompressionHandlers();
    const auto handler = handlers.find(static_cast<std::uint8_t>(central.CompressionMethod & 0xFF));
    if (handler == handlers.end()) throw Exception(L"Item not found");
    return handler->second;
}

std::wstring TZipFile::EntryName(const TZipHeader& local, const TZipHeader& central) const {
    if (const auto unicode = zip::FindExtraRecord(local.ExtraField, zip::UnicodePathExtraId);
        unicode && unicode.size >= 5) {
        if (zip::Get32(unicode.data + 1) == Crc32(0, local.FileName.data(), local.FileName.size())) {
            return Utf8ToWide({reinterpret_cast<const char*>(unicode.data + 5), unicode.size - 5});
        }
    }
    if (central.GetUTF8Support()) {
        return Utf8ToWide({reinterpret_cast<const char*>(central.FileName.data()), central.FileName.size()});
    }
    return DecodeCodePage437(central.FileName);
}

std::wstring TZipFile::FileName(int index) const {
    const TZipHeader& header = FileInfo(index);
    if (header.GetUTF8Support()) {
        return Utf8ToWide({reinterpret_cast<const char*>(header.FileName.data()), header.FileName.size()});
    }
    return DecodeCodePage437(header.FileName);
}

int TZipFile::IndexOf(const std::wstring& fileName) const {
    for (int i = 0; i < FileCount(); ++i) {
        if (FileName(i) == fileName) return i;
    }
    return -1;
}

TEntryBuffers& TZipFile::Buffers() {
    if (!FBuffers) FBuffers = std::make_unique<TEntryBuffers>();
    return *FBuffers;
}

void TZipFile::Extract(const std::wstring& fileName, const std::wstring& path, bool createSubdirs) {
    const int index = IndexOf(fileName);
    if (index < 0) throw EZipFileNotFoundException(fileName);
    Extract(index, path, createSubdirs);
}

bool TZipFile::IsLinkEntry(const TZipHeader& central) {
    return central.HostSystem() == zip::HostMsDos && (central.ExternalAttributes & zip::AttributeSymbolicLink) != 0;
}

const std::vector<TZipEntryPlan>& TZipFile::Judge(const std::wstring& path) {
    CheckReadable();
    if (FPlanned && FPlanPath == path) return FPlan;
    std::vector<TZipEntryPlan> plan(FFiles.size());
    std::map<std::wstring, std::size_t> links;  // folded name -> entry
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const TZipHeader& central = FFiles[i];
        const TZipHeader local = ReadLocalHeader(*FStream, static_cast<int>(i));
        Handler(central);
        std::wstring name = EntryName(local, central);
        std::replace(name.begin(), name.end(), L'/', L'\\');
        auto confined = zip::ConfineEntryName(name);
        if (!confined) throw EZipException(L"Unsafe entry name \"" + name + L"\"");
        plan[i].original = std::move(name);
        plan[i].name = std::move(*confined);
        plan[i].folder = plan[i].name.empty() || plan[i].name.back() == L'\\';
        if (plan[i].folder || !IsLinkEntry(central)) continue;
        plan[i].link = true;
        auto [data, header] = Read(static_cast<int>(i));
        plan[i].linkTarget = ReadLinkTarget(*data, central, plan[i].original);
        links.emplace(zip::FoldedPath(plan[i].name), i);
    }

    // Nothing is written or created through a link, the archive's own or one
    // that was there before: not below it, and not in its place.
    std::map<std::wstring, bool> onDisk;  // folded path -> is a link
    auto isLinkOnDisk = [&](const std::wstring& confinedPath) {
        auto [it, added] = onDisk.emplace(zip::FoldedPath(confinedPath), false);
        if (added) it->second = native::IsSymbolicLink(zip::Combine(path, confinedPath));
        return it->second;
    };
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const std::wstring& name = plan[i].name;
        const std::size_t length = plan[i].folder && !name.empty() ? name.size() - 1 : name.size();
        for (std::size_t end = name.find(L'\\'); length != 0; end = name.find(L'\\', end + 1)) {
            const std::wstring prefix = name.substr(0, std::min(end, length));
            const auto link = links.find(zip::FoldedPath(prefix));
            if ((link != links.end() && link->second != i) || isLinkOnDisk(prefix)) {
                throw EZipException(L"Unsafe entry name \"" + plan[i].original + L"\"");
            }
            if (end >= length) break;
        }
    }
    for (const TZipEntryPlan& entry : plan) {
        if (!entry.link || entry.linkTarget.empty()) continue;
        const bool inside = zip::ResolvesInside(entry.name, entry.linkTarget, [&](const std::wstring& at) {
            if (const auto link = links.find(zip::FoldedPath(at)); link != links.end()) {
                return zip::LinkAtPath{zip::LinkAtPath::Kind::ArchiveLink, plan[link->second].linkTarget};
            }
            return zip::LinkAtPath{isLinkOnDisk(at) ? zip::LinkAtPath::Kind::OtherLink : zip::LinkAtPath::Kind::None, {}};
        });
        if (!inside) {
            throw EZipException(L"Unsafe symbolic link target \"" + entry.linkTarget + L"\" in \"" + entry.original +
                                L"\"");
        }
    }
    FPlan = std::move(plan);
    FPlanPath = path;
    FPlanned = true;
    return FPlan;
}

std::wstring TZipFile::ReadLinkTarget(TStream& data, const TZipHeader& central, const std::wstring& name) {
    const std::uint64_t size = central.GetUncompressedSize64();
    // No path is anywhere near a chunk long; a longer target is not read at all.
    if (size > ChunkSize) throw EZipException(L"Unsafe symbolic link target in \"" + name + L"\"");
    std::uint8_t* buffer = Buffers().Chunk();
    const auto length = static_cast<std::size_t>(size);
    if (ReadFully(data, buffer, length) != length) FailReading();
    if (Crc32(0, buffer, length) != central.CRC32) throw EZipCRCException(L"Error reading zip file");
    return Utf8ToWide({reinterpret_cast<const char*>(buffer), length});
}

void TZipFile::Extract(int index, const std::wstring& path, bool createSubdirs) {
    CheckReadable();
    if (const auto out = Prepare(index, path, createSubdirs)) WriteFile(index, *out);
}

std::optional<std::wstring> TZipFile::Prepare(int index, const std::wstring& path, bool createSubdirs,
                                              std::set<std::wstring>* made) {
    const auto& plan = Judge(path);
    const TZipEntryPlan& entry = plan[static_cast<std::size_t>(index)];
    if (entry.name.empty()) {
        // The entry names the target folder itself.
        native::CreateDirectories(path);
        return std::nullopt;
    }
    std::wstring out = zip::Combine(path, createSubdirs ? entry.name : FileNamePart(entry.name));
    if (createSubdirs) {
        if (const auto slash = out.find_last_of(L'\\'); slash != std::wstring::npos && slash > 0) {
            const std::wstring parent = out.substr(0, slash);
            if (!made || made->insert(zip::FoldedPath(parent)).second) native::CreateDirectories(parent);
        }
    }
    if (entry.folder) return std::nullopt;
    // Flattened names may meet a link that an earlier entry made; the judged
    // names cannot.
    if (!createSubdirs && native::IsSymbolicLink(out)) throw EZipException(L"Unsafe entry name \"" + entry.original + L"\"");
    if (!entry.link) return out;
    // An empty target makes no link.
    if (!entry.linkTarget.empty()) native::MakeSymbolicLink(out, entry.linkTarget);
    return std::nullopt;
}

void TZipFile::WriteFile(int index, const std::wstring& out) {
    TSeekableStream& stream = *FStream;
    TEntryBuffers& buffers = Buffers();
    const TZipHeader local = ReadLocalHeader(stream, index);
    const TZipHeader& central = FFiles[static_cast<std::size_t>(index)];
    const std::uint64_t size = central.GetUncompressedSize64();
    std::uint8_t* buffer = buffers.Chunk();
    {
        TFileStream file(out, native::FileAccess::Create);
        const std::int64_t dataAt = stream.Position();
        std::uint32_t crc = 0;
        if ((central.CompressionMethod & 0xFF) == zip::MethodDeflate && deflateIsBuiltIn &&
            buffers.InflateWhole(stream, central.GetCompressedSize64(), size)) {
            const auto length = static_cast<std::size_t>(size);
            file.WriteBuffer(buffer, length);
            crc = Crc32(0, buffer, length);
            if (OnProgress) OnProgress(*this, out, local, size);
        } else {
            stream.Seek(dataAt, SeekOrigin::Begin);
            const TZipHeader& sizes = (local.Flag & zip::FlagDataDescriptor) != 0 ? central : local;
            const auto data = Handler(central)(stream, *this, sizes);
            std::uint64_t remaining = size;
            std::uint64_t written = 0;
            for (auto chunk = static_cast<std::size_t>(std::min<std::uint64_t>(remaining, ChunkSize)); chunk > 0;
                 chunk = static_cast<std::size_t>(std::min<std::uint64_t>(chunk, remaining))) {
                if (ReadFully(*data, buffer, chunk) != chunk) FailReading();
                file.WriteBuffer(buffer, chunk);
                crc = Crc32(crc, buffer, chunk);
                remaining -= chunk;
                written += chunk;
                if (OnProgress) OnProgress(*this, out, local, written);
            }
        }
        if (crc != central.CRC32) throw EZipCRCException(L"Error reading zip file");
        const auto time = DecodeDosDateTime(local.ModifiedDateTime);
        // The volume-label bit means nothing for a file.
        file.SetTimesAndAttributes(time ? &*time : nullptr,
                                   central.HostSystem() == zip::HostMsDos
                                       ? std::optional(central.ExternalAttributes & 0xFF & ~0x08u)
                                       : std::nullopt);
    }
}

void TZipFile::ExtractAll(const std::wstring& path) {
    CheckReadable();
    // Every name and link is judged before the first byte is written.
    Judge(path);
    std::set<std::wstring> made;
    for (int i = 0; i < FileCount(); ++i) {
        if (const auto out = Prepare(i, path, true, &made)) WriteFile(i, *out);
    }
}
