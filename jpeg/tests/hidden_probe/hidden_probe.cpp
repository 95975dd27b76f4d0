// A library that carries CJpegFile with hidden visibility and exports one function that uses it.
#include <jpeg/jpegfile.h>

extern "C" __attribute__((visibility("default"))) int
jpegfile_hidden_probe_swap(unsigned char* buf, unsigned long width, unsigned long height) {
    CJpegFile jpeg;
    return jpeg.BGRFromRGB(buf, width, height);
}
