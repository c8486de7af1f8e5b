// zip-inflate-ceiling ARCHIVE: inflates and checks every entry in memory and
// writes nothing, the ceiling that extraction to disk is measured against.
#include <MemoryStream.h>
#include <ZipFile.h>

#include <zlib.h>

#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: zip-inflate-ceiling ARCHIVE\n", stderr);
        return 2;
    }
    const int fd = ::open(argv[1], O_RDONLY);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    // Mapped, like the resource the installer reads in place.
    void* bytes = ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    if (bytes == MAP_FAILED) {
        std::perror("mmap");
        return 1;
    }
    TReadOnlyMemoryStream archive(bytes, static_cast<std::size_t>(st.st_size));
    TZipFile zip;
    zip.Open(archive, TZipMode::zmRead);
    const auto buffer = std::make_unique<unsigned char[]>(TZipFile::ChunkSize);
    int bad = 0;
    for (int i = 0; i < zip.FileCount(); ++i) {
        auto data = zip.Read(i).first;
        uLong crc = 0;
        for (std::size_t n; (n = data->Read(buffer.get(), TZipFile::ChunkSize)) > 0;) {
            crc = crc32(crc, buffer.get(), static_cast<uInt>(n));
        }
        bad += crc != zip.FileInfo(i).CRC32 ? 1 : 0;
    }
    ::munmap(bytes, static_cast<std::size_t>(st.st_size));
    ::close(fd);
    return bad == 0 ? 0 : 1;
}
