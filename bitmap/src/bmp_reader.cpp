// BMP file reader: checks every size against the file before it allocates, and brings every form it reads
// to a 40-byte info header over bottom-up rows of 1, 4, 8 or 24 bits.
#include "bmp_decoders.h"
#include "bmp_file.h"

#include <algorithm>
#include <functional>
#include <new>
#include <vector>

namespace rastel {
namespace {

constexpr uint64_t kFileHeaderSize = kBitmapFileHeaderSize;
constexpr uint64_t kCoreHeaderSize = 12;
constexpr uint64_t kInfoHeaderSize = sizeof(BITMAPINFOHEADER);
// Info headers of this size and larger hold the red, green and blue masks in their bytes 40 to 51.
constexpr uint64_t kMaskedHeaderSize = 52;
// Runs of 255 pixels at two bytes a run fill at most 128 bytes of picture for each byte of run-length
// data; beyond a picture of kAnyRunLengthPicture bytes, one more than kRunLengthExpansion times its
// data is refused before it is allocated.
constexpr uint64_t kAnyRunLengthPicture = uint64_t{1} << 20;
constexpr uint64_t kRunLengthExpansion = 256;

uint16_t le16(const BYTE* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t le32(const BYTE* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

BITMAPINFOHEADER parseInfoHeader(const BYTE* p) {
    BITMAPINFOHEADER header;
    header.biSize = le32(p);
    header.biWidth = static_cast<LONG>(le32(p + 4));
    header.biHeight = static_cast<LONG>(le32(p + 8));
    header.biPlanes = le16(p + 12);
    header.biBitCount = le16(p + 14);
    header.biCompression = le32(p + 16);
    header.biSizeImage = le32(p + 20);
    header.biXPelsPerMeter = static_cast<LONG>(le32(p + 24));
    header.biYPelsPerMeter = static_cast<LONG>(le32(p + 28));
    header.biClrUsed = le32(p + 32);
    header.biClrImportant = le32(p + 36);
    return header;
}

// A core header's fields in the info header's form.
BITMAPINFOHEADER parseCoreHeader(const BYTE* p) {
    BITMAPINFOHEADER header{};
    header.biSize = le32(p);
    header.biWidth = le16(p + 4);
    header.biHeight = le16(p + 6);
    header.biPlanes = le16(p + 8);
    header.biBitCount = le16(p + 10);
    header.biCompression = BI_RGB;
    return header;
}

bool readAt(std::FILE* file, uint64_t offset, void* target, size_t bytes) {
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0 &&
           std::fread(target, 1, bytes, file) == bytes;
}

bool fileLength(std::FILE* file, uint64_t& length) {
    if (fseeko(file, 0, SEEK_END) != 0)
        return false;
    const off_t end = ftello(file);
    length = static_cast<uint64_t>(end);
    return end >= 0;
}

// What a file's headers say about its pixels.
struct SourceForm {
    BITMAPINFOHEADER header{}; // a core header widened to this form
    bool core = false;         // core files hold 3-byte colour entries and no colour count
    uint64_t offBits = 0;
    uint64_t tableOffset = 0;
    DWORD entries = 0; // colour entries to read
    ChannelMasks masks{};
    uint64_t dataSize = 0; // bytes of pixel data from offBits on
};

bool runLengthCoded(const BITMAPINFOHEADER& header) {
    return header.biCompression == BI_RLE8 || header.biCompression == BI_RLE4;
}

uint64_t rowCount(const BITMAPINFOHEADER& header) {
    return header.biHeight < 0 ? -static_cast<int64_t>(header.biHeight) : header.biHeight;
}

// Finds the pixel data: the uncompressed rows, which must lie inside the file and hold at most
// kMaxPixelBytes, or the run-length data from the pixel offset to the end of the file (of which no more
// than kMaxPixelBytes is read) for a picture of `imageSize` bytes held.
bool locatePixelData(SourceForm& form, uint64_t length, uint64_t imageSize) {
    if (form.offBits > length)
        return false;
    const BITMAPINFOHEADER& header = form.header;
    if (runLengthCoded(header)) {
        form.dataSize = std::min(length - form.offBits, kMaxPixelBytes);
        return imageSize <= kAnyRunLengthPicture || imageSize <= kRunLengthExpansion * form.dataSize;
    }
    form.dataSize = pixelBytes(static_cast<uint64_t>(header.biWidth), header.biBitCount, rowCount(header));
    return form.dataSize <= kMaxPixelBytes && form.dataSize <= length - form.offBits;
}

// Reads the core or info header that follows the file header.
bool readHeader(std::FILE* file, SourceForm& form) {
    BYTE raw[kMaskedHeaderSize];
    if (!readAt(file, kFileHeaderSize, raw, 4))
        return false;
    const uint32_t size = le32(raw);
    if (size == kCoreHeaderSize) {
        if (!readAt(file, kFileHeaderSize, raw, kCoreHeaderSize))
            return false;
        form.header = parseCoreHeader(raw);
        form.core = true;
        return true;
    }
    if (size < kInfoHeaderSize || !readAt(file, kFileHeaderSize, raw, std::min<uint64_t>(size, sizeof raw)))
        return false;
    form.header = parseInfoHeader(raw);
    if (size >= kMaskedHeaderSize)
        form.masks = {le32(raw + 40), le32(raw + 44), le32(raw + 48)};
    return true;
}

// The compressions and depths read: uncompressed 1, 2, 4, 8, 16, 24 or 32 bits (1, 4, 8 or 24 under a
// core header), run-length coded 8 or 4 bits stored bottom-up, bit fields at 16 or 32 bits.
bool formAccepted(const SourceForm& form) {
    const BITMAPINFOHEADER& header = form.header;
    const int bits = header.biBitCount;
    if (header.biWidth <= 0 || header.biHeight == 0)
        return false;
    switch (header.biCompression) {
    case BI_RGB:
        return bits == 1 || bits == 4 || bits == 8 || bits == 24 ||
               (!form.core && (bits == 2 || bits == 16 || bits == 32));
    case BI_RLE8:
        return bits == 8 && header.biHeight > 0;
    case BI_RLE4:
        return bits == 4 && header.biHeight > 0;
    case BI_BITFIELDS:
    case BI_ALPHABITFIELDS:
        return bits == 16 || bits == 32;
    default:
        return false;
    }
}

// The channel masks of 16 and 32-bit pixels: 5-5-5 or 8-8-8 without bit fields; with them, from the
// header's own bytes or else from the 12 bytes (16 with an alpha mask) after a 40-byte header, which
// must lie before the pixels.
bool readMasks(std::FILE* file, SourceForm& form) {
    const BITMAPINFOHEADER& header = form.header;
    if (header.biCompression == BI_RGB) {
        form.masks = header.biBitCount == 16 ? ChannelMasks{0x7C00, 0x03E0, 0x001F}
                                             : ChannelMasks{0xFF0000, 0xFF00, 0xFF};
        return true;
    }
    if (header.biSize == kInfoHeaderSize) {
        const uint64_t maskBytes = header.biCompression == BI_ALPHABITFIELDS ? 16 : 12;
        BYTE raw[12];
        if (kFileHeaderSize + kInfoHeaderSize + maskBytes > form.offBits ||
            !readAt(file, kFileHeaderSize + kInfoHeaderSize, raw, sizeof raw))
            return false;
        form.masks = {le32(raw), le32(raw + 4), le32(raw + 8)};
    } else if (header.biSize < kMaskedHeaderSize) {
        return false;
    }
    return masksUsable(form.masks, header.biBitCount);
}

// Colour entries to read: biClrUsed, or the depth's full count when it is 0; under a core header, which
// holds no count, as many as lie before the pixels, up to the full count. 16 and 32-bit files keep
// none. False when the count exceeds what the depth can index or the table runs into the pixels.
bool countColours(SourceForm& form) {
    const BITMAPINFOHEADER& header = form.header;
    const int bits = header.biBitCount;
    const DWORD full = bits <= 8 ? DWORD{1} << bits : 0;
    form.tableOffset = kFileHeaderSize + header.biSize;
    const uint64_t entryBytes = form.core ? 3 : 4;
    if (form.core) {
        const uint64_t room = form.offBits > form.tableOffset ? (form.offBits - form.tableOffset) / 3 : 0;
        form.entries = static_cast<DWORD>(std::min<uint64_t>(full, room));
        if (bits <= 8 && form.entries == 0)
            return false;
    } else if (bits == 16 || bits == 32) {
        form.entries = 0;
    } else {
        // A 24-bit file may carry a table for display on palette devices; it is kept.
        form.entries = header.biClrUsed != 0 ? header.biClrUsed : full;
        if (form.entries > (bits <= 8 ? full : 256))
            return false;
    }
    return form.tableOffset + entryBytes * form.entries <= form.offBits;
}

// The depth a file's pixels are held at: 2 bits widen to 4, 16 and 32 bits become 24.
int heldDepth(int bits) {
    if (bits == 2)
        return 4;
    return bits == 16 || bits == 32 ? 24 : bits;
}

bool readColours(std::FILE* file, const SourceForm& form, RGBQUAD* table) {
    if (!form.core)
        return readAt(file, form.tableOffset, table, size_t{4} * form.entries);
    std::vector<BYTE> triples(size_t{3} * form.entries);
    if (!readAt(file, form.tableOffset, triples.data(), triples.size()))
        return false;
    for (DWORD i = 0; i < form.entries; ++i)
        table[i] = RGBQUAD{triples[3 * i], triples[3 * i + 1], triples[3 * i + 2], 0};
    return true;
}

// Each 2-bit index to a 4-bit one.
void widenTwoBitRow(const BYTE* source, BYTE* target, LONG width) {
    for (LONG x = 0; x < width; ++x) {
        const BYTE index = (source[x / 4] >> (6 - 2 * (x % 4))) & 3;
        target[x / 2] |= static_cast<BYTE>(x % 2 == 0 ? index << 4 : index);
    }
}

void turnRowsOver(BYTE* pixels, size_t stride, size_t rows) {
    for (size_t top = 0, bottom = rows; top + 1 < bottom; ++top, --bottom) {
        BYTE* upper = pixels + top * stride;
        std::swap_ranges(upper, upper + stride, pixels + (bottom - 1) * stride);
    }
}

// Reads uncompressed rows into `pixels` (bottom-up at `heldBits`, zero-filled), converting each row
// where the file's depth is another. False when a read fails or memory runs out.
bool readRows(std::FILE* file, const SourceForm& form, int heldBits, BYTE* pixels) {
    const BITMAPINFOHEADER& header = form.header;
    const int bits = header.biBitCount;
    const uint64_t rows = rowCount(header);
    const size_t heldStride = static_cast<size_t>(DibStride(header.biWidth, static_cast<WORD>(heldBits)));
    if (bits == heldBits) {
        if (!readAt(file, form.offBits, pixels, form.dataSize))
            return false;
        if (header.biHeight < 0)
            turnRowsOver(pixels, heldStride, rows);
        return true;
    }
    std::unique_ptr<BYTE[]> source(new (std::nothrow) BYTE[form.dataSize]);
    if (!source || !readAt(file, form.offBits, source.get(), form.dataSize))
        return false;
    std::function<void(const BYTE*, BYTE*)> convertRow;
    if (bits == 2) {
        convertRow = [&](const BYTE* from, BYTE* to) { widenTwoBitRow(from, to, header.biWidth); };
    } else {
        const BitFieldPixels fields(form.masks, bits);
        convertRow = [fields, &header](const BYTE* from, BYTE* to) { fields.convertRow(from, to, header.biWidth); };
    }
    const size_t sourceStride = form.dataSize / rows;
    for (size_t row = 0; row < rows; ++row) {
        const size_t held = header.biHeight < 0 ? rows - 1 - row : row;
        convertRow(source.get() + row * sourceStride, pixels + held * heldStride);
    }
    return true;
}

// Decodes the run-length data into `pixels` (zero-filled).
bool readRunLength(std::FILE* file, const SourceForm& form, BYTE* pixels) {
    std::unique_ptr<BYTE[]> data(new (std::nothrow) BYTE[std::max<uint64_t>(form.dataSize, 1)]);
    return data && readAt(file, form.offBits, data.get(), form.dataSize) &&
           decodeRunLength(data.get(), form.dataSize, form.header.biBitCount, form.header.biWidth,
                           form.header.biHeight, pixels);
}

} // namespace

bool readBmpFile(std::FILE* file, BmpImage& image) {
    BYTE fileHeader[kFileHeaderSize];
    if (std::fread(fileHeader, 1, sizeof fileHeader, file) != sizeof fileHeader ||
        le16(fileHeader) != ORV_BMP_FILE_TYPE)
        return false;
    SourceForm form;
    form.offBits = le32(fileHeader + 10);
    if (!readHeader(file, form) || form.offBits < kFileHeaderSize + form.header.biSize || !formAccepted(form))
        return false;
    const BITMAPINFOHEADER& header = form.header;
    const int bits = header.biBitCount;
    const bool masked = bits == 16 || bits == 32;
    if ((masked && !readMasks(file, form)) || !countColours(form))
        return false;
    const int heldBits = heldDepth(bits);
    const uint64_t rows = rowCount(header);
    const uint64_t imageSize = pixelBytes(static_cast<uint64_t>(header.biWidth), heldBits, rows);
    uint64_t length = 0;
    if (imageSize > kMaxPixelBytes || !fileLength(file, length) || !locatePixelData(form, length, imageSize))
        return false;

    HeaderBlock info = newHeaderBlock(form.entries);
    std::unique_ptr<BYTE[]> pixels(new (std::nothrow) BYTE[imageSize]());
    if (!info || !pixels || !readColours(file, form, colorTableOf(info.get())))
        return false;
    if (runLengthCoded(header) ? !readRunLength(file, form, pixels.get())
                               : !readRows(file, form, heldBits, pixels.get()))
        return false;

    BITMAPINFOHEADER held = header;
    held.biSize = kInfoHeaderSize;
    held.biHeight = static_cast<LONG>(rows);
    held.biBitCount = static_cast<WORD>(heldBits);
    if (held.biCompression != BI_RGB || heldBits != bits) {
        held.biCompression = BI_RGB;
        held.biSizeImage = 0;
        held.biClrImportant = 0;
    }
    held.biClrUsed = header.biClrUsed == 0 && form.entries == standardColorEntries(heldBits) ? 0 : form.entries;
    info->bmiHeader = held;
    image.info = std::move(info);
    image.pixels = std::move(pixels);
    return true;
}

} // namespace rastel
