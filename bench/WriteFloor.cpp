// zip-write-floor ARCHIVE FOLDER: creates every entry's file below FOLDER and
// writes as many bytes as the entry holds, in 1 MiB chunks from a buffer that
// is already filled, without reading the entries' data. It is the part of an
// extraction that no reader can avoid: what payload-extract costs beyond the
// ceiling is measured against it.
#include <FileStream.h>
#include <FileSystem.h>
#include <Utf8.h>
#include <ZipFile.h>
#include <ZipPaths.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: zip-write-floor ARCHIVE FOLDER\n", stderr);
        return 2;
    }
    try {
        TZipFile zip;
        zip.Open(Utf8ToWide(argv[1]), TZipMode::zmRead);
        const auto buffer = std::make_unique<std::uint8_t[]>(TZipFile::ChunkSize);
        std::fill_n(buffer.get(), TZipFile::ChunkSize, std::uint8_t{0x5A});
        for (int i = 0; i < zip.FileCount(); ++i) {
            std::wstring name = zip.FileName(i);
            std::replace(name.begin(), name.end(), L'/', L'\\');
            const std::wstring out = zip::Combine(Utf8ToWide(argv[2]), name);
            native::CreateDirectories(out.substr(0, out.find_last_of(L'\\')));
            if (out.back() == L'\\') continue;
            TFileStream file(out, native::FileAccess::Create);
            for (std::uint64_t left = zip.FileInfo(i).GetUncompressedSize64(); left > 0;) {
                const auto chunk = static_cast<std::size_t>(std::min<std::uint64_t>(left, TZipFile::ChunkSize));
                file.WriteBuffer(buffer.get(), chunk);
                left -= chunk;
            }
        }
        zip.Close();
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
