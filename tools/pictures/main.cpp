// make-pictures OUT_DIR: draws the installer's background, logo, icons and the
// wrench glyph, and writes them in the formats its resources need.
#include <cstdio>
#include <exception>
#include <filesystem>

#include "BmpWriter.h"
#include "Drawings.h"
#include "IcoWriter.h"
#include "JpegWriter.h"

namespace fs = std::filesystem;
using namespace pictures;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-pictures OUT_DIR\n");
        return 1;
    }
    try {
        const fs::path out = argv[1];
        fs::create_directories(out);

        writeProgressiveJpeg(background(1920, 1080), 90, 90, out / "Fundo.jpg");
        writeBmp(logo(195, 188), 24, out / "Logo.bmp");
        writeBmp(wrench(32), 32, out / "Wrench.bmp");

        // The application icon has always announced 24 bits in its directory
        // while its one image is 8-bit; Windows picks the image by size alone.
        IconImage icon = dibIcon8(mark(32));
        icon.announcedBitCount = 24;
        writeIco({icon}, out / "Icone.ico");

        std::vector<IconImage> images;
        for (int bits : {8, 32})
            for (int size : {16, 24, 32, 48, 64}) images.push_back(bits == 8 ? dibIcon8(mark(size)) : dibIcon32(mark(size)));
        images.push_back(pngIcon(mark(256)));
        writeIco(images, out / "MainIcon.ico");
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make-pictures: %s\n", e.what());
        return 1;
    }
}
