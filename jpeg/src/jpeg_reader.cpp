// libjpeg decompression of a JPEG file into packed RGB rows.
#include "jpeg_codec.h"
#include "jpeg_jump.h"

#include <new>

namespace jpegfile {
namespace {

// Reader warnings are only counted (num_warnings): any of them fails the read.
void ignoreMessage(j_common_ptr) {}

} // namespace

unsigned char* readJpeg(std::FILE* file, unsigned long maxBytes, unsigned long* width,
                        unsigned long* height) {
    jpeg_decompress_struct info;
    JumpingErrorManager errors;
    useJumpingErrors(info, errors, ignoreMessage);
    unsigned char* volatile pixels = nullptr;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        delete[] pixels;
        return nullptr;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    const unsigned long long total = 3ull * info.image_width * info.image_height;
    if (total > maxBytes)
        jumpBack(reinterpret_cast<j_common_ptr>(&info));
    jpeg_start_decompress(&info);
    const size_t rowBytes = static_cast<size_t>(info.output_width) * 3;
    pixels = new (std::nothrow) unsigned char[rowBytes * info.output_height];
    if (!pixels || info.output_components != 3)
        jumpBack(reinterpret_cast<j_common_ptr>(&info));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + info.output_scanline * rowBytes;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    if (errors.manager.num_warnings != 0)
        jumpBack(reinterpret_cast<j_common_ptr>(&info));
    *width = info.output_width;
    *height = info.output_height;
    jpeg_destroy_decompress(&info);
    return pixels;
}

} // namespace jpegfile
