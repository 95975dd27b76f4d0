// Text drawn with the DC's font, text colour and background mode.
#pragma once

#include <win32/types.h>

// DrawText formats.
#define DT_TOP 0x0000u
#define DT_LEFT 0x0000u
#define DT_CENTER 0x0001u
#define DT_RIGHT 0x0002u
#define DT_VCENTER 0x0004u
#define DT_BOTTOM 0x0008u
#define DT_SINGLELINE 0x0020u
#define DT_NOCLIP 0x0100u
#define DT_CALCRECT 0x0400u
#define DT_NOPREFIX 0x0800u

// Texts are code page 936 bytes (valid UTF-8 is taken as such); `count` -1 means up to the terminating
// zero. Glyphs are drawn without antialiasing in the text colour; an opaque background mode fills the
// text's cell box with the background colour first. The raster operation does not apply to text.
// The face names "黑体", "宋体", "System", "Times New Roman" and any face that is not installed resolve to
// WenQuanYi Zen Hei. Each function fails (FALSE or 0) with ERROR_INVALID_HANDLE for a stale DC.
// Text needs the Qt application object to exist. Any thread that uses the DC.

// Draws the text with its cell's top-left corner at (x, y).
BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count);
#define TextOut TextOutA

// Draws the text in `rect`: lines broken at line feeds unless DT_SINGLELINE; aligned by DT_LEFT, DT_CENTER,
// DT_RIGHT and, for a single line, DT_TOP, DT_VCENTER, DT_BOTTOM; clipped to `rect` unless DT_NOCLIP;
// '&' marks a mnemonic and is not drawn ("&&" draws one) unless DT_NOPREFIX. DT_CALCRECT draws nothing and
// sets the rectangle's right and bottom to fit the text. Returns the text's height, 0 on failure.
int DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format);
#define DrawText DrawTextA

// The width and height of the text's cell box in the DC's font.
BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, LPSIZE size);
#define GetTextExtentPoint32 GetTextExtentPoint32A
