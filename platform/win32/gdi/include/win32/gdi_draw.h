// Lines and shapes drawn with the DC's pen and brush through its raster operation.
#pragma once

#include <win32/types.h>

// Every function here draws pixel-exactly without antialiasing; rectangles exclude their right and bottom
// edges, and a line excludes its end point. Dashed and dotted pens dash straight lines; ellipses and arcs
// are drawn solid with them. Each returns FALSE (0) with ERROR_INVALID_HANDLE for a stale
// DC. Any thread that uses the DC.

// Moves the current position; the old one goes to `old` when given.
BOOL MoveToEx(HDC dc, int x, int y, LPPOINT old);
// A line from the current position to (x, y), which becomes the current position.
BOOL LineTo(HDC dc, int x, int y);
// Outlined with the pen, filled with the brush.
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
// A closed polygon, interior by the alternate rule.
BOOL Polygon(HDC dc, const POINT* points, int count);
// Part of the ellipse in the rectangle, counter-clockwise from the ray through (xStart, yStart) to the ray
// through (xEnd, yEnd); equal rays draw the whole ellipse. The current position stays.
BOOL Arc(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
// Fill, or frame one pixel wide, a rectangle with `brush` (not the selected one); R2_COPYPEN always.
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
