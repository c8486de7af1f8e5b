// payload-builder SRC_DIR OUT.zip: packs a product folder into the installer's payload.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <exception>
#include <vector>

#include "ArchiveWriter.h"
#include "BuildError.h"
#include "SourceTree.h"

namespace fs = std::filesystem;

namespace {

// SOURCE_DATE_EPOCH, when set: no file's time is later, so that a file made
// by the build (the sample product's executable) does not carry the build's
// time. The clamped time has that instant's UTC fields in every time zone.
void clampTimes(std::vector<builder::SourceFile>& files) {
    const char* text = std::getenv("SOURCE_DATE_EPOCH");
    if (!text || !*text) return;
    char* end = nullptr;
    const auto epoch = static_cast<std::time_t>(std::strtoll(text, &end, 10));
    if (*end != '\0' || epoch < 0) throw builder::BuildError("SOURCE_DATE_EPOCH is not a number of seconds");
    std::tm fields{};
    if (!gmtime_r(&epoch, &fields)) throw builder::BuildError("SOURCE_DATE_EPOCH cannot be converted");
    fields.tm_isdst = -1;
    const std::time_t clamped = std::mktime(&fields);
    for (auto& file : files) {
        if (file.modified > epoch) file.modified = clamped;
    }
}

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
        auto files = builder::scanSourceTree(source);
        clampTimes(files);
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
