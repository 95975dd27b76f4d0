// One frame of a motion-JPEG camera decoded into the layer's RGB24 layout.
#pragma once

#include <win32/types.h>

#include <cstddef>

namespace platform::devices {

// Decodes the JPEG picture in `data` into `dib`: bottom-up BGR rows padded to 4 bytes, `width` by
// `height`. False, with `dib` in any state, when the data is not a whole JPEG picture of that size.
bool decodeMjpegFrame(const BYTE* data, std::size_t bytes, LONG width, LONG height, BYTE* dib);

} // namespace platform::devices
