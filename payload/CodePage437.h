// The IBM PC code page, for entry names stored without the UTF-8 flag.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

std::wstring DecodeCodePage437(const std::vector<std::uint8_t>& bytes);
