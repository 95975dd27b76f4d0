// Device contexts: memory DCs and the drawing state that every DC carries.
#pragma once

#include <win32/types.h>

// Background modes.
#define TRANSPARENT 1
#define OPAQUE 2

// Stretch modes. Every mode takes the nearest source pixel, also when shrinking.
#define BLACKONWHITE 1
#define WHITEONBLACK 2
#define COLORONCOLOR 3
#define STRETCH_DELETESCANS COLORONCOLOR

// Binary raster operations of pens and brushes on the destination.
#define R2_BLACK 1
#define R2_NOTMERGEPEN 2
#define R2_MASKNOTPEN 3
#define R2_NOTCOPYPEN 4
#define R2_MASKPENNOT 5
#define R2_NOT 6
#define R2_XORPEN 7
#define R2_NOTMASKPEN 8
#define R2_MASKPEN 9
#define R2_NOTXORPEN 10
#define R2_NOP 11
#define R2_MERGENOTPEN 12
#define R2_COPYPEN 13
#define R2_MERGEPENNOT 14
#define R2_MERGEPEN 15
#define R2_WHITE 16

#define CLR_INVALID 0xFFFFFFFFu

// A memory DC holding the stock 1 x 1 monochrome bitmap, its state at the defaults (black pen, white
// brush, system font, opaque white background, black text, R2_COPYPEN, BLACKONWHITE). `compatible` may
// be null (the screen) or any DC. Null with ERROR_INVALID_HANDLE for a stale `compatible`. Any thread.
HDC CreateCompatibleDC(HDC compatible);

// Deletes a memory DC and deselects its objects. FALSE for a stale handle or a window DC. Any thread.
BOOL DeleteDC(HDC dc);

// State setters: each returns the previous value; on a stale DC or a value out of range 0 (CLR_INVALID for
// the colours) with ERROR_INVALID_HANDLE or ERROR_INVALID_PARAMETER. Any thread that uses the DC.
int SetBkMode(HDC dc, int mode);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF SetTextColor(HDC dc, COLORREF color);
int SetROP2(HDC dc, int rop2);
int SetStretchBltMode(HDC dc, int mode);
