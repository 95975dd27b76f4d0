// FrameRenderer: distinct rows from the palette and layout, amplifier and conversion per distinct row, noisy
// copies per frame row.
#include "frame_renderer.h"

#include "yuv_convert.h"

#include <win32/dib.h>

#include <cstring>
#include <map>

namespace platform::devices {
namespace {

constexpr LONG kCell = 8; // chart cell in pixels

} // namespace

const SceneLayout& FrameRenderer::layoutFor(const PictureParams& params, LONG width, LONG height)
{
    if (base_.scene != params.scene || base_.width != width || base_.height != height)
        base_ = layoutScene(params.scene, width, height);
    if (!params.frameCounter || params.scene != Scene::Natural)
        return base_;
    withCounter_ = base_;
    showFrameCounter(withCounter_, params.frameIndex);
    return withCounter_;
}

// One BGR row per (layout row, chart phase) pair that some frame row shows; the amplifier works along
// rows only, so it gives the same result on the distinct rows as on the whole frame.
void FrameRenderer::drawRows(const PictureParams& params, const SceneLayout& layout)
{
    const Palette palette = paletteFor(params);
    const std::size_t stride = std::size_t(DibStride(width_, 24));
    std::vector<int64_t> slot(layout.rows.size() * 2, -1);
    rowOf_.resize(std::size_t(height_));
    std::size_t count = 0;
    for (LONG y = 0; y < height_; ++y) {
        const std::size_t key = std::size_t(layout.rowOf[y]) * 2 + std::size_t((y / kCell) & 1);
        if (slot[key] < 0)
            slot[key] = int64_t(count++);
        rowOf_[y] = uint32_t(slot[key]);
    }
    rows_.assign(count * stride, 0);
    for (std::size_t key = 0; key < slot.size(); ++key) {
        if (slot[key] < 0)
            continue;
        const BYTE* materials = layout.rows[key / 2].data();
        const LONG phase = LONG(key & 1);
        BYTE* row = rows_.data() + std::size_t(slot[key]) * stride;
        for (LONG x = 0; x < width_; ++x)
            std::memcpy(row + x * 3, palette.bgr[materials[x]][((x / kCell) ^ phase) & 1], 3);
    }
    if (params.amplifier)
        applyAmplifier(*params.amplifier, width_, LONG(count), rows_.data());
}

void FrameRenderer::writeRgb(uint64_t frame, BYTE* out) const
{
    const std::size_t stride = std::size_t(DibStride(width_, 24)), used = std::size_t(width_) * 3;
    for (LONG y = 0; y < height_; ++y) {
        BYTE* row = out + std::size_t(height_ - 1 - y) * stride; // y counts from the top
        noise_.addToRow(rows_.data() + rowOf_[y] * stride, row, used, frame, uint64_t(y));
        std::memset(row + used, 0, stride - used);
    }
}

void FrameRenderer::writePacked(uint64_t frame, bool yFirst, BYTE* out)
{
    const std::size_t stride = std::size_t(DibStride(width_, 24)), bytes = std::size_t(width_) * 2;
    const std::size_t count = rows_.size() / stride;
    converted_.resize(count * bytes);
    for (std::size_t i = 0; i < count; ++i)
        packedRow(rows_.data() + i * stride, width_, converted_.data() + i * bytes, yFirst);
    for (LONG y = 0; y < height_; ++y)
        noise_.addToRow(converted_.data() + rowOf_[y] * bytes, out + std::size_t(y) * bytes, bytes, frame, uint64_t(y));
}

// Luma from each distinct row; chroma from each distinct pair of rows that a 2 x 2 block row covers.
void FrameRenderer::writePlanar(uint64_t frame, BYTE* out)
{
    const std::size_t stride = std::size_t(DibStride(width_, 24)), width = std::size_t(width_);
    const std::size_t count = rows_.size() / stride, half = width / 2;
    std::map<std::pair<uint32_t, uint32_t>, std::size_t> pairs;
    for (LONG y = 0; y + 1 < height_; y += 2)
        pairs.try_emplace({rowOf_[y], rowOf_[y + 1]}, pairs.size());
    converted_.resize(count * width + pairs.size() * half * 2);
    BYTE* luma = converted_.data();
    BYTE* chroma = luma + count * width;
    for (std::size_t i = 0; i < count; ++i)
        lumaRow(rows_.data() + i * stride, width_, luma + i * width);
    for (const auto& [rows, index] : pairs)
        chromaRows(rows_.data() + rows.first * stride, rows_.data() + rows.second * stride, width_,
                   chroma + index * half * 2, chroma + index * half * 2 + half);

    BYTE* uPlane = out + width * std::size_t(height_);
    BYTE* vPlane = uPlane + half * std::size_t(height_ / 2);
    for (LONG y = 0; y < height_; ++y)
        noise_.addToRow(luma + rowOf_[y] * width, out + std::size_t(y) * width, width, frame, uint64_t(y));
    for (LONG j = 0; j < height_ / 2; ++j) {
        const BYTE* u = chroma + pairs.at({rowOf_[2 * j], rowOf_[2 * j + 1]}) * half * 2;
        noise_.addToRow(u, uPlane + std::size_t(j) * half, half, frame, uint64_t(height_ + j));
        noise_.addToRow(u + half, vPlane + std::size_t(j) * half, half, frame, uint64_t(2 * height_ + j));
    }
}

void FrameRenderer::render(const PictureParams& params, const VideoFormat& format, BYTE* out)
{
    width_ = format.width;
    height_ = format.height;
    noise_.configure(params.noiseSigma, params.noiseKey);
    drawRows(params, layoutFor(params, width_, height_));
    switch (format.pixels) {
    case PixelFormat::Rgb24:
        writeRgb(params.frameIndex, out);
        return;
    case PixelFormat::Yuy2:
        writePacked(params.frameIndex, true, out);
        return;
    case PixelFormat::Uyvy:
        writePacked(params.frameIndex, false, out);
        return;
    case PixelFormat::I420:
        writePlanar(params.frameIndex, out);
        return;
    }
}

} // namespace platform::devices
