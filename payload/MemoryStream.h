// A read-only stream over bytes that someone else keeps alive (a mapped
// resource, a fuzzer's input); nothing is copied.
#pragma once

#include "Stream.h"

class TReadOnlyMemoryStream : public TSeekableStream {
public:
    TReadOnlyMemoryStream(const void* data, std::size_t size);

    std::size_t Read(void* buffer, std::size_t count) override;
    std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(size_); }
    const void* Memory() const { return data_; }

private:
    const unsigned char* data_;
    std::size_t size_;
    std::int64_t position_ = 0;
};
