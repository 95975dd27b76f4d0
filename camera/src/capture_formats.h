// The capture format table (KZ_PARAM_FORMAT rows) and the patch that applies a row to a media type.
#pragma once

#include <dshow/media_type.h>

namespace korvib {

struct CaptureFormat {
    const GUID* subtype;
    WORD bits;
    bool needsDecoder; // the AVI Decompressor goes between the source and the grabber
};

constexpr int kCaptureFormatCount = 9;

// Row `index` of the table, or null outside 0..8.
const CaptureFormat* FindCaptureFormat(int index);

// True when a 24-bit frame of width x height fits the frame-copy buffers (both sizes positive).
bool FitsFrameCopyBuffers(int width, int height);

// Patches a video media type (VIDEOINFOHEADER format block) with the row and the capture size: subtype,
// bit count, compression (the subtype's first 32 bits), width, height, image and sample size.
void PatchVideoFormat(AM_MEDIA_TYPE& type, const CaptureFormat& row, int width, int height);

} // namespace korvib
