// Failures of the archive reader: one exception with a kind for each cause.
#pragma once

#include <Exception.h>

#include <cstdint>
#include <string>

enum class TZipErrorKind {
    Format,             // not an archive, or a damaged one
    UnsupportedMethod,  // compression or encryption the reader does not decode
    Checksum,           // data that do not match their CRC-32
    UnsafeName,         // a name or link that would lead out of the target folder
    InputOutput,        // the file system refused; SystemError() tells why
    Usage,              // a call that the reader's state or its arguments do not allow
    NotFound,           // no entry bears the name asked for
};

class EZipException : public Exception {
public:
    EZipException(TZipErrorKind kind, std::wstring message, std::wstring entry = {}, std::uint32_t systemError = 0)
        : Exception(std::move(message)), kind_(kind), entry_(std::move(entry)), systemError_(systemError) {}

    TZipErrorKind Kind() const noexcept { return kind_; }
    // The name of the entry that the failure concerns, or empty.
    const std::wstring& Entry() const noexcept { return entry_; }
    // GetLastError() on Windows, errno elsewhere, for InputOutput; else 0.
    std::uint32_t SystemError() const noexcept { return systemError_; }
    // Names the entry on the way up, where the place that failed did not know it.
    void SetEntryIfUnnamed(const std::wstring& entry) {
        if (entry_.empty()) entry_ = entry;
    }

private:
    TZipErrorKind kind_;
    std::wstring entry_;
    std::uint32_t systemError_;
};

// A name that would lead out of the target folder or through a link.
inline EZipException UnsafeEntryName(const std::wstring& entry) {
    return {TZipErrorKind::UnsafeName, L"Unsafe entry name \"" + entry + L"\"", entry};
}

// An entry whose data do not match its CRC-32.
class EZipCRCException : public EZipException {
public:
    explicit EZipCRCException(std::wstring entry)
        : EZipException(TZipErrorKind::Checksum, L"Error reading zip file", std::move(entry)) {}
};

// zlib refused an entry's deflate data; the message is zlib's own.
class EZDecompressionError : public EZipException {
public:
    explicit EZDecompressionError(std::wstring message) : EZipException(TZipErrorKind::Format, std::move(message)) {}
};

// An entry looked up by a name that the archive lacks.
class EZipFileNotFoundException : public EZipException {
public:
    explicit EZipFileNotFoundException(std::wstring fileName)
        : EZipException(TZipErrorKind::NotFound, L"The specified file was not found", std::move(fileName)) {}
    const std::wstring& FileName() const noexcept { return Entry(); }
};
