// A file as a stream: the archive opened by name, or an extracted entry's output.
#pragma once

#include "FileSystem.h"
#include "Stream.h"

#include <string>

class TFileStream : public TSeekableStream {
public:
    // Fails with an InputOutput error "Cannot open file ..." or, for Create,
    // "Cannot create file ...", with the system's code.
    TFileStream(const std::wstring& path, native::FileAccess access);

    std::size_t Read(void* buffer, std::size_t count) override;
    // Fails with an InputOutput error "Stream write error" when not every byte went out.
    void WriteBuffer(const void* buffer, std::size_t count);
    std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t Size() override;
    void SetTimesAndAttributes(const native::FileTime* time, std::optional<std::uint32_t> attributes) {
        file_.SetTimesAndAttributes(time, attributes);
    }

private:
    native::File file_;
};
