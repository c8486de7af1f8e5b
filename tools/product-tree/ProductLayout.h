// What the sample product's folder holds besides its executable: names, sizes
// and modification times of its library files, fixed so that every build packs
// the same payload.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace product_tree {

struct LibraryFile {
    std::string name;  // relative, "/" between folders
    std::size_t size = 0;
    std::tm modified{};  // local time, even seconds
};

std::vector<LibraryFile> productLayout();

}  // namespace product_tree
