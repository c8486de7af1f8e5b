// Writes the payload archive from a checked, ordered list of files, one file
// at a time through a fixed buffer, so that no file is ever held whole.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "SourceTree.h"
#include "ZipRecords.h"

namespace builder {

struct ArchiveSummary {
    std::size_t entries = 0;
    std::uint64_t uncompressedBytes = 0;
    std::uint64_t compressedBytes = 0;
    std::uint64_t archiveBytes = 0;
};

// The largest archive wanted, and what the build says when it would be larger.
struct ArchiveLimit {
    std::uint64_t bytes = UINT64_MAX;
    std::string refusal;
};

// Throws BuildError when the archive would exceed the limit or a file changes
// while it is read. The output is left incomplete then; the caller removes it.
ArchiveSummary writeArchive(const std::vector<SourceFile>& files, const std::filesystem::path& out,
                            const ArchiveLimit& limit = {});

}  // namespace builder
