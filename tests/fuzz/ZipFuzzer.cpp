// libFuzzer target: any bytes opened as an archive from memory and extracted
// into scratch/inner. A crash, a leak, a sanitizer report or anything that
// appears beside inner fails the run.
#include <Exception.h>
#include <MemoryStream.h>
#include <ZipFile.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Declared sizes are the archive's to choose; a few megabytes show every path.
constexpr std::uint64_t MaxWritten = 8u << 20;

struct TooMuch {};

const fs::path& Scratch() {
    static const fs::path scratch = fs::temp_directory_path() / ("ketrova-fuzz-" + std::to_string(::getpid()));
    return scratch;
}

void Reset(const fs::path& inner) {
    std::error_code ignored;
    fs::remove_all(inner, ignored);
    fs::create_directories(inner);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path inner = Scratch() / "inner";
    Reset(inner);
    std::uint64_t written = 0;
    try {
        TReadOnlyMemoryStream stream(data, size);
        TZipFile zip;
        zip.OnProgress = [&](TZipFile&, const std::wstring&, const TZipHeader&, std::uint64_t) {
            if ((written += TZipFile::ChunkSize) > MaxWritten) throw TooMuch{};
        };
        zip.Open(stream, TZipMode::zmRead);
        zip.ExtractAll(inner.wstring());
    } catch (const Exception&) {
    } catch (const TooMuch&) {
    }
    for (const auto& entry : fs::directory_iterator(Scratch())) {
        if (entry.path().filename() != "inner") {
            std::fprintf(stderr, "written outside the target folder: %s\n", entry.path().c_str());
            std::abort();
        }
    }
    return 0;
}
