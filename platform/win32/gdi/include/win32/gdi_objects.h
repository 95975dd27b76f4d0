// GDI objects: pens, brushes, fonts, stock objects, selection and deletion.
#pragma once

#include <win32/types.h>

// Stock objects.
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define SYSTEM_FONT 13

// Pen styles.
#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_NULL 5

// Font weights and character sets.
#define FW_DONTCARE 0
#define FW_NORMAL 400
#define FW_BOLD 700
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define GB2312_CHARSET 134
#define LF_FACESIZE 32

struct LOGFONTA {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    CHAR lfFaceName[LF_FACESIZE];
};
typedef LOGFONTA LOGFONT;
typedef LOGFONTA* LPLOGFONT;

// What GetObject reports for a bitmap.
struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};
typedef BITMAP* LPBITMAP;

// Handle tables are shared by all threads: every function below may be called from any thread. An object
// is used by one thread at a time (the thread drawing with the DC it is selected into).

// A stock object (never deleted); null with ERROR_INVALID_PARAMETER for an unknown index.
HGDIOBJ GetStockObject(int index);

// A cosmetic pen for width 0 or 1, a solid round-capped pen for wider ones. Styles PS_SOLID, PS_DASH,
// PS_DOT and PS_NULL (dashes apply to pens up to 1 pixel wide); the colour's top byte is ignored.
// Null with ERROR_INVALID_PARAMETER for another style or a width outside 0 to 256.
HPEN CreatePen(int style, int width, COLORREF color);

// A solid brush of the colour (top byte ignored).
HBRUSH CreateSolidBrush(COLORREF color);

// A font by its logical description. Heights as on Windows: > 0 cell height, < 0 character height,
// 0 the default (12 pixels). The system's face names map to an installed font covering Chinese (see
// gdi_text.h). Null with ERROR_NOT_SUPPORTED for rotated (escapement, orientation) or width-forced fonts.
HFONT CreateFontIndirectA(const LOGFONTA* font);
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCSTR faceName);
#define CreateFontIndirect CreateFontIndirectA
#define CreateFont CreateFontA

// Selects a pen, brush, font or bitmap into the DC and returns the one it replaces. Null for a stale or
// foreign handle (ERROR_INVALID_HANDLE), for a bitmap into a window DC or a bitmap already selected into
// another DC (ERROR_INVALID_PARAMETER).
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);

// Deletes a pen, brush, font or bitmap. FALSE for null, a stale handle or an object still selected into a
// DC; TRUE (nothing happens) for a stock object.
BOOL DeleteObject(HGDIOBJ object);

// Copies an object's description into `buffer`: BITMAP for bitmaps (bmBits the DIB section's bits, null
// for other bitmaps). Returns the bytes written, or the size needed when `buffer` is null; 0 for a stale
// handle, another kind of object or a buffer smaller than the description.
int GetObjectA(HGDIOBJ object, int size, LPVOID buffer);
#define GetObject GetObjectA
