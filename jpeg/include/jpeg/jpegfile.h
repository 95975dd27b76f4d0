// CJpegFile: JPEG files to and from packed top-down RGB buffers, and the byte-order and flip helpers.
#pragma once

// Buffers are packed rows with no padding, top row first, 3 bytes a pixel (red, green, blue).
// The class holds no state; calls on different objects may run on different threads at once.
class CJpegFile {
public:
    CJpegFile();
    virtual ~CJpegFile();

    // Writes widthPix x height pixels of dataBuf as a baseline JPEG file at quality `quality`: a colour
    // file when `color` is nonzero, a one-component grey file otherwise. Returns 1 when the file is
    // written, 0 for a null buffer, a zero size, no memory, a file that cannot be opened or any codec
    // error (a partly written file then stays on disk). Any thread.
    int RGBToJpegFile(const char* fileName, unsigned char* dataBuf, unsigned int widthPix,
                      unsigned int height, int color, int quality);

    // Decodes a JPEG file into a new buffer of width x height x 3 bytes (grey files too) and writes the
    // size to *width and *height. The buffer is the caller's; release it with delete[]. Returns null and
    // sets both sizes to 0 for a missing, unreadable, corrupt or truncated file or one whose picture would
    // exceed 256 MiB. Any thread.
    unsigned char* JpegFileToRGB(const char* fileName, unsigned long* width, unsigned long* height);

    // Exchanges bytes 0 and 2 of each of widthPix x height packed pixels in place. Returns 1, or 0 for a
    // null buffer. Any thread.
    int BGRFromRGB(unsigned char* buf, unsigned long widthPix, unsigned long height);

    // Turns `height` rows of widthBytes bytes upside down in place. Returns 1, or 0 for a null buffer or no
    // memory (the buffer is then unchanged). Any thread.
    int VertFlipBuf(unsigned char* inbuf, unsigned long widthBytes, unsigned long height);
};
