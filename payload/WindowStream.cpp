#include "WindowStream.h"

#include <algorithm>

std::size_t TWindowStream::Read(void* buffer, std::size_t count) {
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(count, remaining_));
    const std::size_t n = wanted == 0 ? 0 : base_.Read(buffer, wanted);
    remaining_ -= n;
    return n;
}
