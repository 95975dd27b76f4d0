// Motion-JPEG frames through libjpeg, its errors caught instead of ending the process.
#include "mjpeg_frame.h"

#include <win32/dib.h>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace platform::devices {
namespace {

struct ErrorJump {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void jumpOut(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->jump, 1);
}

void keepQuiet(j_common_ptr) {}

} // namespace

// No object with a destructor lives in this function, so leaving it by longjmp skips nothing.
bool decodeMjpegFrame(const BYTE* data, std::size_t bytes, LONG width, LONG height, BYTE* dib)
{
    jpeg_decompress_struct info{};
    ErrorJump error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jumpOut;
    error.manager.output_message = keepQuiet;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(bytes));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    bool whole = LONG(info.output_width) == width && LONG(info.output_height) == height;
    const LONG stride = DibStride(width, 24);
    while (whole && info.output_scanline < info.output_height) {
        JSAMPROW row = dib + std::size_t(height - 1 - LONG(info.output_scanline)) * std::size_t(stride);
        whole = jpeg_read_scanlines(&info, &row, 1) == 1;
    }
    if (whole)
        jpeg_finish_decompress(&info);
    // Corrupt data that libjpeg decodes anyway (filling what is missing) shows as warnings.
    whole = whole && error.manager.num_warnings == 0;
    jpeg_destroy_decompress(&info);
    return whole;
}

} // namespace platform::devices
