// Failures of the archive reader.
#pragma once

#include <Exception.h>

class EZipException : public Exception {
public:
    using Exception::Exception;
};

// An entry whose data do not match its CRC-32.
class EZipCRCException : public EZipException {
public:
    using EZipException::EZipException;
};

// An entry looked up by a name that the archive lacks.
class EZipFileNotFoundException : public EZipException {
public:
    explicit EZipFileNotFoundException(std::wstring fileName)
        : EZipException(L"The specified file was not found"), FFileName(std::move(fileName)) {}
    const std::wstring& FileName() const noexcept { return FFileName; }

private:
    std::wstring FFileName;
};
