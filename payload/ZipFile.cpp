#include "ZipFile.h"

#include "EntryStream.h"
#include "ParallelExtraction.h"

#include <stdexcept>

namespace {

[[noreturn]] void FailUsage(std::wstring text) { throw EZipException(TZipErrorKind::Usage, std::move(text)); }

}  // namespace

void TZipFile::Open(const std::wstring& fileName, TZipMode mode) {
    Close();
    if (mode != TZipMode::zmRead) FailUsage(L"Invalid argument");
    auto file = std::make_unique<TFileStream>(fileName, native::FileAccess::Read);
    Open(*file, mode);
    FFileStream = std::move(file);
    FFileName = fileName;
}

void TZipFile::Open(TSeekableStream& stream, TZipMode mode) {
    Close();
    if (mode != TZipMode::zmRead) FailUsage(L"Invalid argument");
    if (stream.Size() == 0) throw EZipException(TZipErrorKind::Format, L"Stream read error");
    FDirectory.emplace(stream);
    FStream = &stream;
    FMode = mode;
}

void TZipFile::Close() {
    FMode = TZipMode::zmClosed;
    FPlan = {};
    FPlanned = false;
    FDirectory.reset();
    FStream = nullptr;
    FFileStream.reset();
    FFileName.clear();
}

TZipHeader TZipFile::FileInfo(int index) const {
    if (!FDirectory || index < 0) throw std::out_of_range("no such entry");
    return FDirectory->Entry(static_cast<std::size_t>(index));
}

const std::vector<std::uint8_t>& TZipFile::Comment() const {
    static const std::vector<std::uint8_t> none;
    return FDirectory ? FDirectory->Comment() : none;
}

void TZipFile::CheckReadable() const {
    if (FMode != TZipMode::zmRead) FailUsage(L"File must be open for reading");
}

void TZipFile::CheckIndex(int index) const {
    CheckReadable();
    if (index < 0 || index >= FileCount()) {
        FailUsage(L"Index out of range (" + std::to_wstring(index) + L").  Must be >= 0 and < " +
                  std::to_wstring(FileCount()));
    }
}

std::pair<std::unique_ptr<TStream>, TZipHeader> TZipFile::Read(int index) {
    CheckIndex(index);
    TZipHeader local = FDirectory->ReadLocalHeader(static_cast<std::size_t>(index));
    auto data = OpenEntryData(*FStream, FileInfo(index), local);
    return {std::move(data), std::move(local)};
}

std::wstring TZipFile::FileName(int index) const { return CentralName(FileInfo(index)); }

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

const TExtractionPlan& TZipFile::Judge(const std::wstring& path) {
    CheckReadable();
    if (FPlanned && FPlanPath == path) return FPlan;
    FPlan = TExtractionPlan(*FDirectory, path, Buffers());
    FPlanPath = path;
    FPlanned = true;
    return FPlan;
}

void TZipFile::Extract(int index, const std::wstring& path, bool createSubdirs) {
    CheckIndex(index);
    const TExtractionPlan& plan = Judge(path);
    const auto entry = static_cast<std::size_t>(index);
    if (const auto out = PrepareEntry(plan, entry, path, createSubdirs)) {
        WriteEntryFile(*FStream, Buffers(), plan, entry, *out, Progress());
    }
}

void TZipFile::Extract(const std::wstring& fileName, const std::wstring& path, bool createSubdirs) {
    const int index = IndexOf(fileName);
    if (index < 0) throw EZipFileNotFoundException(fileName);
    Extract(index, path, createSubdirs);
}

TEntryProgress TZipFile::Progress() {
    if (!OnProgress) return {};
    return [this](const std::wstring& file, const TZipHeader& local, std::uint64_t position) {
        OnProgress(*this, file, local, position);
    };
}

void TZipFile::ExtractAll(const std::wstring& path) {
    CheckReadable();
    // Every name and link is judged before the first byte is written.
    const auto& plan = Judge(path);
    TStreamOpener openStream;
    if (!FFileName.empty()) {
        openStream = [this] { return std::make_unique<TFileStream>(FFileName, native::FileAccess::Read); };
    }
    ExtractEntries(plan, path, Buffers(), openStream, Progress());
}
