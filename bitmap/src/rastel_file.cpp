// CRastel BMP files: loading a picture from a file and saving the working pixels to one.
#include <bitmap/rastel.h>

#include "bmp_file.h"

#include <cstdio>

// Loads the BMP file at `path` (see readBmpFile for what is refused). The object is emptied first, also
// losing zoom, stretch, split and the draw callback. Returns 1 loaded, 0 (object empty) when the file
// cannot be opened or read, is refused, or memory runs out.
int CRastel::ReadBitmap(const char* path) {
    DeAllocateBuffer();
    InitialParam();
    std::FILE* file = path ? std::fopen(path, "rb") : nullptr;
    if (!file)
        return 0;
    rastel::BmpImage image;
    const bool read = rastel::readBmpFile(file, image);
    std::fclose(file);
    if (!read)
        return 0;
    return TakePicture(image.info.release(), image.pixels.release());
}

// Writes the header block and the working pixels (never the display copy) as a BMP file, replacing any
// file at `path`. Returns 0 written, -1 when the object is empty or the file cannot be created or
// written in full.
int CRastel::SaveBitmap(const char* path) {
    if (!m_bValid || !path)
        return -1;
    std::FILE* file = std::fopen(path, "wb");
    if (!file)
        return -1;
    const bool written = rastel::writeBmpFile(file, m_pInfo, m_nColorEntries, m_pImage, m_nImageSize);
    const bool closed = std::fclose(file) == 0;
    return written && closed ? 0 : -1;
}
