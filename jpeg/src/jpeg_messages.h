// Message boxes that CJpegFile shows to the user.
#pragma once

namespace jpegfile {

// "Memory Error" captioned "Error", with no owner. Any thread.
void showMemoryError();
// The output file `fileName` cannot be opened, captioned "Error", with no owner. Any thread.
void showOpenFailure(const char* fileName);
// A libjpeg warning text, captioned "JPEG Error", owned by the active window. Any thread.
void showCodecWarning(const char* text);

} // namespace jpegfile
