// DibImage: a 24-bit BMP file held in memory, as the overlay mask or the dark frame laid on live frames.
#pragma once

#include <vector>

#include <win32/dib.h>

namespace korvib {

// Created empty; LoadBmp fills it. After a successful load the image is only read, so one loaded holder
// may be shared by the caller's thread and the streaming thread.
class DibImage {
public:
    DibImage() = default;
    DibImage(const DibImage&) = delete;
    DibImage& operator=(const DibImage&) = delete;

    // Reads an uncompressed 24-bit BMP file (Windows path). The file's rows stay as stored, a top-down file
    // keeps its negative height. False, with the holder empty, when the file cannot be opened, is no BMP,
    // has another bit count or a compression, or is shorter than its headers and rows say. Any thread.
    [[nodiscard]] bool LoadBmp(const char* path);

    // Empties the holder. Any thread that owns it.
    void Reset();

    // True when the holder is loaded and its bit count, width and height equal those of `format`.
    [[nodiscard]] bool MatchesFormat(const BITMAPINFOHEADER& format) const;

    // Draws the image into `frame`, a frame of this image's format: every pixel whose blue, green and red
    // bytes differ from `key` (0x00RRGGBB) in any byte replaces the frame's pixel. Only after MatchesFormat.
    void ApplyMask(BYTE* frame, DWORD key) const;

    // Replaces each pixel of `frame` under a defect of this dark frame (a byte above 64) by the nearest
    // good pixel to its left in the row, or, at the start of a row, to its right. Only after MatchesFormat.
    void ApplyDarkFrame(BYTE* frame) const;

    // True when at most 2000 pixels of the dark frame are defects.
    [[nodiscard]] bool CheckDarkFrame() const;

private:
    // True when the pixel at byte `offset` of the dark frame has a blue, green or red byte above 64.
    [[nodiscard]] bool Defective(std::size_t offset) const;

    LONG width_ = 0;
    LONG height_ = 0;        // biHeight as stored: negative for a top-down file
    std::size_t stride_ = 0; // bytes per row, padded to a multiple of 4
    std::vector<BYTE> pixels_; // stride x |height| bytes of rows as stored
    bool loaded_ = false;
};

} // namespace korvib
