// payload-builder [--limit=BYTES] SRC_DIR OUT.zip: packs a product folder into
// the installer's payload, refusing one larger than the installer can carry.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <exception>
#include <string>
#include <string_view>
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

// Digits grouped by thousands, as the vendor reads sizes.
std::string grouped(std::uint64_t value) {
    const std::string digits = std::to_string(value);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
        text += digits[i];
    }
    return text;
}

builder::ArchiveLimit payloadLimit(std::uint64_t bytes, const std::vector<builder::SourceFile>& files) {
    std::uint64_t product = 0;
    for (const auto& file : files) product += file.size;
    return {bytes, "the product's " + std::to_string(files.size()) + " files of " + grouped(product) +
                       " bytes make a payload of more than " + grouped(bytes) +
                       " bytes, the most that the installer carries: the payload is mapped with the installer's "
                       "image, which a 32-bit installer must fit into its address space (Windows refuses to "
                       "start a larger one: \"Not enough memory\") and a 64-bit one into the 4 GiB that an "
                       "image can declare"};
}

bool isInside(const fs::path& path, const fs::path& folder) {
    const fs::path p = fs::weakly_canonical(path), f = fs::weakly_canonical(folder);
    const auto [folderEnd, pathPos] = std::mismatch(f.begin(), f.end(), p.begin(), p.end());
    return folderEnd == f.end();
}

}  // namespace

int main(int argc, char** argv) {
    std::uint64_t limit = UINT64_MAX;
    bool understood = true;
    constexpr std::string_view limitSwitch = "--limit=";
    if (argc == 4 && std::string_view(argv[1]).starts_with(limitSwitch)) {
        const char* digits = argv[1] + limitSwitch.size();
        char* end = nullptr;
        limit = std::strtoull(digits, &end, 10);
        understood = end != digits && *end == '\0';
        ++argv, --argc;
    }
    if (argc != 3 || !understood) {
        std::fprintf(stderr, "usage: payload-builder [--limit=BYTES] SRC_DIR OUT.zip\n");
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
        const auto summary = builder::writeArchive(files, out, payloadLimit(limit, files));
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
