// OverlayImages: the mask toggle, the dark-frame calibration and what each frame takes of them.
#include "overlay_images.h"

#include <cstdio>
#include <new>
#include <utility>

#include <win32/user.h>

#include <camera/korvib.h>

#include "camera_model.h"

namespace korvib {
namespace {

constexpr DWORD kNoKey = 0xFFFFFF;

// A new empty holder; null without memory.
std::shared_ptr<DibImage> NewHolder() {
    try {
        return std::make_shared<DibImage>();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace

int OverlayImages::ToggleMask(const char* path, DWORD key, bool beforeCallbacks) {
    {
        std::lock_guard<std::mutex> hold(lock_);
        maskBeforeCallbacks_ = beforeCallbacks;
        if (mask_ != nullptr) {
            mask_.reset();
            key_ = kNoKey;
            return KZ_ERR_FAILED;
        }
    }
    std::shared_ptr<DibImage> image = NewHolder();
    const bool loaded = image != nullptr && image->LoadBmp(path);
    std::lock_guard<std::mutex> hold(lock_);
    mask_ = std::move(image);
    if (!loaded) {
        return KZ_ERR_FAILED;
    }
    key_ = key;
    return KZ_OK;
}

int OverlayImages::Calibrate(const char* path, bool allFrames, bool snapshots) {
    if (path == nullptr) {
        return KZ_ERR_FAILED;
    }
    if (path[0] == '\0') {
        std::lock_guard<std::mutex> hold(lock_);
        darkOnEveryFrame_ = allFrames;
        darkOnSnapshots_ = snapshots;
        return KZ_OK;
    }
    {
        std::lock_guard<std::mutex> hold(lock_);
        darkFrame_.reset();
    }
    std::shared_ptr<DibImage> image = NewHolder();
    if (image == nullptr) {
        std::lock_guard<std::mutex> hold(lock_);
        darkOnEveryFrame_ = false;
        darkOnSnapshots_ = false;
        return KZ_ERR_FAILED;
    }
    if (!image->LoadBmp(path) || !image->CheckDarkFrame()) {
        // The maker's name and the camera's model name.
        char caption[64];
        std::snprintf(caption, sizeof(caption), "Veltrane %s", kCameraModelName);
        MessageBox(nullptr, "黑平衡操作失败!", caption, MB_OK);
        return KZ_ERR_FAILED;
    }
    std::lock_guard<std::mutex> hold(lock_);
    darkFrame_ = std::move(image);
    darkOnEveryFrame_ = allFrames;
    darkOnSnapshots_ = snapshots;
    return KZ_OK;
}

FrameOverlays OverlayImages::ForFrame(const BITMAPINFOHEADER& format) {
    std::lock_guard<std::mutex> hold(lock_);
    FrameOverlays overlays;
    if (mask_ != nullptr && mask_->MatchesFormat(format)) {
        overlays.mask = mask_;
    }
    if (darkFrame_ != nullptr && darkFrame_->MatchesFormat(format)) {
        overlays.darkFrame = darkFrame_;
    }
    overlays.key = key_;
    overlays.maskBeforeCallbacks = maskBeforeCallbacks_;
    overlays.darkOnEveryFrame = darkOnEveryFrame_;
    overlays.darkOnSnapshots = darkOnSnapshots_;
    return overlays;
}

void FrameOverlays::CorrectEveryFrame(BYTE* frame) const {
    if (darkFrame != nullptr && darkOnEveryFrame) {
        darkFrame->ApplyDarkFrame(frame);
    }
}

void FrameOverlays::CorrectSnapshot(BYTE* frame) const {
    if (darkFrame != nullptr && darkOnSnapshots && !darkOnEveryFrame) {
        darkFrame->ApplyDarkFrame(frame);
    }
}

void FrameOverlays::DrawEarlyMask(BYTE* frame) const {
    if (mask != nullptr && maskBeforeCallbacks) {
        mask->ApplyMask(frame, key);
    }
}

void FrameOverlays::DrawLateMask(BYTE* frame) const {
    if (mask != nullptr && !maskBeforeCallbacks) {
        mask->ApplyMask(frame, key);
    }
}

} // namespace korvib
