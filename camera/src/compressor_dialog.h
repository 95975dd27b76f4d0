// The compressor selection dialog behind KZ_SelectCompressor.
#pragma once

namespace korvib {

// Creates and shows a further modeless selection dialog (no owner); its messages run on the calling
// thread's message loop. False when the dialog cannot be created. Caller's (GUI) thread.
bool ShowCompressorDialog();

} // namespace korvib
