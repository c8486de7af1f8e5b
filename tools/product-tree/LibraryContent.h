// Deterministic contents for the sample product's library files, made to look
// and deflate like real Windows libraries: a PE-like header, code, string
// tables, data tables, relocations and packed (incompressible) resources.
#pragma once

#include <cstdint>
#include <vector>

namespace product_tree {

std::vector<unsigned char> libraryContent(std::uint64_t seed, std::size_t size);

}  // namespace product_tree
