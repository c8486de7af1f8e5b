// Where each entry of an archive goes below a target folder, judged for the
// whole archive before anything is written.
#pragma once

#include "EntryBuffers.h"
#include "ZipDirectory.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// What the judging keeps of an entry: a few bytes, whatever the archive's
// size; names are made again from the directory when wanted.
struct TZipEntryPlan {
    // Where the entry's data start in the archive stream.
    std::int64_t dataAt = 0;
    bool folder = false;
    bool link = false;
};

class TExtractionPlan {
public:
    TExtractionPlan() = default;
    // Refuses, naming the first such entry in the archive's order, local headers
    // that name another entry than their central one, nameless entries, methods
    // the reader does not decode and encrypted entries, names that would leave the
    // folder, entries whose data overlap, entries below or in place of a link (the
    // archive's own or one already below path), and link targets that resolve
    // outside. Link targets pass through the buffers. The directory must outlive
    // the plan.
    TExtractionPlan(const TZipDirectory& directory, const std::wstring& path, TEntryBuffers& buffers);

    std::size_t size() const { return entries_.size(); }
    const TZipEntryPlan& operator[](std::size_t index) const { return entries_[index]; }
    const TZipDirectory& Directory() const { return *directory_; }

    // The entry's name as the archive gives it, "\\" separators, for messages.
    std::wstring Original(std::size_t index) const;
    // Where it goes below the folder, "\\" separators; empty for the folder itself.
    std::wstring Name(std::size_t index) const;
    // A link entry's target; empty for any other.
    const std::wstring& LinkTarget(std::size_t index) const;

private:
    const TZipDirectory* directory_ = nullptr;
    std::vector<TZipEntryPlan> entries_;
    // The few entries whose local header gives another name than the directory.
    std::map<std::size_t, std::wstring> localNames_;
    std::map<std::size_t, std::wstring> linkTargets_;
};
