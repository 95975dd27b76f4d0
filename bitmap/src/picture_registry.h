// Loaded pictures by their working pixels, so a copy made from an object's pixels keeps its header block.
#pragma once

#include <win32/types.h>

class CRastel;

namespace rastel {

// Records that `pixels` are the working pixels of the loaded `owner` (without memory it records
// nothing). Any thread.
void registerPicture(const BYTE* pixels, const CRastel* owner);
// Forgets `pixels` (nothing happens for pixels not recorded). Any thread.
void unregisterPicture(const BYTE* pixels);
// The loaded object whose working pixels start at `pixels`, or null. Any thread; the object stays valid
// only as long as its owner keeps it.
const CRastel* pictureOwning(const BYTE* pixels);

} // namespace rastel
