#include "ExtractionPlan.h"

#include "Crc32.h"
#include "EntryStream.h"
#include "FileSystem.h"
#include "ZipExceptions.h"
#include "ZipPaths.h"

#include <Utf8.h>

#include <algorithm>
#include <limits>
#include <map>

namespace {

// The Info-ZIP Unicode Path record wins while it belongs to the stored name.
std::wstring EntryName(const TZipHeader& local, const TZipHeader& central) {
    if (const auto unicode = zip::FindExtraRecord(local.ExtraField, zip::UnicodePathExtraId);
        unicode && unicode.size >= 5) {
        if (zip::Get32(unicode.data + 1) == Crc32(0, local.FileName.data(), local.FileName.size())) {
            return Utf8ToWide({reinterpret_cast<const char*>(unicode.data + 5), unicode.size - 5});
        }
    }
    return CentralName(central);
}

bool IsLinkEntry(const TZipHeader& central) {
    return central.HostSystem() == zip::HostMsDos && (central.ExternalAttributes & zip::AttributeSymbolicLink) != 0;
}

std::wstring ReadLinkTarget(TStream& data, const TZipHeader& central, const std::wstring& entry,
                            TEntryBuffers& buffers) {
    const std::uint64_t size = central.GetUncompressedSize64();
    // No path is anywhere near a chunk long; a longer target is not read at all.
    if (size > TEntryBuffers::ChunkSize) {
        throw EZipException(TZipErrorKind::UnsafeName, L"Unsafe symbolic link target in \"" + entry + L"\"", entry);
    }
    std::uint8_t* buffer = buffers.Chunk();
    const auto length = static_cast<std::size_t>(size);
    if (data.ReadFully(buffer, length) != length) {
        throw EZipException(TZipErrorKind::Format, L"Error reading zip file", entry);
    }
    if (Crc32(0, buffer, length) != central.CRC32) throw EZipCRCException(entry);
    return Utf8ToWide({reinterpret_cast<const char*>(buffer), length});
}

[[noreturn]] void FailFormat(const std::wstring& text, const std::wstring& entry) {
    throw EZipException(TZipErrorKind::Format, text, entry);
}

// No two entries may share bytes, from the local header to the end of the
// compressed data, as the entries of overlap-based zip bombs do. Writers put
// entries in the order of their data, so there is seldom anything to sort.
void CheckNoOverlap(const TZipDirectory& directory, const std::vector<TZipEntryPlan>& plan) {
    struct Range {
        std::uint64_t start, end;
        std::size_t entry;
    };
    std::vector<Range> ranges;
    ranges.reserve(plan.size());
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const auto dataAt = static_cast<std::uint64_t>(plan[i].dataAt);
        const std::uint64_t compressed = directory.Entries()[i].GetCompressedSize64();
        ranges.push_back({static_cast<std::uint64_t>(directory.LocalHeaderAt(i)),
                          dataAt + std::min(compressed, std::numeric_limits<std::uint64_t>::max() - dataAt), i});
    }
    auto byStart = [](const Range& a, const Range& b) { return a.start < b.start; };
    if (!std::is_sorted(ranges.begin(), ranges.end(), byStart)) std::sort(ranges.begin(), ranges.end(), byStart);
    for (std::size_t k = 1; k < ranges.size(); ++k) {
        if (ranges[k].start >= ranges[k - 1].end) continue;
        const TZipEntryPlan& first = plan[ranges[k - 1].entry];
        const TZipEntryPlan& second = plan[ranges[k].entry];
        FailFormat(L"Entries \"" + first.original + L"\" and \"" + second.original + L"\" overlap",
                   ranges[k - 1].entry > ranges[k].entry ? first.original : second.original);
    }
}

}  // namespace

std::vector<TZipEntryPlan> JudgeExtraction(const TZipDirectory& directory, const std::wstring& path,
                                           TEntryBuffers& buffers) {
    const std::vector<TZipHeader>& entries = directory.Entries();
    std::vector<TZipEntryPlan> plan(entries.size());
    std::map<std::wstring, std::size_t> links;  // folded name -> entry
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const TZipHeader& central = entries[i];
        TZipEntryPlan& entry = plan[i];
        entry.local = directory.ReadLocalHeader(i);
        entry.dataAt = directory.Stream().Position();
        std::wstring name = EntryName(entry.local, central);
        std::replace(name.begin(), name.end(), L'/', L'\\');
        if (entry.local.FileName != central.FileName) {
            FailFormat(L"The local header of \"" + name + L"\" names another entry", name);
        }
        // Taken for the target folder itself, a nameless file would be lost.
        if (name.empty()) FailFormat(L"Entry " + std::to_wstring(i + 1) + L" has no name", {});
        CheckSupported(central, entry.local, name);
        auto confined = zip::ConfineEntryName(name);
        if (!confined) throw UnsafeEntryName(name);
        entry.original = std::move(name);
        entry.name = std::move(*confined);
        entry.folder = entry.name.empty() || entry.name.back() == L'\\';
        if (entry.folder || !IsLinkEntry(central)) continue;
        entry.link = true;
        const auto data = OpenEntryData(directory.Stream(), central, entry.local);
        entry.linkTarget = ReadLinkTarget(*data, central, entry.original, buffers);
        links.emplace(zip::FoldedPath(entry.name), i);
    }
    CheckNoOverlap(directory, plan);

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
                throw UnsafeEntryName(plan[i].original);
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
            throw EZipException(TZipErrorKind::UnsafeName,
                                L"Unsafe symbolic link target \"" + entry.linkTarget + L"\" in \"" + entry.original +
                                    L"\"",
                                entry.original);
        }
    }
    return plan;
}
