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
#include <optional>

namespace {

// The Info-ZIP Unicode Path record wins while it belongs to the stored name.
std::optional<std::wstring> UnicodePathName(const TZipHeader& local) {
    if (const auto unicode = zip::FindExtraRecord(local.ExtraField, zip::UnicodePathExtraId);
        unicode && unicode.size >= 5) {
        if (zip::Get32(unicode.data + 1) == Crc32(0, local.FileName.data(), local.FileName.size())) {
            return Utf8ToWide({reinterpret_cast<const char*>(unicode.data + 5), unicode.size - 5});
        }
    }
    return std::nullopt;
}

std::wstring WithBackslashes(std::wstring name) {
    std::replace(name.begin(), name.end(), L'/', L'\\');
    return name;
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
void CheckNoOverlap(const TExtractionPlan& plan) {
    const TZipDirectory& directory = plan.Directory();
    struct Range {
        std::uint64_t start, end;
        std::size_t entry;
    };
    std::vector<Range> ranges;
    ranges.reserve(plan.size());
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const auto dataAt = static_cast<std::uint64_t>(plan[i].dataAt);
        const std::uint64_t compressed = directory.Entry(i).GetCompressedSize64();
        ranges.push_back({static_cast<std::uint64_t>(directory.LocalHeaderAt(i)),
                          dataAt + std::min(compressed, std::numeric_limits<std::uint64_t>::max() - dataAt), i});
    }
    auto byStart = [](const Range& a, const Range& b) { return a.start < b.start; };
    if (!std::is_sorted(ranges.begin(), ranges.end(), byStart)) std::sort(ranges.begin(), ranges.end(), byStart);
    for (std::size_t k = 1; k < ranges.size(); ++k) {
        if (ranges[k].start >= ranges[k - 1].end) continue;
        const std::wstring first = plan.Original(ranges[k - 1].entry), second = plan.Original(ranges[k].entry);
        FailFormat(L"Entries \"" + first + L"\" and \"" + second + L"\" overlap",
                   ranges[k - 1].entry > ranges[k].entry ? first : second);
    }
}

}  // namespace

std::wstring TExtractionPlan::Original(std::size_t index) const {
    const auto local = localNames_.find(index);
    return WithBackslashes(local != localNames_.end() ? local->second : CentralName(directory_->Entry(index)));
}

std::wstring TExtractionPlan::Name(std::size_t index) const {
    // Judged confinable when the plan was made.
    return zip::ConfineEntryName(Original(index)).value_or(std::wstring());
}

const std::wstring& TExtractionPlan::LinkTarget(std::size_t index) const {
    static const std::wstring none;
    const auto link = linkTargets_.find(index);
    return link != linkTargets_.end() ? link->second : none;
}

TExtractionPlan::TExtractionPlan(const TZipDirectory& directory, const std::wstring& path, TEntryBuffers& buffers)
    : directory_(&directory), entries_(directory.Count()) {
    std::map<std::wstring, std::size_t> links;  // folded name -> entry
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const TZipHeader central = directory.Entry(i);
        TZipEntryPlan& entry = entries_[i];
        const TZipHeader local = directory.ReadLocalHeader(i);
        entry.dataAt = directory.Stream().Position();
        auto unicodeName = UnicodePathName(local);
        const std::wstring name = WithBackslashes(unicodeName ? *unicodeName : CentralName(central));
        if (unicodeName) localNames_.emplace(i, std::move(*unicodeName));
        if (local.FileName != central.FileName) {
            FailFormat(L"The local header of \"" + name + L"\" names another entry", name);
        }
        // Taken for the target folder itself, a nameless file would be lost.
        if (name.empty()) FailFormat(L"Entry " + std::to_wstring(i + 1) + L" has no name", {});
        CheckSupported(central, local, name);
        const auto confined = zip::ConfineEntryName(name);
        if (!confined) throw UnsafeEntryName(name);
        entry.folder = confined->empty() || confined->back() == L'\\';
        if (entry.folder || !IsLinkEntry(central)) continue;
        entry.link = true;
        const auto data = OpenEntryData(directory.Stream(), central, local);
        linkTargets_.emplace(i, ReadLinkTarget(*data, central, name, buffers));
        links.emplace(zip::FoldedPath(*confined), i);
    }
    CheckNoOverlap(*this);

    // Nothing is written or created through a link, the archive's own or one
    // that was there before: not below it, and not in its place. What is on
    // disk is looked up once for each folder; an entry's own place, once.
    std::map<std::wstring, bool> onDisk;  // folded folder -> is a link
    auto isLinkOnDisk = [&](const std::wstring& confinedPath, bool folder) {
        if (!folder) return native::IsSymbolicLink(zip::Combine(path, confinedPath));
        auto [it, added] = onDisk.emplace(zip::FoldedPath(confinedPath), false);
        if (added) it->second = native::IsSymbolicLink(zip::Combine(path, confinedPath));
        return it->second;
    };
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const std::wstring name = Name(i);
        const std::size_t length = entries_[i].folder && !name.empty() ? name.size() - 1 : name.size();
        for (std::size_t end = name.find(L'\\'); length != 0; end = name.find(L'\\', end + 1)) {
            const bool whole = end >= length;
            const std::wstring prefix = name.substr(0, std::min(end, length));
            const auto link = links.find(zip::FoldedPath(prefix));
            if ((link != links.end() && link->second != i) || isLinkOnDisk(prefix, !whole || entries_[i].folder)) {
                throw UnsafeEntryName(Original(i));
            }
            if (whole) break;
        }
    }
    for (const auto& [i, target] : linkTargets_) {
        if (target.empty()) continue;
        const bool inside = zip::ResolvesInside(Name(i), target, [&](const std::wstring& at) {
            if (const auto link = links.find(zip::FoldedPath(at)); link != links.end()) {
                return zip::LinkAtPath{zip::LinkAtPath::Kind::ArchiveLink, LinkTarget(link->second)};
            }
            return zip::LinkAtPath{isLinkOnDisk(at, true) ? zip::LinkAtPath::Kind::OtherLink : zip::LinkAtPath::Kind::None,
                                   {}};
        });
        if (!inside) {
            const std::wstring original = Original(i);
            throw EZipException(TZipErrorKind::UnsafeName,
                                L"Unsafe symbolic link target \"" + target + L"\" in \"" + original + L"\"",
                                original);
        }
    }
}
