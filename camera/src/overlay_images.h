// OverlayImages: the overlay mask and the dark frame of a device, loaded on the caller's thread and laid
// on frames by the streaming thread.
#pragma once

#include <memory>
#include <mutex>

#include <win32/dib.h>

#include "dib_image.h"

namespace korvib {

// What one frame uses: the images that match its format, with the switches in force when it began.
struct FrameOverlays {
    std::shared_ptr<const DibImage> mask;      // null unless loaded and of the frame's format
    std::shared_ptr<const DibImage> darkFrame; // likewise
    DWORD key = 0xFFFFFF;
    bool maskBeforeCallbacks = false;
    bool darkOnEveryFrame = false;
    bool darkOnSnapshots = false;

    // The pipeline's steps, each a no-op without its image. Streaming thread.
    void CorrectEveryFrame(BYTE* frame) const;
    void CorrectSnapshot(BYTE* frame) const;
    void DrawEarlyMask(BYTE* frame) const;
    void DrawLateMask(BYTE* frame) const;
};

class OverlayImages {
public:
    OverlayImages() = default;
    OverlayImages(const OverlayImages&) = delete;
    OverlayImages& operator=(const OverlayImages&) = delete;

    // Removes a mask that is present (key back to 0xFFFFFF, KZ_ERR_FAILED), else loads one from `path`:
    // KZ_OK with `key` in force, or KZ_ERR_FAILED leaving an empty mask that the next call removes.
    // `beforeCallbacks` is taken on every call. Caller's thread.
    [[nodiscard]] int ToggleMask(const char* path, DWORD key, bool beforeCallbacks);

    // The empty path only sets the two switches. Otherwise replaces the dark frame with the one at `path`
    // and sets the switches: KZ_OK; KZ_ERR_FAILED after the box "黑平衡操作失败!" when the file cannot be
    // loaded or has more than 2000 defects (no dark frame remains, the switches stay). A null path:
    // KZ_ERR_FAILED, nothing changed. Caller's thread.
    [[nodiscard]] int Calibrate(const char* path, bool allFrames, bool snapshots);

    // The images matching `format` and the switches, taken together. Streaming thread.
    [[nodiscard]] FrameOverlays ForFrame(const BITMAPINFOHEADER& format);

private:
    // Guards every member below; held only to copy or replace them, never while a frame is worked on.
    std::mutex lock_;
    std::shared_ptr<const DibImage> mask_; // present but empty after a failed load
    std::shared_ptr<const DibImage> darkFrame_;
    DWORD key_ = 0xFFFFFF;
    bool maskBeforeCallbacks_ = false;
    bool darkOnEveryFrame_ = false;
    bool darkOnSnapshots_ = false;
};

} // namespace korvib
