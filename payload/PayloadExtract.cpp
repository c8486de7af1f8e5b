// payload-extract ARCHIVE FOLDER: extracts every entry of a ZIP archive with
// the installer's reader, for checks against other extractors and benchmarks.
#include "ZipFile.h"

#include <Utf8.h>

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: payload-extract ARCHIVE FOLDER\n", stderr);
        return 2;
    }
    try {
        TZipFile zip;
        zip.Open(Utf8ToWide(argv[1]), TZipMode::zmRead);
        zip.ExtractAll(Utf8ToWide(argv[2]));
        zip.Close();
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
