// libjpeg compression and decompression of packed rows, with errors returned instead of exiting.
#pragma once

#include <cstdio>

namespace jpegfile {

enum class WriteResult { Written, OpenFailed, CodecFailed };

// Writes `height` rows of width x components bytes (components 3: RGB, 1: grey) to a new baseline JPEG
// file at `path`. Codec warnings are shown through showCodecWarning. Any thread.
[[nodiscard]] WriteResult writeJpeg(const char* path, const unsigned char* pixels, unsigned width,
                                    unsigned height, int components, int quality);

// Decodes the JPEG data of `file` into a new[] buffer of packed RGB rows, top row first, and writes its
// size. Returns null (sizes untouched) when the data is not JPEG, is corrupt or truncated (any
// corrupt-data warning counts), or holds more than maxBytes of RGB pixels. Any thread.
[[nodiscard]] unsigned char* readJpeg(std::FILE* file, unsigned long maxBytes, unsigned long* width,
                                      unsigned long* height);

} // namespace jpegfile
