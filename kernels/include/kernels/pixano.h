// CPixano: in-place pixel kernels on a caller's DIB pixel buffer (filters, tone, geometry, colour spaces).
#pragma once

#include <win32/types.h>

// Results of the CPixano kernels (TotalDifference1 answers its sum instead).
constexpr int PIXANO_OK = 0;          // done (also: nothing to do at this depth, where stated)
constexpr int PIXANO_NO_PIXELS = 1;   // the pixel pointer is null, or no working memory
constexpr int PIXANO_BAD_DEPTH = 2;   // the bit depth (or the filter selector) is not handled

// Kernel selector of ConvolutionFilter: a row of the 3x3 filter table.
enum FILTER : int {
    FILTER_SHARPEN = 0,
    FILTER_HIGHPASS = 1,
    FILTER_EMBOSS = 2,
    FILTER_EDGE = 3,
    FILTER_SMOOTH = 4,
};

// Every kernel takes (pixels, width, height, bits [, extra]): bottom-up DIB rows of
// ((width * bits + 31) / 32) * 4 bytes, 24-bit pixels stored blue, green, red. The buffer must hold
// that stride times |height| bytes; a negative height (top-down rows) works on |height| rows and a
// width of 0 or less is an empty picture. The buffer stays the caller's; nothing is kept.
//
// Threads: any thread; one object is used by one thread at a time (the kernels write m_nProgress).
class CPixano {
public:
    CPixano();

    // Filters and tone operations.
    int ConvolutionFilter(BYTE* pixels, LONG width, LONG height, WORD bits, FILTER filter);
    int HistogramEqualize(BYTE* pixels, LONG width, LONG height, WORD bits);
    int HistogramStretch(BYTE* pixels, LONG width, LONG height, WORD bits, int inLow, int inHigh, int outLow,
                         int outHigh);
    int Threshold(BYTE* pixels, LONG width, LONG height, WORD bits, BYTE level);
    int Color24To8(BYTE* pixels, LONG width, LONG height);
    int Negative(BYTE* pixels, LONG width, LONG height, WORD bits);
    int TotalDifference1(BYTE* pixels, LONG width, LONG height, WORD bits);
    int Flip(BYTE* pixels, LONG width, LONG height, WORD bits);
    int Mirror(BYTE* pixels, LONG width, LONG height, WORD bits);
    int Contrast(BYTE* pixels, LONG width, LONG height, WORD bits, LONG brightness, LONG contrast);
    int Gamma1(BYTE* pixels, LONG width, LONG height, WORD bits, float gamma);
    int Erosion(BYTE* pixels, LONG width, LONG height, WORD bits);
    int Dilation(BYTE* pixels, LONG width, LONG height, WORD bits);
    int Open(BYTE* pixels, LONG width, LONG height, WORD bits);
    int Close(BYTE* pixels, LONG width, LONG height, WORD bits);
    int Interpolation1(BYTE* pixels, LONG width, LONG height, WORD bits);

    // Colour-space conversions of 24-bit pictures.
    int RGBtoYUV(BYTE* pixels, LONG width, LONG height, WORD bits);
    int YUVtoRGB(BYTE* pixels, LONG width, LONG height, WORD bits);
    int RGBtoHSL(BYTE* pixels, LONG width, LONG height, WORD bits);
    int HSLtoRGB(BYTE* pixels, LONG width, LONG height, WORD bits);

private:
    void SetProgress(LONG min, LONG max, LONG current);
    float HueToRGB(float m1, float m2, float hue);

    LONG m_nProgress; // percentage of the running filter; written only
};
