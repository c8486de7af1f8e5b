#include "MemoryStream.h"

#include <algorithm>
#include <cstring>
#include <limits>

TReadOnlyMemoryStream::TReadOnlyMemoryStream(const void* data, std::size_t size)
    : data_(static_cast<const unsigned char*>(data)), size_(size) {}

std::size_t TReadOnlyMemoryStream::Read(void* buffer, std::size_t count) {
    if (position_ >= static_cast<std::int64_t>(size_)) return 0;
    const auto at = static_cast<std::size_t>(position_);
    const std::size_t n = std::min(count, size_ - at);
    std::memcpy(buffer, data_ + at, n);
    position_ += static_cast<std::int64_t>(n);
    return n;
}

std::int64_t TReadOnlyMemoryStream::Seek(std::int64_t offset, SeekOrigin origin) {
    const std::int64_t base = origin == SeekOrigin::Begin     ? 0
                              : origin == SeekOrigin::Current ? static_cast<std::int64_t>(position_)
                                                              : static_cast<std::int64_t>(size_);
    // Like a file, the position may lie past the end, where reads give nothing;
    // it is kept in 64 bits so that a far offset does not wrap in a 32-bit build.
    position_ = offset > std::numeric_limits<std::int64_t>::max() - base ? std::numeric_limits<std::int64_t>::max()
                                                                        : std::max<std::int64_t>(0, base + offset);
    return position_;
}
