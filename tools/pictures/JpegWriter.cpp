#include "JpegWriter.h"

#include <cstdio>
#include <jpeglib.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace pictures {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

[[noreturn]] void throwOnError(j_common_ptr info) {
    char message[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, message);
    throw std::runtime_error(std::string("libjpeg: ") + message);
}

class Compressor {
public:
    Compressor() {
        info.err = jpeg_std_error(&errors_);
        errors_.error_exit = throwOnError;
        jpeg_create_compress(&info);
    }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;
    ~Compressor() { jpeg_destroy_compress(&info); }
    jpeg_compress_struct info{};

private:
    jpeg_error_mgr errors_{};
};

}  // namespace

void writeProgressiveJpeg(const Image& image, int quality, int dotsPerInch, const std::filesystem::path& path) {
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) throw std::runtime_error("cannot create " + path.string());

    Compressor c;
    jpeg_stdio_dest(&c.info, file.get());
    c.info.image_width = static_cast<JDIMENSION>(image.width());
    c.info.image_height = static_cast<JDIMENSION>(image.height());
    c.info.input_components = 3;
    c.info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c.info);
    jpeg_set_quality(&c.info, quality, TRUE);
    for (int i = 0; i < c.info.num_components; ++i) c.info.comp_info[i].h_samp_factor = c.info.comp_info[i].v_samp_factor = 1;
    c.info.write_JFIF_header = TRUE;
    c.info.JFIF_major_version = 1;
    c.info.JFIF_minor_version = 1;
    c.info.density_unit = 1;  // dots per inch
    c.info.X_density = c.info.Y_density = static_cast<UINT16>(dotsPerInch);
    c.info.optimize_coding = TRUE;
    jpeg_simple_progression(&c.info);

    jpeg_start_compress(&c.info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(image.width()) * 3);
    while (c.info.next_scanline < c.info.image_height) {
        const int y = static_cast<int>(c.info.next_scanline);
        for (int x = 0; x < image.width(); ++x)
            for (int k = 0; k < 3; ++k) row[static_cast<std::size_t>(x) * 3 + k] = image.channel(x, y, k);
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&c.info, rows, 1);
    }
    jpeg_finish_compress(&c.info);
    if (std::fflush(file.get()) != 0 || std::ferror(file.get())) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace pictures
