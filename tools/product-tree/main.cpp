// make-product-tree OUT_DIR: writes the sample product's library files (all but
// its executable, which the Windows build adds) with fixed contents and times.
#include <sys/stat.h>
#include <utime.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "LibraryContent.h"
#include "ProductLayout.h"

namespace fs = std::filesystem;

namespace {

// FNV-1a: a seed per file that stays the same with every compiler and library.
std::uint64_t seedOf(const std::string& name) {
    std::uint64_t h = 0xCBF29CE484222325ull;
    for (unsigned char c : name) h = (h ^ c) * 0x100000001B3ull;
    return h;
}

void writeLibrary(const fs::path& root, const product_tree::LibraryFile& file) {
    const fs::path path = root / file.name;
    fs::create_directories(path.parent_path());
    const auto bytes = product_tree::libraryContent(seedOf(file.name), file.size);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path.string());

    // Local time, so that the archive's MS-DOS times are the same in every time zone.
    std::tm local = file.modified;
    const std::time_t when = std::mktime(&local);
    const utimbuf times{when, when};
    if (when == -1 || ::utime(path.c_str(), &times) != 0) throw std::runtime_error("cannot set the time of " + path.string());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-product-tree OUT_DIR\n");
        return 1;
    }
    try {
        std::size_t total = 0;
        const auto layout = product_tree::productLayout();
        for (const auto& file : layout) {
            writeLibrary(argv[1], file);
            total += file.size;
        }
        std::printf("make-product-tree: %zu library files, %zu bytes\n", layout.size(), total);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make-product-tree: %s\n", e.what());
        return 1;
    }
}
