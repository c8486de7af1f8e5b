#include "JpegDecoder.h"

#include "Exception.h"
#include "Utf8.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace {

// libjpeg's default would end the process; the jump unwinds only libjpeg's
// own C frames back into Decode, so no C++ destructor is skipped.
struct ErrorManager {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char text[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnError(j_common_ptr info) {
    auto* error = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, error->text);
    std::longjmp(error->jump, 1);
}

void SilenceWarning(j_common_ptr, int) {}

// The decompressor with its error manager, destroyed once on every road. It
// lives in the caller of the function that calls setjmp, so that what libjpeg
// changed in it is still there after a jump.
class Decompressor {
public:
    Decompressor() noexcept {
        info.err = jpeg_std_error(&error.manager);
        error.manager.error_exit = OnError;
        error.manager.emit_message = SilenceWarning;
    }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;
    // Before jpeg_create_decompress, or after it failed, there is nothing to free.
    ~Decompressor() { jpeg_destroy_decompress(&info); }

    jpeg_decompress_struct info{};
    ErrorManager error{};
};

// Only trivially destructible locals live across setjmp here.
bool Decode(Decompressor& decompressor, std::span<const std::uint8_t> bytes, BgrTarget& target, int leastWidth,
            int leastHeight) {
    jpeg_decompress_struct& info = decompressor.info;
    if (setjmp(decompressor.error.jump)) return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    info.scale_denom = 8;
    // No least size: the whole picture.
    for (info.scale_num = leastWidth > 0 || leastHeight > 0 ? 1 : 8; info.scale_num < 8; ++info.scale_num) {
        jpeg_calc_output_dimensions(&info);
        if (static_cast<int>(info.output_width) >= leastWidth && static_cast<int>(info.output_height) >= leastHeight) break;
    }
    jpeg_start_decompress(&info);
    std::ptrdiff_t stride = 0;
    std::uint8_t* pixels = target.Allocate(static_cast<int>(info.output_width),
                                           static_cast<int>(info.output_height), stride);
    if (!pixels) {
        std::strcpy(decompressor.error.text, "Memória insuficiente para a imagem de fundo");
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + stride * static_cast<std::ptrdiff_t>(info.output_scanline);
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

}  // namespace

void DecodeJpeg(std::span<const std::uint8_t> bytes, BgrTarget& target, int leastWidth, int leastHeight) {
    Decompressor decompressor;
    if (!Decode(decompressor, bytes, target, leastWidth, leastHeight)) {
        throw Exception(Utf8ToWide(decompressor.error.text));
    }
}
