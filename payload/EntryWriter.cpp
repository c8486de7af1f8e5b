#include "EntryWriter.h"

#include "Crc32.h"
#include "EntryStream.h"
#include "EntryTime.h"
#include "FileStream.h"
#include "ZipExceptions.h"
#include "ZipPaths.h"

#include <algorithm>

namespace {

std::wstring FileNamePart(const std::wstring& name) {
    const auto slash = name.find_last_of(L'\\');
    return slash == std::wstring::npos ? name : name.substr(slash + 1);
}

// The entry's data into the file; their CRC-32.
std::uint32_t CopyData(TSeekableStream& stream, TEntryBuffers& buffers, const TZipHeader& central,
                       const TZipHeader& local, const TZipEntryPlan& entry, TFileStream& file,
                       const std::function<void(std::uint64_t)>& wrote) {
    const std::uint64_t size = central.GetUncompressedSize64();
    std::uint8_t* buffer = buffers.Chunk();
    stream.Seek(entry.dataAt, SeekOrigin::Begin);
    if ((central.CompressionMethod & 0xFF) == zip::MethodDeflate &&
        buffers.InflateWhole(stream, central.GetCompressedSize64(), size)) {
        const auto length = static_cast<std::size_t>(size);
        file.WriteBuffer(buffer, length);
        wrote(size);
        return Crc32(0, buffer, length);
    }
    stream.Seek(entry.dataAt, SeekOrigin::Begin);
    const auto data = OpenEntryData(stream, central, local);
    std::uint32_t crc = 0;
    std::uint64_t remaining = size;
    for (auto chunk = static_cast<std::size_t>(std::min<std::uint64_t>(remaining, TEntryBuffers::ChunkSize));
         chunk > 0; chunk = static_cast<std::size_t>(std::min<std::uint64_t>(chunk, remaining))) {
        if (data->ReadFully(buffer, chunk) != chunk) {
            throw EZipException(TZipErrorKind::Format, L"Error reading zip file");
        }
        file.WriteBuffer(buffer, chunk);
        crc = Crc32(crc, buffer, chunk);
        remaining -= chunk;
        wrote(size - remaining);
    }
    return crc;
}

}  // namespace

std::optional<std::wstring> PrepareEntry(const TExtractionPlan& plan, std::size_t index, const std::wstring& path,
                                         bool createSubdirs, std::set<std::wstring>* made) {
    const TZipEntryPlan& entry = plan[index];
    const std::wstring name = plan.Name(index);
    if (name.empty()) {
        // The entry names the target folder itself.
        native::CreateDirectories(path);
        return std::nullopt;
    }
    std::wstring out = zip::Combine(path, createSubdirs ? name : FileNamePart(name));
    if (createSubdirs) {
        // The target folder itself may be given with "/" on the host.
        if (const auto slash = out.find_last_of(L"\\/"); slash != std::wstring::npos && slash > 0) {
            const std::wstring parent = out.substr(0, slash);
            if (!made || made->insert(zip::FoldedPath(parent)).second) native::CreateDirectories(parent);
        }
    }
    if (entry.folder) return std::nullopt;
    // Flattened names may meet a link that an earlier entry made; the judged
    // names cannot.
    if (!createSubdirs && native::IsSymbolicLink(out)) throw UnsafeEntryName(plan.Original(index));
    if (!entry.link) return out;
    // An empty target makes no link.
    if (const std::wstring& target = plan.LinkTarget(index); !target.empty()) native::MakeSymbolicLink(out, target);
    return std::nullopt;
}

void WriteEntryFile(TSeekableStream& stream, TEntryBuffers& buffers, const TExtractionPlan& plan, std::size_t index,
                    const std::wstring& out, const TEntryProgress& progress) {
    try {
        const TZipHeader central = plan.Directory().Entry(index);
        const TZipHeader local = plan.Directory().ReadLocalHeader(index, stream);
        TFileStream file(out, native::FileAccess::Create);
        const std::uint32_t crc = CopyData(stream, buffers, central, local, plan[index], file, [&](std::uint64_t position) {
            if (progress) progress(out, local, position);
        });
        if (crc != central.CRC32) throw EZipCRCException(plan.Original(index));
        const auto time = EntryTime(central, local);
        const std::uint8_t host = central.HostSystem();
        // The volume-label bit means nothing for a file.
        file.SetTimesAndAttributes(time ? &*time : nullptr,
                                   host == zip::HostMsDos || host == zip::HostNtfs
                                       ? std::optional(central.ExternalAttributes & 0xFF & ~0x08u)
                                       : std::nullopt);
    } catch (EZipException& e) {
        e.SetEntryIfUnnamed(plan.Original(index));
        throw;
    }
}
