// CRastel: one device-independent bitmap in memory: BMP files, display, regions, editing commands, FFT.
#pragma once

#include <win32/dib.h>
#include <win32/types.h>

class CPixano;

// A rectangle {x, y, width, height} of ShowBitmap.
struct _tagSHOWRECT {
    LONG x;
    LONG y;
    LONG width;
    LONG height;
};

// One complex value of FFT2D.
struct _tagCOMPLEX {
    double real;
    double imag;
};

// Overlay callback of ShowBitmap: (user pointer, memory DC holding the display copy).
typedef void(__stdcall* DrawCallBack)(void* user, HDC dc);

// The picture is a DIB pixel buffer: bottom-up rows of ((width * bits + 31) / 32) * 4 bytes, 24-bit
// pixels stored blue, green, red, 1/4/8-bit pixels indexing the colour table of the header block.
// Every loaded picture is bottom-up with a positive height.
//
// Threads: an object is used by one thread at a time; different objects may be used on different
// threads. Copying between objects (the copy constructor, or the buffer form of ReadBitmap given another
// object's GetBmpPixel) may run on any thread while the source is not changed meanwhile.
class CRastel {
public:
    CRastel();
    // Deep copy of the picture with its header block and colour table; zoom, callback and overlays are
    // not copied.
    CRastel(const CRastel& other);
    CRastel& operator=(const CRastel&) = delete;
    virtual ~CRastel();

    // Loading and saving.
    int ReadBitmap(const char* path);
    int ReadBitmap(BYTE* pixels, int width, int height, int bits);
    int SaveBitmap(const char* path);

    // Getters and setters.
    ULONG GetBmpWidth();
    ULONG GetBmpHeight();
    ULONG GetBmpSize();
    BYTE* GetBmpPixel();
    int GetBitCount();
    void SetZoomFactor(int zoom);
    void SetStretch(int stretch);
    void SetSplit(int split);
    int SetDrawCallBack(void* user, DrawCallBack fn);

    // Display, overlays and regions.
    int ShowBitmap(HDC dc, _tagSHOWRECT* dst, _tagSHOWRECT* src);
    HBITMAP GetDDBHandle(HDC dc);
    HBITMAP GetDIBHandle(HDC dc);
    int ClearAllGraph();
    int SplitBmp(int x, int y, int width, int height, int bits, BYTE* dst);
    int ReadSplitBmp(BYTE* src, int srcWidth, int srcHeight, int x, int y, int width, int height, int bits);
    int SaveToJpegFile(const char* path, int unused);

    // Processing commands on the picture, in place.
    int Negative();
    int HistogramEqualize();
    int Sharpen();
    int Smooth();
    int Edge();
    int Emboss();
    int Flip();
    int Mirror();
    int Contrast(int brightness, int contrast);
    int Gamma1(float gamma);
    int HistogramStretch(int inLow, int inHigh, int outLow, int outHigh);
    int RGBtoYUV();
    int YUVtoRGB();
    int RGBtoHSL();
    int HSLtoRGB();
    int ConvertToBW();
    int Threshold(BYTE level);

    // Focus sums over a caller's 8-bit buffer.
    ULONG TotalDifference(BYTE* pixels, ULONG width, ULONG height);
    ULONG TotalDifference2(BYTE* pixels, ULONG width, ULONG height);
    ULONG TotalDifference(BYTE* pixels, ULONG x, ULONG y, ULONG width, ULONG height, ULONG imageWidth,
                          ULONG imageHeight);

    // Fourier transforms of caller's data.
    int FFT(int dir, int m, double* re, double* im);
    int FFT2D(_tagCOMPLEX** rows, int nx, int ny, int dir);

private:
    void InitialParam();
    void DeAllocateBuffer();
    int ChangeBmpInfoHeader(ULONG width, ULONG height, int bits);
    int GetColorTableSize(int bits);
    int GetColorTableSize(BITMAPINFOHEADER* header);
    int Powerof2(int n, int* m, int* twopm);

    // Empties the object and makes it hold `info` (a 40-byte info header with its colour table) and
    // `pixels`, taking both; returns 1, or 0 (object empty) without memory.
    int TakePicture(BITMAPINFO* info, BYTE* pixels);
    // Runs the CPixano member `kernel` on a loaded picture with (pixels, width, height, bits, extra...)
    // and refreshes the display copy. Returns 1, or 0 when not loaded.
    template <typename Kernel, typename... Extra> int Process(Kernel kernel, Extra... extra);
    // After a kernel changed the pixels to `bits` per pixel: the standard header block of that depth and
    // a fresh display copy. Returns 1, or 0 (object emptied) without memory.
    int SettleDepth(int bits);
    // Deletes m_hDdb and a DIB section left over, clearing both handles.
    void FreeDisplayHandles();
    // The overlay pass of ShowBitmap; returns the pixels to show.
    BYTE* RunOverlayPass();

    BOOL m_bValid;
    LONG m_nWidth;
    LONG m_nHeight;
    DWORD m_nStride;
    BYTE* m_pImage;
    BYTE* m_pDisplay;
    BITMAPINFO* m_pInfo;
    DWORD m_nImageSize;
    BYTE* m_pDibBits;
    RGBQUAD* m_pColorTable;
    DWORD m_nColorEntries;
    HBITMAP m_hDibSection;
    HBITMAP m_hDdb;
    DrawCallBack m_pfnDrawCallBack;
    void* m_pUserData;
    int m_nZoom;
    int m_nStretch;
    int m_nSplit;
    CPixano* m_pProcess;
    // Whether m_pDisplay holds what overlay passes drew. While false the display copy stands for the
    // working pixels and is not kept up to date: a command costs no copy, and the next overlay pass
    // starts from the working pixels.
    bool displayHoldsOverlays_;
};
