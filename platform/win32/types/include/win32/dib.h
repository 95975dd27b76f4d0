// Device-independent bitmap file and header structures, with their exact on-disk sizes.
#pragma once

#include <win32/types.h>

#define BI_RGB 0L
#define BI_RLE8 1L
#define BI_RLE4 2L
#define BI_BITFIELDS 3L
#define BI_ALPHABITFIELDS 6L
#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1

// "BM" as the little-endian file type word.
#define ORV_BMP_FILE_TYPE 0x4D42

// The file header, packed to its 14 bytes on disk. Its DWORD fields are unaligned: readers and writers
// go field by field through bytes, never through pointers to the fields.
#pragma pack(push, 2)
struct BITMAPFILEHEADER {
    WORD bfType;
    DWORD bfSize;
    WORD bfReserved1;
    WORD bfReserved2;
    DWORD bfOffBits;
};
#pragma pack(pop)
static_assert(sizeof(BITMAPFILEHEADER) == 14, "BITMAPFILEHEADER is 14 bytes on disk");
constexpr std::size_t kBitmapFileHeaderSize = sizeof(BITMAPFILEHEADER);

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40, "BITMAPINFOHEADER is 40 bytes on disk");
typedef BITMAPINFOHEADER* LPBITMAPINFOHEADER;

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};
static_assert(sizeof(RGBQUAD) == 4, "RGBQUAD is 4 bytes on disk");

struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};
typedef BITMAPINFO* LPBITMAPINFO;

// Bytes in one DIB row of `width` pixels at `bits` per pixel, padded to a multiple of four.
constexpr LONG DibStride(LONG width, WORD bits) {
    return static_cast<LONG>(((static_cast<int64_t>(width) * bits + 31) / 32) * 4);
}
