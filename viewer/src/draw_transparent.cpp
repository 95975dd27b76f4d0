// DrawTransparent: a block transfer that leaves the destination unchanged where the source has one colour.
#include "orvanel_dlg.h"

// Copies (stretching when the sizes differ) the source rectangle into a colour bitmap, builds a monochrome
// mask of the transparent colour from it, blacks the transparent pixels out of the copy, then ANDs the mask
// onto the destination and ORs the copy over it. The destination's background and text colours are left
// white and black.
void DrawTransparent(CDC* dst, int x, int y, int width, int height, CDC* src, int xSrc, int ySrc,
                     int srcWidth, int srcHeight, COLORREF transparent) {
    CBitmap colour;
    CBitmap mask;
    CDC colourDC;
    CDC maskDC;
    if (!colour.CreateCompatibleBitmap(dst, width, height) ||
        !mask.Attach(::CreateBitmap(width, height, 1, 1, nullptr)) || !colourDC.CreateCompatibleDC(dst) ||
        !maskDC.CreateCompatibleDC(dst))
        return;
    CBitmap* oldColour = colourDC.SelectObject(&colour);
    CBitmap* oldMask = maskDC.SelectObject(&mask);

    if (width == srcWidth && height == srcHeight)
        colourDC.BitBlt(0, 0, width, height, src, xSrc, ySrc, SRCCOPY);
    else
        colourDC.StretchBlt(0, 0, width, height, src, xSrc, ySrc, srcWidth, srcHeight, SRCCOPY);

    colourDC.SetBkColor(transparent);
    maskDC.BitBlt(0, 0, width, height, &colourDC, 0, 0, SRCCOPY);

    colourDC.SetBkColor(RGB(0, 0, 0));
    colourDC.SetTextColor(RGB(255, 255, 255));
    colourDC.BitBlt(0, 0, width, height, &maskDC, 0, 0, SRCAND);

    dst->SetBkColor(RGB(255, 255, 255));
    dst->SetTextColor(RGB(0, 0, 0));
    dst->BitBlt(x, y, width, height, &maskDC, 0, 0, SRCAND);
    dst->BitBlt(x, y, width, height, &colourDC, 0, 0, SRCPAINT);

    colourDC.SelectObject(oldColour);
    maskDC.SelectObject(oldMask);
}
