// zip-inflate-ceiling ARCHIVE: reads every entry the way payload-extract does
// (file stream, 64 KiB input, 1 MiB chunks, CRC-32) and writes nothing, the
// ceiling that extraction to disk is measured against.
#include <Crc32.h>
#include <Utf8.h>
#include <ZipFile.h>

#include <cstdio>
#include <exception>
#include <memory>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: zip-inflate-ceiling ARCHIVE\n", stderr);
        return 2;
    }
    try {
        TZipFile zip;
        zip.Open(Utf8ToWide(argv[1]), TZipMode::zmRead);
        const auto buffer = std::make_unique<std::uint8_t[]>(TZipFile::ChunkSize);
        int bad = 0;
        for (int i = 0; i < zip.FileCount(); ++i) {
            auto data = zip.Read(i).first;
            std::uint32_t crc = 0;
            for (std::size_t n; (n = data->Read(buffer.get(), TZipFile::ChunkSize)) > 0;) crc = Crc32(crc, buffer.get(), n);
            bad += crc != zip.FileInfo(i).CRC32 ? 1 : 0;
        }
        zip.Close();
        if (bad > 0) std::fprintf(stderr, "%d entries do not match their CRC-32\n", bad);
        return bad == 0 ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
