// Fuzz input as a read-only stdio stream.
#pragma once

#include <cstdint>
#include <cstdio>

// The bytes as a stream the readers can seek in; null for empty input.
inline std::FILE* openMemoryFile(const uint8_t* data, size_t size) {
    return size == 0 ? nullptr : fmemopen(const_cast<uint8_t*>(data), size, "rb");
}
