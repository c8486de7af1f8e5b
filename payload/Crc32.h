// CRC-32 of the ZIP format (reflected polynomial 0xEDB88320), with the
// running-value convention of zlib's crc32(): start at 0, feed pieces in order.
#pragma once

#include <cstddef>
#include <cstdint>

std::uint32_t Crc32(std::uint32_t crc, const std::uint8_t* data, std::size_t size);
