// DibImage::ApplyMask: the overlay mask drawn into a frame, its key-coloured pixels left transparent.
#include "dib_image.h"

namespace korvib {

void DibImage::ApplyMask(BYTE* frame, DWORD key) const {
    const BYTE keyBlue = static_cast<BYTE>(key);
    const BYTE keyGreen = static_cast<BYTE>(key >> 8);
    const BYTE keyRed = static_cast<BYTE>(key >> 16);
    for (LONG row = 0; row < height_; ++row) {
        const BYTE* mask = pixels_.data() + row * stride_;
        BYTE* target = frame + row * stride_;
        for (LONG column = 0; column < width_; ++column, mask += 3, target += 3) {
            if (mask[0] != keyBlue || mask[1] != keyGreen || mask[2] != keyRed) {
                target[0] = mask[0];
                target[1] = mask[1];
                target[2] = mask[2];
            }
        }
    }
}

} // namespace korvib
