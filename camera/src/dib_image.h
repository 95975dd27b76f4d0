// DibImage: a 24-bit BMP file held in memory, as the overlay mask or the dark frame laid on live frames.
#pragma once

#include <cstdio>
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

    // Reads an uncompressed BMP file (Windows path) of 1, 4, 8, 16, 24 or 32 bits. The file's rows stay as
    // stored, a top-down file keeps its negative height, a file of height 0 holds no row. False, with the
    // holder empty, when the file cannot be opened, is no BMP, has another bit count, a compression or no
    // width, or is shorter than its headers and rows say. Any thread.
    [[nodiscard]] bool LoadBmp(const char* path);
    // The same from an open stream positioned at the file's start.
    [[nodiscard]] bool ReadBmp(std::FILE* file);

    // Empties the holder. Any thread that owns it.
    void Reset();

    // True when the holder is loaded and its bit count, width and height equal those of `format`, a 24-bit
    // one: the image operations below work on 24-bit pixels only. Any thread.
    [[nodiscard]] bool MatchesFormat(const BITMAPINFOHEADER& format) const;

    // Draws the image into `frame`, a frame of this image's format: every pixel whose blue, green and red
    // bytes differ from `key` (0x00RRGGBB) in any byte replaces the frame's pixel. Only after MatchesFormat;
    // streaming thread.
    void ApplyMask(BYTE* frame, DWORD key) const;

    // Collects the defects of this dark frame (pixels with a byte above 64) for ApplyDarkFrame. False, with
    // none kept, when it is not a 24-bit image or has more than 2000 defects. Caller's thread, before the
    // holder is shared.
    [[nodiscard]] bool CheckDarkFrame();

    // Replaces each pixel of `frame` under a defect found by CheckDarkFrame by the nearest good pixel to its
    // left in the row, or, at the start of a row, to its right. Only after MatchesFormat; streaming thread.
    void ApplyDarkFrame(BYTE* frame) const;

private:
    struct Defect {
        LONG row;
        LONG column;
    };

    // True when the pixel at byte `offset` of the dark frame has a blue, green or red byte above 64.
    [[nodiscard]] bool Defective(std::size_t offset) const;
    // Copies the pixel in column `end` of `row` over columns 0 to end - 1, when that row has such a pixel.
    void FillRowStart(BYTE* frame, LONG row, LONG end) const;

    LONG width_ = 0;
    LONG height_ = 0; // biHeight as stored: negative for a top-down file
    WORD bitCount_ = 0;
    std::size_t stride_ = 0;      // bytes per row, padded to a multiple of 4
    std::vector<BYTE> pixels_;    // stride x |height| bytes of rows as stored
    std::vector<Defect> defects_; // row by row, left to right
    bool loaded_ = false;
};

} // namespace korvib
