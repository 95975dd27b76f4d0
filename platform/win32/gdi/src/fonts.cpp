// CreateFont and CreateFontIndirect.
#include <cstring>

#include "handle_table.h"

using namespace platform::gdi;

HFONT CreateFontIndirectA(const LOGFONTA* font) {
    if (!font) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (font->lfEscapement != 0 || font->lfOrientation != 0 || font->lfWidth != 0) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    return static_cast<HFONT>(addObject(std::make_shared<Font>(*font)));
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCSTR faceName) {
    LOGFONTA font{};
    font.lfHeight = height;
    font.lfWidth = width;
    font.lfEscapement = escapement;
    font.lfOrientation = orientation;
    font.lfWeight = weight;
    font.lfItalic = static_cast<BYTE>(italic);
    font.lfUnderline = static_cast<BYTE>(underline);
    font.lfStrikeOut = static_cast<BYTE>(strikeOut);
    font.lfCharSet = static_cast<BYTE>(charSet);
    font.lfOutPrecision = static_cast<BYTE>(outPrecision);
    font.lfClipPrecision = static_cast<BYTE>(clipPrecision);
    font.lfQuality = static_cast<BYTE>(quality);
    font.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
    if (faceName)
        std::strncpy(font.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirectA(&font);
}
