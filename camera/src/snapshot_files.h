// The files of a snapshot: a 24-bit BMP of the frame as delivered, or a JPEG of its packed rows.
#pragma once

#include <win32/dib.h>

namespace korvib {

// Writes the 14-byte file header, `format` and biSizeImage bytes of bottom-up rows to `path`. The file is
// written beside `path` under a temporary name and renamed when complete, so a failed write leaves neither
// a partial file nor a changed earlier one. False on any failure. Any thread.
[[nodiscard]] bool WriteBmpSnapshot(const char* path, const BITMAPINFOHEADER& format, const BYTE* pixels);

// Packs the bottom-up B, G, R rows (stride biSizeImage / biHeight) into top-down R, G, B rows and writes them
// as a colour JPEG of `quality`. False when the buffer cannot be allocated or the writer fails. Any thread.
[[nodiscard]] bool WriteJpegSnapshot(const char* path, const BITMAPINFOHEADER& format, const BYTE* pixels,
                                     int quality);

} // namespace korvib
