#include "JpegDecoder.h"

#include "Exception.h"
#include "Utf8.h"

#include <windows.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace {

struct ErrorManager {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char text[JMSG_LENGTH_MAX];
};

// libjpeg's default would end the process; the jump unwinds only libjpeg's
// own C frames, so no C++ destructor is skipped.
[[noreturn]] void OnError(j_common_ptr info) {
    auto* error = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, error->text);
    std::longjmp(error->jump, 1);
}

void SilenceWarning(j_common_ptr, int) {}

// Only trivially destructible locals live across setjmp here.
bool Decode(std::span<const std::uint8_t> bytes, BgrTarget& target, int leastWidth, int leastHeight,
            char (&text)[JMSG_LENGTH_MAX]) {
    jpeg_decompress_struct info;
    ErrorManager error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = OnError;
    error.manager.emit_message = SilenceWarning;
    if (setjmp(error.jump)) {
        std::memcpy(text, error.text, sizeof text);
        jpeg_destroy_decompress(&info);
        return false;
    }
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
        std::strcpy(text, "Memória insuficiente para a imagem de fundo");
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + stride * static_cast<std::ptrdiff_t>(info.output_scanline);
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

void DecodeJpeg(std::span<const std::uint8_t> bytes, BgrTarget& target, int leastWidth, int leastHeight) {
    char text[JMSG_LENGTH_MAX] = {};
    if (!Decode(bytes, target, leastWidth, leastHeight, text)) throw Exception(Utf8ToWide(text));
}
