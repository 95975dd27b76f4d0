// 24-bit BMP writer for the generated pictures.
#include "bmp_writer.h"

#include <QFile>

#include "byte_writer.h"

#include <cstdint>
#include <vector>

bool writeBmp24(const QImage& source, const QString& path) {
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    const int width = image.width();
    const int height = image.height();
    const uint32_t stride = (uint32_t(width) * 3 + 3) & ~3u;
    const uint32_t pixelBytes = stride * uint32_t(height);
    const uint32_t offset = 14 + 40;

    std::vector<char> out;
    out.reserve(offset + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, offset + pixelBytes);
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, uint32_t(width));
    put32(out, uint32_t(height));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0); // BI_RGB
    put32(out, pixelBytes);
    put32(out, 2835); // 72 dpi
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        const uchar* row = image.constScanLine(y);
        for (int x = 0; x < width; ++x) {
            out.push_back(char(row[3 * x + 2]));
            out.push_back(char(row[3 * x + 1]));
            out.push_back(char(row[3 * x]));
        }
        for (uint32_t pad = uint32_t(width) * 3; pad < stride; ++pad)
            out.push_back(0);
    }

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(out.data(), qint64(out.size())) == qint64(out.size());
}
