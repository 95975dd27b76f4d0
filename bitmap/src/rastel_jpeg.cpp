// CRastel JPEG files: saving a 24-bit picture through CJpegFile.
#include <bitmap/rastel.h>

#include <jpeg/jpegfile.h>

#include <cstddef>
#include <memory>
#include <new>

// Writes the working pixels as a colour JPEG file of quality 75 (overlays never reach it). The second
// argument is not used. Returns 1 written, or 0 when the object is not loaded or not 24-bit, `path` is
// null, memory runs out or the writer fails (see CJpegFile::RGBToJpegFile). Caller's thread.
int CRastel::SaveToJpegFile(const char* path, int) {
    if (!m_bValid || !path || m_pInfo->bmiHeader.biBitCount != 24)
        return 0;
    const size_t rowBytes = static_cast<size_t>(m_nWidth) * 3;
    std::unique_ptr<unsigned char[]> rgb(new (std::nothrow) unsigned char[rowBytes * m_nHeight]);
    if (!rgb)
        return 0;
    // Packed top-down rows of red, green, blue from the bottom-up blue, green, red rows.
    for (LONG row = 0; row < m_nHeight; ++row) {
        const BYTE* from = m_pImage + static_cast<size_t>(m_nHeight - 1 - row) * m_nStride;
        unsigned char* to = rgb.get() + static_cast<size_t>(row) * rowBytes;
        for (size_t i = 0; i < rowBytes; i += 3) {
            to[i] = from[i + 2];
            to[i + 1] = from[i + 1];
            to[i + 2] = from[i];
        }
    }
    CJpegFile writer;
    return writer.RGBToJpegFile(path, rgb.get(), static_cast<unsigned int>(m_nWidth),
                                static_cast<unsigned int>(m_nHeight), 1, 75);
}
