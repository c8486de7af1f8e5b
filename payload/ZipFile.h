// TZipFile: reads ZIP archives (single disk, ZIP64 end records, stored and
// deflated entries, unencrypted) and extracts their entries below a folder.
#pragma once

#include "EntryBuffers.h"
#include "EntryWriter.h"
#include "ExtractionPlan.h"
#include "FileStream.h"
#include "Stream.h"
#include "ZipDirectory.h"
#include "ZipExceptions.h"
#include "ZipFormat.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class TZipFile;

// (Sender, FileName, Header, Position): called after each chunk an entry writes.
using TZipProgressEvent =
    std::function<void(TZipFile& sender, const std::wstring& fileName, const TZipHeader& header, std::uint64_t position)>;

class TZipFile {
public:
    static constexpr std::size_t ChunkSize = TEntryBuffers::ChunkSize;

    TZipFile() = default;
    TZipFile(const TZipFile&) = delete;
    TZipFile& operator=(const TZipFile&) = delete;
    ~TZipFile() { Close(); }

    // Only reading is supported: any other mode fails with "Invalid argument".
    void Open(const std::wstring& fileName, TZipMode mode);
    // The stream must outlive the opening; bytes in front of the archive are
    // found and skipped.
    void Open(TSeekableStream& stream, TZipMode mode);
    void Close();

    // The entry's data stream, which the caller owns, and its local-header record.
    std::pair<std::unique_ptr<TStream>, TZipHeader> Read(int index);
    void Extract(int index, const std::wstring& path, bool createSubdirs = true);
    // Fails with EZipFileNotFoundException when no entry bears the name.
    void Extract(const std::wstring& fileName, const std::wstring& path, bool createSubdirs = true);
    // Every entry, as ExtractEntries (ParallelExtraction.h) writes them: on
    // several threads when the archive was opened by name.
    void ExtractAll(const std::wstring& path);

    // The index of the entry with this central-directory name ("/" separators), or -1.
    int IndexOf(const std::wstring& fileName) const;
    std::wstring FileName(int index) const;
    int FileCount() const { return FDirectory ? static_cast<int>(FDirectory->Count()) : 0; }
    // The entry's central header.
    TZipHeader FileInfo(int index) const;
    const std::vector<std::uint8_t>& Comment() const;
    TZipMode Mode() const { return FMode; }

    // Where each entry goes below the folder path, judged for the whole archive
    // at once (see JudgeExtraction). Kept until the archive or the folder changes.
    const TExtractionPlan& Judge(const std::wstring& path);

    // Called on the thread that writes the entry: with several extracting
    // threads, on several at once.
    TZipProgressEvent OnProgress;

private:
    void CheckReadable() const;
    void CheckIndex(int index) const;
    TEntryProgress Progress();
    TEntryBuffers& Buffers();

    TZipMode FMode = TZipMode::zmClosed;
    TSeekableStream* FStream = nullptr;
    std::unique_ptr<TFileStream> FFileStream;
    std::wstring FFileName;
    std::optional<TZipDirectory> FDirectory;
    TExtractionPlan FPlan;
    std::wstring FPlanPath;
    bool FPlanned = false;
    // This thread's buffers, made once and reused by every entry.
    std::unique_ptr<TEntryBuffers> FBuffers;
};
