#include "ParallelExtraction.h"

#include "ZipExceptions.h"
#include "ZipPaths.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <limits>
#include <mutex>
#include <set>
#include <thread>

namespace {

// A file entry and the hash of the path it writes.
struct TFileEntry {
    std::uint64_t pathHash;
    std::uint32_t entry;
};

// The entries that write one path, a run of the entries sorted by path, in
// the archive's order, so that the last one wins as it would one after the
// other. Paths whose hashes collide share a job, which only costs parallelism.
struct TFileJob {
    std::uint32_t first = 0, count = 0;
    std::uint64_t bytes = 0;
};

std::uint64_t PathHash(const std::wstring& path) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const wchar_t c : zip::FoldedPath(path)) {
        hash = (hash ^ static_cast<std::uint64_t>(c)) * 1099511628211ull;
    }
    return hash;
}

// The error of the failed entry first in the archive; once one is noted, no
// thread starts another entry.
class TFirstFailure {
public:
    void Note(std::size_t entry, std::exception_ptr error) noexcept {
        const std::lock_guard lock(mutex_);
        if (entry < entry_) {
            entry_ = entry;
            error_ = std::move(error);
        }
        failed_ = true;
    }
    bool Failed() const noexcept { return failed_; }
    void Rethrow() const {
        if (error_) std::rethrow_exception(error_);
    }

private:
    std::mutex mutex_;
    std::size_t entry_ = std::numeric_limits<std::size_t>::max();
    std::exception_ptr error_;
    std::atomic<bool> failed_{false};
};

unsigned Workers(std::size_t jobs, const TStreamOpener& openStream) {
    if (!openStream) return 1;
    const unsigned processors = std::max(1u, std::thread::hardware_concurrency());
    return static_cast<unsigned>(std::min<std::size_t>({processors, MaxWorkers, std::max<std::size_t>(jobs, 1)}));
}

}  // namespace

void ExtractEntries(const TExtractionPlan& plan, const std::wstring& path, TEntryBuffers& buffers,
                    const TStreamOpener& openStream, const TEntryProgress& progress) {
    const TZipDirectory& directory = plan.Directory();
    if (plan.size() > std::numeric_limits<std::uint32_t>::max()) {
        throw EZipException(TZipErrorKind::Format, L"Error reading zip file");
    }
    std::vector<TFileEntry> files;
    std::set<std::wstring> made;
    for (std::size_t i = 0; i < plan.size(); ++i) {
        if (const auto out = PrepareEntry(plan, i, path, true, &made)) {
            files.push_back({PathHash(*out), static_cast<std::uint32_t>(i)});
        }
    }
    std::stable_sort(files.begin(), files.end(),
                     [](const TFileEntry& a, const TFileEntry& b) { return a.pathHash < b.pathHash; });
    std::vector<TFileJob> jobs;
    for (std::uint32_t k = 0; k < files.size(); ++k) {
        if (k == 0 || files[k].pathHash != files[k - 1].pathHash) jobs.push_back({k, 0, 0});
        ++jobs.back().count;
        jobs.back().bytes += directory.Entry(files[k].entry).GetUncompressedSize64();
    }
    // One after the other in the archive's order; in parallel the largest first.
    std::sort(jobs.begin(), jobs.end(),
              [&](const TFileJob& a, const TFileJob& b) { return files[a.first].entry < files[b.first].entry; });
    auto write = [&](TSeekableStream& stream, TEntryBuffers& own, std::uint32_t entry) {
        WriteEntryFile(stream, own, plan, entry, zip::Combine(path, plan.Name(entry)), progress);
    };

    const unsigned workers = Workers(jobs.size(), openStream);
    if (workers == 1) {
        for (const TFileJob& job : jobs) {
            for (std::uint32_t k = job.first; k < job.first + job.count; ++k) write(directory.Stream(), buffers, files[k].entry);
        }
        return;
    }

    std::stable_sort(jobs.begin(), jobs.end(), [](const TFileJob& a, const TFileJob& b) { return a.bytes > b.bytes; });
    std::atomic<std::size_t> next{0};
    TFirstFailure failure;
    auto work = [&](TSeekableStream& stream, TEntryBuffers& own) noexcept {
        for (std::size_t k; !failure.Failed() && (k = next++) < jobs.size();) {
            for (std::uint32_t f = jobs[k].first; f < jobs[k].first + jobs[k].count; ++f) {
                if (failure.Failed()) return;
                try {
                    write(stream, own, files[f].entry);
                } catch (...) {
                    failure.Note(files[f].entry, std::current_exception());
                    return;
                }
            }
        }
    };
    {
        std::vector<std::jthread> threads;
        for (unsigned t = 1; t < workers; ++t) {
            try {
                threads.emplace_back([&] {
                    try {
                        const auto stream = openStream();
                        TEntryBuffers own;
                        work(*stream, own);
                    } catch (...) {
                        // A thread that cannot have a stream or buffers of
                        // its own leaves its share to the others.
                    }
                });
            } catch (...) {
                // No more threads to be had: those there share the work.
                break;
            }
        }
        work(directory.Stream(), buffers);
    }
    failure.Rethrow();
}
