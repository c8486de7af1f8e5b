#include "MemoryStream.h"

#include <algorithm>
#include <cstring>

TReadOnlyMemoryStream::TReadOnlyMemoryStream(const void* data, std::size_t size)
    : data_(static_cast<const unsigned char*>(data)), size_(size) {}

std::size_t TReadOnlyMemoryStream::Read(void* buffer, std::size_t count) {
    if (position_ >= size_) return 0;
    const std::size_t n = std::min(count, size_ - position_);
    std::memcpy(buffer, data_ + position_, n);
    position_ += n;
    return n;
}

std::int64_t TReadOnlyMemoryStream::Seek(std::int64_t offset, SeekOrigin origin) {
    const std::int64_t base = origin == SeekOrigin::Begin     ? 0
                              : origin == SeekOrigin::Current ? static_cast<std::int64_t>(position_)
                                                              : static_cast<std::int64_t>(size_);
    // Like a file, the position may lie past the end; reads there give nothing.
    position_ = static_cast<std::size_t>(std::max<std::int64_t>(0, base + offset));
    return static_cast<std::int64_t>(position_);
}
