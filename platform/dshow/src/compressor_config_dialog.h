// A compressor's own configuration dialog: quality, key-frame interval and bit rate, as the encoder has them.
#pragma once

#include <string>

#include <win32/user.h>

#include "known_encoders.h"

namespace platform::dshow {

// Control ids of the dialog's edit boxes; an encoder's dialog has those of the settings it has.
constexpr int kQualityEdit = 0x3101;
constexpr int kKeyFramesEdit = 0x3102;
constexpr int kBitRateEdit = 0x3103;

// Shows the dialog captioned `title` (UTF-8) modally over `owner` (may be null) with `settings` filled in (the encoder's defaults
// where -1). OK (or Enter) stores the entered values, clamped to their ranges, in `settings` and gives
// S_OK; Cancel, Esc or closing leaves it and gives S_FALSE. E_FAIL when the window cannot be made. GUI thread.
HRESULT showCompressorConfig(HWND owner, const std::string& title, const KnownEncoder& encoder,
                             CompressorSettings& settings);

} // namespace platform::dshow
