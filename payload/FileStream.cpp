#include "FileStream.h"

#include "ZipExceptions.h"

TFileStream::TFileStream(const std::wstring& path, native::FileAccess access) : file_(path, access) {
    if (!file_.IsOpen()) {
        const wchar_t* what = access == native::FileAccess::Create ? L"Cannot create file \"" : L"Cannot open file \"";
        throw EZipException(TZipErrorKind::InputOutput, what + path + L"\". " + file_.ErrorText(), {},
                            file_.ErrorCode());
    }
}

std::size_t TFileStream::Read(void* buffer, std::size_t count) { return file_.Read(buffer, count); }

void TFileStream::WriteBuffer(const void* buffer, std::size_t count) {
    if (!file_.Write(buffer, count)) {
        throw EZipException(TZipErrorKind::InputOutput, L"Stream write error", {}, file_.ErrorCode());
    }
}

std::int64_t TFileStream::Seek(std::int64_t offset, SeekOrigin origin) {
    return file_.Seek(offset, static_cast<int>(origin));
}

std::int64_t TFileStream::Size() { return file_.Size(); }
