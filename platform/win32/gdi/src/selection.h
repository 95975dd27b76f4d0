// Selecting objects into DCs and taking them out again, with the selection counts kept.
#pragma once

#include "gdi_object.h"

namespace platform::gdi {

// Fills a new DC's slots with the defaults (black pen, white brush, system font; for a memory DC the stock
// bitmap). Caller holds tableMutex().
void selectDefaultsLocked(DeviceContext& dc);

// Takes every object out of `dc` and removes it from the table. Caller holds tableMutex().
void releaseDcLocked(DeviceContext& dc);

} // namespace platform::gdi
