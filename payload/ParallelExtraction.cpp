#include "ParallelExtraction.h"

#include "ZipPaths.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <limits>
#include <map>
#include <mutex>
#include <set>
#include <thread>

namespace {

// The entries that write one path, in the archive's order, so that the last
// one wins as it would one after the other.
struct TFileJob {
    std::vector<std::size_t> entries;
    std::uint64_t bytes = 0;
};

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

void ExtractEntries(const TZipDirectory& directory, const std::vector<TZipEntryPlan>& plan, const std::wstring& path,
                    TEntryBuffers& buffers, const TStreamOpener& openStream, const TEntryProgress& progress) {
    const std::vector<TZipHeader>& entries = directory.Entries();
    std::vector<std::wstring> outs(plan.size());
    std::vector<TFileJob> jobs;
    std::map<std::wstring, std::size_t> jobOfPath;
    std::set<std::wstring> made;
    for (std::size_t i = 0; i < plan.size(); ++i) {
        auto out = PrepareEntry(plan[i], path, true, &made);
        if (!out) continue;
        const auto [job, added] = jobOfPath.emplace(zip::FoldedPath(*out), jobs.size());
        if (added) jobs.emplace_back();
        jobs[job->second].entries.push_back(i);
        jobs[job->second].bytes += entries[i].GetUncompressedSize64();
        outs[i] = std::move(*out);
    }

    const unsigned workers = Workers(jobs.size(), openStream);
    if (workers == 1) {
        for (const TFileJob& job : jobs) {
            for (const std::size_t i : job.entries) {
                WriteEntryFile(directory.Stream(), buffers, entries[i], plan[i], outs[i], progress);
            }
        }
        return;
    }

    std::stable_sort(jobs.begin(), jobs.end(), [](const TFileJob& a, const TFileJob& b) { return a.bytes > b.bytes; });
    std::atomic<std::size_t> next{0};
    TFirstFailure failure;
    auto work = [&](TSeekableStream& stream, TEntryBuffers& own) noexcept {
        for (std::size_t k; !failure.Failed() && (k = next++) < jobs.size();) {
            for (const std::size_t i : jobs[k].entries) {
                if (failure.Failed()) return;
                try {
                    WriteEntryFile(stream, own, entries[i], plan[i], outs[i], progress);
                } catch (...) {
                    failure.Note(i, std::current_exception());
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
