// libjpeg compression of packed RGB or grey rows into a baseline JPEG file.
#include "jpeg_codec.h"
#include "jpeg_jump.h"
#include "jpeg_messages.h"

namespace jpegfile {
namespace {

// Writer warnings go to the user.
void showWarning(j_common_ptr info) {
    char text[JMSG_LENGTH_MAX];
    info->err->format_message(info, text);
    showCodecWarning(text);
}

} // namespace

WriteResult writeJpeg(const char* path, const unsigned char* pixels, unsigned width, unsigned height,
                      int components, int quality) {
    jpeg_compress_struct info;
    JumpingErrorManager errors;
    useJumpingErrors(info, errors, showWarning);
    std::FILE* volatile file = nullptr;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        if (file)
            std::fclose(file);
        return WriteResult::CodecFailed;
    }
    jpeg_create_compress(&info);
    file = path ? std::fopen(path, "wb") : nullptr;
    if (!file) {
        jpeg_destroy_compress(&info);
        return WriteResult::OpenFailed;
    }
    jpeg_stdio_dest(&info, file);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    const size_t rowBytes = static_cast<size_t>(width) * components;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPLE*>(pixels + info.next_scanline * rowBytes);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const bool closed = std::fclose(file) == 0;
    return closed ? WriteResult::Written : WriteResult::CodecFailed;
}

} // namespace jpegfile
