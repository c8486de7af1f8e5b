// payload-builder SRC_DIR OUT.zip: packs a product folder into the installer's payload.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <exception>

#include "ArchiveWriter.h"
#include "BuildError.h"
#include "SourceTree.h"

namespace fs = std::filesystem;

namespace {

bool isInside(const fs::path& path, const fs::path& folder) {
    const fs::path p = fs::weakly_canonical(path), f = fs::weakly_canonical(folder);
    const auto [folderEnd, pathPos] = std::mismatch(f.begin(), f.end(), p.begin(), p.end());
    return folderEnd == f.end();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: payload-builder SRC_DIR OUT.zip\n");
        return 1;
    }
    const fs::path source = argv[1], out = argv[2];
    bool started = false;
    try {
        const auto files = builder::scanSourceTree(source);
        if (isInside(out, source))
            throw builder::BuildError("the archive \"" + out.string() + "\" must not be written inside the source folder");
        started = true;
        const auto summary = builder::writeArchive(files, out);
        std::printf("payload-builder: %zu files, %llu bytes deflated to %llu; archive %llu bytes\n", summary.entries,
                    static_cast<unsigned long long>(summary.uncompressedBytes),
                    static_cast<unsigned long long>(summary.compressedBytes),
                    static_cast<unsigned long long>(summary.archiveBytes));
        return 0;
    } catch (const std::exception& e) {
        if (started) {
            std::error_code ignored;  // the half-written archive must not be mistaken for a payload
            fs::remove(out, ignored);
        }
        std::fprintf(stderr, "payload-builder: %s\n", e.what());
        return 1;
    }
}
