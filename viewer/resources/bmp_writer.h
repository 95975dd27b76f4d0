// Writing a QImage as a 24-bit bottom-up BMP file.
#pragma once

#include <QImage>
#include <QString>

// Writes `image` as an uncompressed 24-bit BMP (BITMAPINFOHEADER, bottom-up rows padded to 4 bytes).
// Returns false when the file cannot be written.
bool writeBmp24(const QImage& image, const QString& path);
