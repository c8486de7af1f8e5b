// TZipFile: reads ZIP archives (single disk, ZIP64 end records, stored and
// deflated entries) and extracts their entries below a folder.
#pragma once

#include "EntryBuffers.h"
#include "FileStream.h"
#include "Stream.h"
#include "ZipExceptions.h"
#include "ZipFormat.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

class TZipFile;

struct TZipEntryPlan {
    std::wstring original;  // the entry's name, "\\" separators
    std::wstring name;      // confined; empty for the folder itself
    bool folder = false;
    bool link = false;
    std::wstring linkTarget;
};

// Makes the stream that yields an entry's uncompressed data, reading from the
// archive stream at the first byte of the entry's data.
using TStreamConstructor =
    std::function<std::unique_ptr<TStream>(TSeekableStream& in, TZipFile& zipFile, const TZipHeader& header)>;

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

    // Process-wide, for every reader; stored and deflate are there from the start.
    static void RegisterCompressionHandler(std::uint8_t method, TStreamConstructor decompressor);

    // Only reading is supported: zmRead and zmReadWrite; anything else fails with "Invalid argument".
    void Open(const std::wstring& fileName, TZipMode mode);
    // The archive starts at the stream's position; the stream must outlive the opening.
    void Open(TSeekableStream& stream, TZipMode mode);
    void Close();

    // The entry's data stream, which the caller owns, and its local-header record.
    std::pair<std::unique_ptr<TStream>, TZipHeader> Read(int index);
    void Extract(int index, const std::wstring& path, bool createSubdirs = true);
    // Fails with EZipFileNotFoundException when no entry bears the name.
    void Extract(const std::wstring& fileName, const std::wstring& path, bool createSubdirs = true);
    void ExtractAll(const std::wstring& path);

    // The index of the entry with this central-directory name ("/" separators), or -1.
    int IndexOf(const std::wstring& fileName) const;
    std::wstring FileName(int index) const;
    int FileCount() const { return static_cast<int>(FFiles.size()); }
    const TZipHeader& FileInfo(int index) const { return FFiles.at(static_cast<std::size_t>(index)); }
    const std::vector<std::uint8_t>& Comment() const { return FComment; }
    TZipMode Mode() const { return FMode; }

    // Where each entry goes below the folder path, judged for the whole archive
    // at once: names that would leave the folder, entries below or in place of
    // a link, and link targets that resolve outside are refused before anything
    // is written. Kept until the archive or the folder changes.
    const std::vector<TZipEntryPlan>& Judge(const std::wstring& path);

    TZipProgressEvent OnProgress;

private:
    void ReadCentralDirectory();
    // Steps back from the end to the last end record and reads the comment; the
    // record's offset, or nothing when there is none.
    std::optional<std::int64_t> FindEndOfCentralDirectory(std::uint8_t (&record)[zip::EndOfCentralDirSize]);
    // The ZIP64 record's values when a locator stands before the end record.
    bool ReadZip64End(std::int64_t endRecordAt, std::uint64_t& count, std::uint64_t& size, std::uint64_t& offset);
    void CheckReadable() const;
    TZipHeader ReadLocalHeader(TSeekableStream& stream, int index);
    // Fails with "Item not found" for a compression method nobody registered.
    static const TStreamConstructor& Handler(const TZipHeader& central);
    std::wstring EntryName(const TZipHeader& local, const TZipHeader& central) const;
    static bool IsLinkEntry(const TZipHeader& central);

    std::wstring ReadLinkTarget(TStream& data, const TZipHeader& central, const std::wstring& name);
    // Makes the entry's folders, or its link; the path of the file still to
    // write, or nothing. Folders in made (folded) are known to be there.
    std::optional<std::wstring> Prepare(int index, const std::wstring& path, bool createSubdirs,
                                        std::set<std::wstring>* made = nullptr);
    // Writes a file entry, then gives it the entry's times and attributes.
    void WriteFile(int index, const std::wstring& out);
    TEntryBuffers& Buffers();

    TZipMode FMode = TZipMode::zmClosed;
    TSeekableStream* FStream = nullptr;
    std::unique_ptr<TFileStream> FFileStream;
    std::int64_t FStartFileData = 0;
    std::int64_t FEndFileData = 0;
    std::vector<TZipHeader> FFiles;
    std::vector<TZipEntryPlan> FPlan;
    std::wstring FPlanPath;
    bool FPlanned = false;
    std::vector<std::uint8_t> FComment;
    // This thread's buffers, made once and reused by every entry.
    std::unique_ptr<TEntryBuffers> FBuffers;
};
