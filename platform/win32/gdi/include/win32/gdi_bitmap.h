// Bitmaps: compatible and DIB-section bitmaps, BMP loading, block transfers and DIB drawing.
#pragma once

#include <win32/dib.h>
#include <win32/types.h>

#define CBM_INIT 4L

// Raster operations of block transfers.
#define SRCCOPY 0x00CC0020u
#define SRCPAINT 0x00EE0086u
#define SRCAND 0x008800C6u
#define SRCINVERT 0x00660046u
#define NOTSRCCOPY 0x00330008u
#define DSTINVERT 0x00550009u
#define BLACKNESS 0x00000042u
#define WHITENESS 0x00FF0062u

#define IMAGE_BITMAP 0
#define LR_DEFAULTCOLOR 0x0000u
#define LR_LOADFROMFILE 0x0010u
#define LR_CREATEDIBSECTION 0x2000u

#ifndef MAKEINTRESOURCE
#define MAKEINTRESOURCEA(i) (reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))
#define MAKEINTRESOURCE MAKEINTRESOURCEA
#endif
#ifndef IS_INTRESOURCE
#define IS_INTRESOURCE(r) ((reinterpret_cast<ULONG_PTR>(r) >> 16) == 0)
#endif

// Bitmaps are device-dependent (32-bit colour or 1-bit monochrome) or DIB sections (1, 4, 8, 24 or 32 bits
// with BI_RGB). All functions may be called from any thread.

// A colour bitmap for a window DC, the screen or a memory DC holding a colour bitmap; a monochrome one for a
// memory DC that holds a monochrome bitmap (a new memory DC does). Null for a stale DC or sizes < 1.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);

// A device-dependent bitmap; planes 1 and 1 or 32 bits per pixel only. `bits` (top-down rows, each padded
// to 2 bytes) initialises it when given, else it is black.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);

// A DIB section described by `info` (colour table after the header for 1 to 8 bits); `*bits` receives its
// pixel memory, which drawing through a DC changes at once and which lives until the bitmap is deleted.
// `section` must be null (no file mapping). Null with ERROR_INVALID_PARAMETER for an unsupported format.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset);

// A bitmap compatible with `dc` (as CreateCompatibleBitmap) of the header's size, filled from the DIB
// `bits` described by `info` when `init` has CBM_INIT.
HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage);

// Copies `lines` rows from row `start` (bottom-up numbering) of `bitmap` into `bits`, which receives just
// those rows, at the 24 or 32 bits per pixel of `info` (whose size must be the bitmap's). With `bits` null
// and biBitCount 0 it fills in the header of the bitmap instead. Returns the rows copied (TRUE for the
// header query), 0 on failure (ERROR_INVALID_PARAMETER for another format or size).
int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info, UINT usage);

// Loads a BMP file (`flags` with LR_LOADFROMFILE; LR_CREATEDIBSECTION keeps the file's format as a DIB
// section, otherwise a colour device-dependent bitmap). Only IMAGE_BITMAP at the file's size (width and
// height 0). Null with ERROR_FILE_NOT_FOUND, ERROR_INVALID_DATA or ERROR_INVALID_PARAMETER.
HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height, UINT flags);
#define LoadImage LoadImageA

// The bitmap resource `name` (MAKEINTRESOURCE(id)) registered with platform::gdi::registerResourceBitmap,
// as a colour device-dependent bitmap. Null with ERROR_FILE_NOT_FOUND (ERROR_INVALID_DATA for a bad file).
HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name);
#define LoadBitmap LoadBitmapA

// Block transfers between DCs; the raster operation combines source and destination (operations that need
// a pattern are refused with ERROR_INVALID_PARAMETER). Colour to monochrome maps the source DC's background
// colour to white and all else to black; monochrome to colour maps black to the destination's text colour
// and white to its background colour.
BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop);
BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int srcWidth,
                int srcHeight, DWORD rop);

// Draws a rectangle of a DIB onto the DC, stretched by nearest pixels; for a bottom-up DIB the source y
// counts from the lowest row. Negative sizes mirror. Returns the source rows drawn, 0 on failure.
int StretchDIBits(HDC dc, int x, int y, int width, int height, int xSrc, int ySrc, int srcWidth, int srcHeight,
                  const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);

// Draws rows `startScan` to `startScan + lines - 1` (bottom-up numbering) of a DIB, unscaled; `bits` holds
// just those rows. Returns `lines`, 0 on failure.
int SetDIBitsToDevice(HDC dc, int x, int y, DWORD width, DWORD height, int xSrc, int ySrc, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT usage);

namespace platform::gdi {

// Makes the BMP file at `path` (UTF-8) the bitmap resource `id` for LoadBitmap; the file is read at each
// load. A later registration of the same id replaces it. Program start-up; any thread.
void registerResourceBitmap(int id, const char* path);

} // namespace platform::gdi
